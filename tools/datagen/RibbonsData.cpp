// The ribbon tunnel's data:
// - "ribbons.3ds": the camera "Camera01" and its target flying a long
//   winding path over frames 0 to 200, three units a frame (slower past
//   the words), swinging side to side and up and down so the tunnel of
//   ribbons bends ahead;
// - "_text0.jpg" .. "_text5.jpg": the words that stand along the flight,
//   white on black, 512 x 256 (the planes are twice as wide as high), so
//   every light pixel becomes an opaque part of the plane.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"

#include <cmath>
#include <cstdio>

namespace {

using builder3ds::Vec3;

constexpr int kFrames = 200;
constexpr int kKeyEvery = 5;

// Distance flown per frame: three units, slowing to one and a bit while the
// words (frames 50 to 115) go by, so they can be read.
float speed(float f)
{
    const float in = std::fmin(std::fmax((f - 30.0f) / 15.0f, 0.0f), 1.0f);
    const float out = std::fmin(std::fmax((f - 120.0f) / 15.0f, 0.0f), 1.0f);
    return 3.0f - 1.8f * (in - out);
}

// The flight at frame f: forward along y, winding in x and z.
Vec3 flight(float f)
{
    float ahead = 0.0f;
    for (float g = 0.5f; g < f; g += 1.0f)
        ahead += speed(g) * std::fmin(1.0f, f - g + 0.5f);
    return {40.0f * std::sin(f / 23.0f) + 12.0f * std::sin(f / 9.0f), ahead,
            20.0f * std::sin(f / 31.0f + 1.0f) + 6.0f * std::cos(f / 13.0f)};
}

std::vector<uint8_t> makeRibbonsScene(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder builder(kFrames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov = {{0, 60.0f}};
    // Keys past the last frame keep the look-ahead of the final frames.
    for (int f = 0; f <= kFrames + 2 * kKeyEvery; f += kKeyEvery) {
        camera.position.push_back({f, flight(static_cast<float>(f))});
        camera.target.push_back({f, flight(static_cast<float>(f) + 6.0f)});
    }
    if (!builder.addCamera(camera)) {
        std::fprintf(stderr, "ribbons.3ds: %s\n", builder.error().c_str());
        return {};
    }
    return builder.bytes();
}

std::vector<uint8_t> makeWord(const char* word)
{
    constexpr int width = 512, height = 256;
    datagen::TextRenderer text;
    datagen::Canvas canvas(width, height);
    const datagen::TextStyle style{datagen::kSansBold, 92, 6};
    const float size = text.measure(word, style);
    // Long words shrink to fit the plane with a margin.
    const int pixelSize = size > width * 0.9f ? static_cast<int>(92 * width * 0.9f / size) : 92;
    const datagen::TextStyle fitted{datagen::kSansBold, pixelSize, 6};
    canvas.add(text.line(width, height, word, fitted, width / 2.0f, height / 2.0f + pixelSize * 0.36f),
               {1.0f, 1.0f, 1.0f});
    return imagewriter::encodeJpeg(width, height, canvas.rgbBytes(), 92);
}

std::vector<uint8_t> makeText0(const datagen::GeneratorOptions&) { return makeWord("follow"); }
std::vector<uint8_t> makeText1(const datagen::GeneratorOptions&) { return makeWord("the thread"); }
std::vector<uint8_t> makeText2(const datagen::GeneratorOptions&) { return makeWord("through"); }
std::vector<uint8_t> makeText3(const datagen::GeneratorOptions&) { return makeWord("the"); }
std::vector<uint8_t> makeText4(const datagen::GeneratorOptions&) { return makeWord("quiet"); }
std::vector<uint8_t> makeText5(const datagen::GeneratorOptions&) { return makeWord("light"); }

} // namespace

GLINT_DATA_PRODUCT("ribbons.3ds", makeRibbonsScene, false);
GLINT_DATA_PRODUCT("_text0.jpg", makeText0, false);
GLINT_DATA_PRODUCT("_text1.jpg", makeText1, false);
GLINT_DATA_PRODUCT("_text2.jpg", makeText2, false);
GLINT_DATA_PRODUCT("_text3.jpg", makeText3, false);
GLINT_DATA_PRODUCT("_text4.jpg", makeText4, false);
GLINT_DATA_PRODUCT("_text5.jpg", makeText5, false);
