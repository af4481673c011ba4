// The ribbon stack's data:
// - "hribbon.3ds": "Camera01" flying close beside the stack's heads as they
//   advance (3 units a second along x; ten frames a second), and the light "Omni01"
//   riding above and in front of it. The scene turns the stack up the 3DS z
//   axis: ribbon height is z, its depth -y, and the bars stand at y 0..20.
// - "hribbonscene.swf": eight movie frames per beat; layer 1's colour is the
//   glow's tint (the glow takes its inverse): a low violet, cyan or amber
//   glow, changing every eight beats and flaring on every beat.
// - "title1.png" .. "title3.png": the words projected after the show's title
//   ("title0.png"), set like it: glowing light on black, 640 x 480.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "swfwriter/SwfAnimation.h"

#include <cmath>

namespace {

constexpr float kSceneSeconds = 56.0f * 60.0f / 108.0f;
constexpr int kFramesPerSecond = 10;

std::vector<uint8_t> makeStack(const datagen::GeneratorOptions&)
{
    const int frames = static_cast<int>(std::ceil(kSceneSeconds * kFramesPerSecond)) + 20;
    builder3ds::SceneBuilder scene(frames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov = {{0, 50.0f}};
    builder3ds::Light light;
    light.name = "Omni01";
    for (int frame = 0; frame <= frames; frame += 20) {
        const float t = static_cast<float>(frame) / kFramesPerSecond;
        // The heads sit near x = 3t; the camera keeps close to them, so the
        // stack fills most of the picture and the words thrown onto the
        // heads read at a third to a half of its width.
        const float x = 3.0f * t;
        camera.position.push_back({frame, {x - 4.0f + 3.0f * std::sin(0.25f * t), -17.0f - 2.0f * std::cos(0.2f * t),
                                           1.5f + 3.0f * std::sin(0.31f * t)}});
        camera.target.push_back({frame, {x - 3.0f, 0.0f, -0.5f + 0.5f * std::sin(0.4f * t)}});
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
    const std::array<std::array<double, 3>, 3> glows = {{{0.3, 0.08, 0.4}, {0.06, 0.3, 0.4}, {0.4, 0.26, 0.04}}};
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

std::vector<uint8_t> makeWord(const char* word)
{
    datagen::TextRenderer text;
    datagen::Canvas canvas(640, 480);
    const datagen::Mask shape = text.line(640, 480, word, {datagen::kSansBold, 110, 16}, 320.0f, 280.0f);
    canvas.add(datagen::blurred(shape, 16), {0.55f, 0.8f, 1.0f}, 0.9f);
    canvas.add(datagen::blurred(shape, 4), {0.55f, 0.8f, 1.0f}, 0.8f);
    canvas.add(shape, {1.0f, 1.0f, 1.0f});
    return canvas.png();
}

std::vector<uint8_t> makeTitle1(const datagen::GeneratorOptions&) { return makeWord("WOVEN"); }
std::vector<uint8_t> makeTitle2(const datagen::GeneratorOptions&) { return makeWord("FROM"); }
std::vector<uint8_t> makeTitle3(const datagen::GeneratorOptions&) { return makeWord("LIGHT"); }

} // namespace

GLINT_DATA_PRODUCT("hribbon.3ds", makeStack, false);
GLINT_DATA_PRODUCT("hribbonscene.swf", makeTint, false);
GLINT_DATA_PRODUCT("title1.png", makeTitle1, false);
GLINT_DATA_PRODUCT("title2.png", makeTitle2, false);
GLINT_DATA_PRODUCT("title3.png", makeTitle3, false);
