// The ribbon tunnel's data:
// - "ribbons.3ds": the camera "Camera01" flying a long winding path over
//   frames 0 to 200 at an even speed, never stopping (the ribbons circle the
//   camera's path point by point, so wherever it dawdled they would pile up
//   into a white knot). From some way before the first word it flies
//   straight legs, one from each word to the next, turning a little as it
//   passes a word, so the next word stands beside the one being read rather
//   than behind its letters; on each leg it looks at the word ahead, so the
//   word stays in the middle of the picture as it grows;
// - "_text0.jpg" .. "_text5.jpg": the words that stand along the flight,
//   white on black, 512 x 256 (the planes are twice as wide as high), so
//   every light pixel becomes an opaque part of the plane. The word fills
//   the upper part of its picture: the camera passes through the middle of
//   the plane, under the letters, rather than through a letter that would
//   fill the frame with white.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

using builder3ds::Vec3;

constexpr int kFrames = 200;
constexpr float kSpeed = 2.4f;         // units a frame, all the way
constexpr float kLensDegrees = 46.0f;  // vertical; a word reads from 12 to 30 units away

// The frames at which the scene stands its word planes where the camera is,
// facing the way it looks.
constexpr int kWords = 6;
constexpr int kWordFrames[kWords] = {50, 70, 90, 100, 110, 115};
// The turn (about the vertical, then up or down) from each leg to the next
// as the camera passes a word: "the" right of "through", "quiet" right of
// "the", "light" under "quiet".
constexpr float kTurns[kWords][2] = {{0.45f, 0.1f}, {-0.5f, 0.0f}, {0.45f, 0.0f},
                                     {0.45f, 0.0f}, {0.0f, -0.22f}, {0.0f, 0.0f}};
constexpr float kFirstLeg = 34.0f;      // straight flight before the first word
constexpr float kEase = 10.0f;          // units over which the flight eases into and out of the legs
constexpr float kTurnBefore = 1.0f, kTurnAfter = 5.0f;
// The middle of the letters above the middle of their plane, in units.
constexpr float kWordRise = 1.1f;

float smooth(float x)
{
    x = std::clamp(x, 0.0f, 1.0f);
    return x * x * (3.0f - 2.0f * x);
}

float wordAt(int k) { return kSpeed * static_cast<float>(kWordFrames[k]); }

// Heading (turn about the vertical and climb, radians) at u units along the
// flight: winding freely, or held on the legs among the words.
std::array<float, 2> heading(float u)
{
    std::array<float, 2> free{0.5f * std::sin(u / 50.0f) + 0.25f * std::sin(u / 23.0f),
                              0.2f * std::sin(u / 37.0f + 1.0f)};
    const float legsFrom = wordAt(0) - kFirstLeg, legsTo = wordAt(kWords - 1) + kTurnAfter;
    const float held = smooth((u - (legsFrom - kEase)) / kEase) * (1.0f - smooth((u - legsTo) / kEase));
    if (held <= 0.0f)
        return free;
    const float from[2] = {0.5f * std::sin(legsFrom / 50.0f) + 0.25f * std::sin(legsFrom / 23.0f),
                           0.2f * std::sin(legsFrom / 37.0f + 1.0f)};
    std::array<float, 2> leg{from[0], from[1]};
    for (int k = 0; k < kWords; ++k) {
        const float turned = smooth((u - (wordAt(k) - kTurnBefore)) / (kTurnBefore + kTurnAfter));
        leg[0] += turned * kTurns[k][0];
        leg[1] += turned * kTurns[k][1];
    }
    return {free[0] + held * (leg[0] - free[0]), free[1] + held * (leg[1] - free[1])};
}

Vec3 direction(const std::array<float, 2>& h)
{
    return {std::sin(h[0]) * std::cos(h[1]), std::cos(h[0]) * std::cos(h[1]), std::sin(h[1])};
}

Vec3 add(const Vec3& a, const Vec3& b, float s) { return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]}; }

Vec3 normalised(const Vec3& v)
{
    const float n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return n > 0.0f ? Vec3{v[0] / n, v[1] / n, v[2] / n} : v;
}

// How much the camera looks at the word ahead rather than along its way:
// fully on a leg, easing off just after a word and just before the next,
// so that at a word's own frame it looks straight along the leg.
float aimAt(float u, int next)
{
    const float ahead = wordAt(next) - u;
    const float since = next > 0 ? u - wordAt(next - 1) : kFirstLeg + kEase - ahead;
    return smooth((ahead - 4.0f) / 6.0f) * smooth((since - 2.0f) / 6.0f);
}

// The middle of word k's letters, above the middle of its plane, given the
// camera's places frame by frame.
Vec3 wordMiddle(const std::vector<Vec3>& at, int k)
{
    const Vec3 d = direction(heading(wordAt(k)));
    const Vec3 side = normalised({d[1], -d[0], 0.0f});
    const Vec3 up{side[1] * d[2] - side[2] * d[1], side[2] * d[0] - side[0] * d[2], side[0] * d[1] - side[1] * d[0]};
    return add(at[kWordFrames[k]], up, kWordRise);
}

std::vector<uint8_t> makeRibbonsScene(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder builder(kFrames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov = {{0, kLensDegrees}};
    // The flight is summed in small steps; keys every frame, and past the
    // last frame so the final frames keep their look.
    constexpr int kKeys = kFrames + 3, kSteps = 20;
    std::vector<Vec3> at(kKeys);
    for (int f = 0; f + 1 < kKeys; ++f) {
        at[f + 1] = at[f];
        for (int i = 0; i < kSteps; ++i)
            at[f + 1] = add(at[f + 1], direction(heading(kSpeed * (f + (i + 0.5f) / kSteps))), kSpeed / kSteps);
    }
    for (int f = 0; f < kKeys; ++f) {
        const float u = kSpeed * static_cast<float>(f);
        Vec3 look = direction(heading(u));
        const int next = static_cast<int>(std::upper_bound(kWordFrames, kWordFrames + kWords, f) - kWordFrames);
        if (next < kWords) {
            // Where the next word is close behind, between the two, which
            // then read as two lines.
            const bool pair = next + 1 < kWords && kWordFrames[next + 1] - kWordFrames[next] <= 5;
            Vec3 word = wordMiddle(at, next);
            if (pair)
                word = add(add(word, word, -0.5f), wordMiddle(at, next + 1), 0.5f);
            const Vec3 toWord = normalised(add(word, at[f], -1.0f));
            const float a = aimAt(u, next);
            look = normalised(add(add(look, look, -a), toWord, a));
        }
        camera.position.push_back({f, at[f]});
        camera.target.push_back({f, add(at[f], look, 18.0f)});
    }
    if (!builder.addCamera(camera)) {
        std::fprintf(stderr, "ribbons.3ds: %s\n", builder.error().c_str());
        return {};
    }
    return builder.bytes();
}

// A word as large as fits in the upper part of its picture with a margin
// all round: the picture is cut at its edges, and the frame's pull towards
// its middle smears whatever reaches out to the sides.
std::vector<uint8_t> makeWord(const char* word)
{
    constexpr int width = 512, height = 256;
    constexpr int largest = 84;
    datagen::TextRenderer text;
    datagen::Canvas canvas(width, height);
    const float size = text.measure(word, {datagen::kSansBold, largest, 6});
    const int pixelSize = std::min(largest, static_cast<int>(largest * width * 0.86f / size));
    const datagen::TextStyle fitted{datagen::kSansBold, pixelSize, 6};
    const float middle = height / 2.0f - kWordRise * height / 4.0f;
    canvas.add(text.line(width, height, word, fitted, width / 2.0f, middle + pixelSize * 0.36f), {1.0f, 1.0f, 1.0f});
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
