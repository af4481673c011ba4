// The ribbon stack's data:
// - "hribbon.3ds": "Camera01" flying close beside the stack's heads as they
//   advance (3 units a second along x; ten frames a second), and the light "Omni01"
//   riding above and in front of it. The scene turns the stack up the 3DS z
//   axis: ribbon height is z, its depth -y, and the bars stand at y 0..20.
//   While a word is thrown onto the stack the camera stands about as far
//   from the stack as that word's projector, so ribbons near and far carry
//   the word at one size and its letters line up across them.
// - "hribbonscene.swf": eight movie frames per beat; layer 1's colour is the
//   glow's tint (the glow takes its inverse): a low violet, cyan or amber
//   glow, changing every eight beats and flaring on every beat.
// - "title1.png" .. "title3.png": the words projected after the show's title
//   ("title0.png"): glowing light on black, 640 x 480, each word drawn into
//   the part of the picture that falls on the ribbons while its projector
//   faces them. The projector spreads the picture half as wide again as
//   high, so the letters are drawn narrow; only the left half of the
//   picture lands behind the stack's heads, where there are ribbons.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "swfwriter/SwfAnimation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kSceneSeconds = 56.0f * 60.0f / 108.0f;
constexpr int kFramesPerSecond = 10;

// 1 inside [from, to], easing to 0 over a second either side.
float window(float t, float from, float to)
{
    const float in = std::fmin(std::fmax(t - from + 1.0f, 0.0f), 1.0f);
    const float out = std::fmin(std::fmax(to + 1.0f - t, 0.0f), 1.0f);
    const float w = std::fmin(in, out);
    return w * w * (3.0f - 2.0f * w);
}

std::vector<uint8_t> makeStack(const datagen::GeneratorOptions&)
{
    const int frames = static_cast<int>(std::ceil(kSceneSeconds * kFramesPerSecond)) + 20;
    builder3ds::SceneBuilder scene(frames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    // No wider: the ribbons must keep most of the bars behind them hidden.
    camera.fov = {{0, 50.0f}};
    builder3ds::Light light;
    light.name = "Omni01";
    for (int frame = 0; frame <= frames; frame += 5) {
        const float t = static_cast<float>(frame) / kFramesPerSecond;
        // The heads sit near x = 3t; the camera keeps close to them, a little
        // behind, where the words land. Its distance from the stack follows
        // the projector of the word being shown (WOVEN and FROM from 8 and 9
        // units, LIGHT from 15), easing between them.
        const float x = 3.0f * t;
        const float depth = 14.0f - 2.0f * window(t, 6.5f, 13.0f) + 2.0f * window(t, 13.5f, 20.5f);
        camera.position.push_back({frame, {x - 6.0f + 1.5f * std::sin(0.25f * t), -depth, 0.5f + 1.5f * std::sin(0.31f * t)}});
        camera.target.push_back({frame, {x - 7.0f, 0.0f, 0.0f}});
        // The scene places the light through its own turned view, so this
        // is in stack coordinates: ahead of the heads, above and in front.
        light.position.push_back({frame, {x + 30.0f, 15.0f, 25.0f}});
    }
    scene.addCamera(camera);
    scene.addLight(light);
    return scene.bytes();
}

std::vector<uint8_t> makeTint(const datagen::GeneratorOptions&)
{
    // The glow takes the tint's inverse: these are the glows, violet, cyan
    // and amber, kept low so the ribbons keep their sheen and the words
    // thrown onto them are not washed out in white.
    const std::array<std::array<double, 3>, 3> glows = {{{0.16, 0.04, 0.22}, {0.03, 0.16, 0.22}, {0.22, 0.14, 0.02}}};
    swfwriter::Animation movie;
    movie.frameRate = 8.0 * 108.0 / 60.0;
    swfwriter::AnimationLayer tint;
    tint.depth = 1;
    for (int beat = 0; beat <= 56; ++beat) {
        const auto& glow = glows[static_cast<size_t>(beat / 8) % glows.size()];
        // The beat itself: the glow flares to twice its strength.
        tint.keys.push_back({8 * beat, std::array<double, 4>{1.0 - 2.0 * glow[0], 1.0 - 2.0 * glow[1], 1.0 - 2.0 * glow[2], 1.0}, {}});
        tint.keys.push_back({8 * beat + 6, std::array<double, 4>{1.0 - glow[0], 1.0 - glow[1], 1.0 - glow[2], 1.0}, {}});
    }
    movie.layers.push_back(tint);
    return swfwriter::writeAnimation(movie);
}

// The text's inked box, resampled into the box (x0, y0)-(x1, y1) of a mask
// the same size: a word set large and drawn narrower than its font.
datagen::Mask fitted(const datagen::Mask& text, float x0, float y0, float x1, float y1)
{
    int left = text.width, right = -1, top = text.height, bottom = -1;
    for (int y = 0; y < text.height; ++y)
        for (int x = 0; x < text.width; ++x)
            if (text.at(x, y) > 0.0f) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    datagen::Mask out(text.width, text.height);
    if (right < left)
        return out;
    const float sx = (right + 1.0f - left) / (x1 - x0), sy = (bottom + 1.0f - top) / (y1 - y0);
    for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y)
        for (int x = static_cast<int>(x0); x < static_cast<int>(x1); ++x) {
            // Average the source pixels this pixel covers (it shrinks them).
            const float fx = left + (x - x0) * sx, fy = top + (y - y0) * sy;
            float sum = 0.0f;
            int count = 0;
            for (int v = static_cast<int>(fy); v < static_cast<int>(std::ceil(fy + sy)) && v <= bottom; ++v)
                for (int u = static_cast<int>(fx); u < static_cast<int>(std::ceil(fx + sx)) && u <= right; ++u)
                    sum += text.at(u, v), ++count;
            out.at(x, y) = count > 0 ? sum / static_cast<float>(count) : 0.0f;
        }
    return out;
}

// The word in the picture's box (x0, y0)-(x1, y1), in pixels.
std::vector<uint8_t> makeWord(const char* word, float x0, float y0, float x1, float y1)
{
    datagen::TextRenderer text;
    datagen::Canvas canvas(640, 480);
    const datagen::Mask large = text.line(1600, 480, word, {datagen::kSansBold, 300, 24}, 800.0f, 380.0f);
    const datagen::Mask shape = fitted(large, x0, y0, x1, y1);
    canvas.add(datagen::blurred(shape, 10), {0.55f, 0.8f, 1.0f}, 0.6f);
    canvas.add(shape, {1.0f, 1.0f, 1.0f});
    return canvas.png();
}

// The words share the projection's left half; the first two, shown
// together for a second, stand one over the other.
std::vector<uint8_t> makeTitle1(const datagen::GeneratorOptions&) { return makeWord("WOVEN", 60, 70, 330, 230); }
std::vector<uint8_t> makeTitle2(const datagen::GeneratorOptions&) { return makeWord("FROM", 80, 260, 330, 410); }
std::vector<uint8_t> makeTitle3(const datagen::GeneratorOptions&) { return makeWord("LIGHT", 40, 150, 330, 330); }

} // namespace

GLINT_DATA_PRODUCT("hribbon.3ds", makeStack, false);
GLINT_DATA_PRODUCT("hribbonscene.swf", makeTint, false);
GLINT_DATA_PRODUCT("title1.png", makeTitle1, false);
GLINT_DATA_PRODUCT("title2.png", makeTitle2, false);
GLINT_DATA_PRODUCT("title3.png", makeTitle3, false);
