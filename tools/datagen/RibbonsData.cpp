// The ribbon tunnel's data:
// - "ribbons.3ds": the camera "Camera01" and its target flying a long
//   winding path over frames 0 to 200, three units a frame, swinging side
//   to side and up and down so the tunnel of ribbons bends ahead; among the
//   words it waits in front of each one and darts on through it;
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
constexpr int kKeyEvery = 1;

// The frames at which the scene stands its word planes where the camera is,
// facing the way it looks, and the frames from which the camera waits for
// each word (the last wait ends at the last entry).
constexpr int kWords = 6;
constexpr float kWordFrames[kWords] = {50, 70, 90, 100, 110, 115};
constexpr float kWaitFrom[kWords + 1] = {31, 60, 80, 95, 105, 113, 125};
// While it waits for a word the camera hangs back this far from its plane,
// creeping a little closer, so the word stands whole in the picture long
// enough to be read. At the plane's own frame it lunges to the plane and
// back within two frames; between two waits it darts through the plane it
// has read to the next one. Planes lie 30 units apart along the flight.
constexpr float kReadingDistance = 10.0f;
constexpr float kCreep = 1.5f;
constexpr float kPlaneSpacing = 30.0f;
constexpr float kCruise = 3.0f;   // units a frame away from the words

// Distance flown along the flight by frame f.
float along(float f)
{
    if (f <= kWaitFrom[0])
        return kCruise * f;
    float plane = kCruise * kWaitFrom[0] + kReadingDistance + kCreep;
    for (int k = 0; k < kWords; ++k) {
        const float from = kWaitFrom[k], to = kWaitFrom[k + 1] - 1.0f;
        auto waiting = [&](float g) { return plane - kReadingDistance - kCreep * (to - g) / (to - from); };
        if (f <= to) {
            const float lunge = std::fmax(0.0f, 1.0f - std::fabs(f - kWordFrames[k]));
            return waiting(f) + lunge * (plane - waiting(kWordFrames[k]));
        }
        const float next = plane + kPlaneSpacing;
        if (k == kWords - 1)
            return waiting(to) + kCruise * (f - to);
        if (f <= to + 1.0f)
            return waiting(to) + (f - to) * (next - kReadingDistance - kCreep - waiting(to));
        plane = next;
    }
    return plane;
}

// The word the camera waits for at frame f, or -1.
int waitingFor(float f)
{
    for (int k = 0; k < kWords; ++k)
        if (f >= kWaitFrom[k] && f <= kWaitFrom[k + 1] - 1.0f)
            return k;
    return -1;
}

// The flight at distance u along it: forward along y, winding in x and z.
Vec3 flight(float u)
{
    return {40.0f * std::sin(u / 69.0f) + 12.0f * std::sin(u / 27.0f), u,
            20.0f * std::sin(u / 93.0f + 1.0f) + 6.0f * std::cos(u / 39.0f)};
}

std::vector<uint8_t> makeRibbonsScene(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder builder(kFrames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov = {{0, 60.0f}};
    // Keys past the last frame keep the look-ahead of the final frames.
    for (int f = 0; f <= kFrames + 2 * kKeyEvery; f += kKeyEvery) {
        const float u = along(static_cast<float>(f));
        Vec3 at = flight(u), ahead = flight(u + 18.0f);
        const int word = waitingFor(static_cast<float>(f));
        if (word >= 0) {
            // On the line the plane faces along, or its layers, stacked
            // along that line, smear sideways.
            const float plane = along(kWordFrames[word]);
            const Vec3 p = flight(plane), q = flight(plane + 18.0f);
            const float back = (plane - u) / 18.0f;
            for (int i = 0; i < 3; ++i) {
                at[i] = p[i] - (q[i] - p[i]) * back;
                ahead[i] = at[i] + q[i] - p[i];
            }
        }
        camera.position.push_back({f, at});
        camera.target.push_back({f, ahead});
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
