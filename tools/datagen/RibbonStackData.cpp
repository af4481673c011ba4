// The ribbon stack's data:
// - "hribbon.3ds": "Camera01" flying close beside the stack's heads as they
//   advance (3 units a second along x; ten frames a second), and the light "Omni01"
//   riding above and in front of it. The scene turns the stack up the 3DS z
//   axis: ribbon height is z, its depth -y, and the bars stand at y 0..20.
//   While a word is to be read the camera rides with that word's
//   projector, so ribbons and bars near and far carry the word at one size
//   and its letters line up across them.
// - "hribbonscene.swf": eight movie frames per beat; layer 1's colour is the
//   glow's tint (the glow takes its inverse): a low violet, cyan or amber
//   glow, changing every eight beats and flaring on every beat.
// - "title1.png" .. "title3.png": the words projected after the show's title
//   ("title0.png"): cold light on black, 640 x 480, each word drawn into
//   the part of the picture that falls on the stack while the camera rides
//   with its projector. The projector spreads the picture half as wide
//   again as high, so the letters are drawn narrow; only the left half of
//   the picture lands behind the stack's heads, where there are ribbons.
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

// A projected word reads undistorted only from its projector's own centre:
// seen from anywhere else, the ribbons at their different depths carry its
// letters shifted against one another. So the camera rides with each word's
// projector for a moment, and the word is drawn into the part of its
// picture that falls on the stack then.
struct Word {
    const char* text;
    // The scene's projector: its window (seconds), x at time 0, z.
    float start, end, xAtZero, z;
    // The seconds the camera rides with it: while the next word's projector
    // still stands side on (its picture falls faint and long across the
    // whole stack then) and this one's centre stands 9-30 units in front of
    // the stack, a little behind the heads.
    float readFrom, readTo;
    // The word's box in the picture (pixels of 640 x 480): where the stack's
    // middle lies in it then, left of the heads; low enough that the
    // letters keep about their font's width.
    float x0, y0, x1, y1;
};
constexpr Word kWords[] = {
    {"WOVEN", 7.0f, 14.0f, 2.0f, -8.0f, 9.3f, 10.3f, 40, 172, 300, 308},
    {"FROM", 10.0f, 16.0f, 2.0f, -9.0f, 11.3f, 12.3f, 60, 183, 285, 297},
    {"LIGHT", 12.0f, 26.0f, 2.0f, -15.0f, 18.6f, 19.5f, 50, 160, 322, 320},
};
// The projection's picture spans this tangent either side of its axis
// across, and half of it up and down (110 degrees, its height stretched
// twice).
constexpr float kProjectorSpread = 1.4281480f;

// Picture pixels to tangents off the projector's axis (x right, y up).
float acrossOf(float px) { return (2.0f * px / 640.0f - 1.0f) * kProjectorSpread; }
float upOf(float py) { return (0.5f - py / 480.0f) * kProjectorSpread; }

// The camera's fov (vertical degrees) that shows the word's box whole with
// a margin, looking at the box's middle.
float wordFov(const Word& w)
{
    const float half = 0.5f * (std::atan(acrossOf(w.x1)) - std::atan(acrossOf(w.x0)));
    const float across = std::tan(half) * 3.0f / 4.0f, up = upOf(w.y0);
    return 2.0f * std::atan(1.35f * std::fmax(across, up)) * 180.0f / 3.14159f;
}

struct View {
    std::array<float, 3> eye, target;  // stack coordinates: x along, y up, z towards the camera
};

// The projector's centre and a point on the line to the word's middle at
// time t. The scene's projector matrix turns the stack by theta about y and
// then moves it by (xAtZero - 3t, 0, z): its centre is that move undone.
View projectorView(const Word& w, float t)
{
    const float theta = 1.570795f + (t - w.start) * -3.14159f / (w.end - w.start);
    const float c = std::cos(theta), s = std::sin(theta);
    const float tx = w.xAtZero - 3.0f * t, tz = w.z;
    const std::array<float, 3> eye = {-c * tx + s * tz, 0.0f, -s * tx - c * tz};
    // Along the projector's -z, and `across` along its x.
    const float across = std::tan(0.5f * (std::atan(acrossOf(w.x0)) + std::atan(acrossOf(w.x1))));
    const std::array<float, 3> look = {s + across * c, 0.0f, -c + across * s};
    return {eye, {eye[0] + 10.0f * look[0], 0.0f, eye[2] + 10.0f * look[2]}};
}

std::array<float, 3> mixed(float w, const std::array<float, 3>& a, const std::array<float, 3>& b)
{
    return {a[0] + w * (b[0] - a[0]), a[1] + w * (b[1] - a[1]), a[2] + w * (b[2] - a[2])};
}

// The scene stands the stack up the 3DS z axis: stack height is 3DS z, and
// the stack's z is the 3DS -y.
builder3ds::Vec3 to3ds(const std::array<float, 3>& v) { return {v[0], -v[2], v[1]}; }

std::vector<uint8_t> makeStack(const datagen::GeneratorOptions&)
{
    const int frames = static_cast<int>(std::ceil(kSceneSeconds * kFramesPerSecond)) + 20;
    builder3ds::SceneBuilder scene(frames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov.clear();
    builder3ds::Light light;
    light.name = "Omni01";
    for (int frame = 0; frame <= frames; ++frame) {
        const float t = static_cast<float>(frame) / kFramesPerSecond;
        // The heads sit near x = 3t; the camera keeps close to them, a little
        // behind and 14 units in front of the stack, swaying, and rides with
        // each word's projector while that word is to be read.
        const float x = 3.0f * t;
        View view{{x - 6.0f + 1.5f * std::sin(0.25f * t), 0.5f + 1.5f * std::sin(0.31f * t), 14.0f}, {x - 7.0f, 0.0f, 0.0f}};
        // Wide enough while riding that the whole word is in view; no wider
        // otherwise, so the ribbons keep most of the bars behind them hidden.
        float fov = 50.0f;
        for (const Word& word : kWords) {
            const float w = window(t, word.readFrom, word.readTo);
            const View ride = projectorView(word, t);
            view = {mixed(w, view.eye, ride.eye), mixed(w, view.target, ride.target)};
            fov += w * (wordFov(word) - fov);
        }
        camera.position.push_back({frame, to3ds(view.eye)});
        camera.target.push_back({frame, to3ds(view.target)});
        camera.fov.push_back({frame, fov});
        if (frame % 5 == 0) {
            // The scene places the light through its own turned view, so this
            // is in stack coordinates: ahead of the heads, above and in front.
            light.position.push_back({frame, {x + 30.0f, 15.0f, 25.0f}});
        }
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

// The word in the picture's box (x0, y0)-(x1, y1), in pixels: bold, in a
// cold light with little red and a faint halo, so that added (at the
// scene's title gain) to a red bar or a tinted glow it stays off white.
std::vector<uint8_t> makeWord(const char* word, float x0, float y0, float x1, float y1)
{
    datagen::TextRenderer text;
    datagen::Canvas canvas(640, 480);
    const datagen::Mask large = text.line(1600, 480, word, {datagen::kSansBold, 300, 24}, 800.0f, 380.0f);
    const datagen::Mask shape = fitted(large, x0, y0, x1, y1);
    canvas.add(datagen::blurred(shape, 6), {0.3f, 0.5f, 0.8f}, 0.3f);
    canvas.cover(shape, {0.5f, 0.88f, 1.0f});
    return canvas.png();
}

std::vector<uint8_t> makeWord(const Word& w) { return makeWord(w.text, w.x0, w.y0, w.x1, w.y1); }
std::vector<uint8_t> makeTitle1(const datagen::GeneratorOptions&) { return makeWord(kWords[0]); }
std::vector<uint8_t> makeTitle2(const datagen::GeneratorOptions&) { return makeWord(kWords[1]); }
std::vector<uint8_t> makeTitle3(const datagen::GeneratorOptions&) { return makeWord(kWords[2]); }

} // namespace

GLINT_DATA_PRODUCT("hribbon.3ds", makeStack, false);
GLINT_DATA_PRODUCT("hribbonscene.swf", makeTint, false);
GLINT_DATA_PRODUCT("title1.png", makeTitle1, false);
GLINT_DATA_PRODUCT("title2.png", makeTitle2, false);
GLINT_DATA_PRODUCT("title3.png", makeTitle3, false);
