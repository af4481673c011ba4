// The shadow room's generated data:
// - "k16.jpg": the mark, white boxes on black, stored upside down: the logo
//   lays picture row 0 at the bottom, so the word stands upright in the room;
// - "shadowscene.3ds": twelve cameras inside the 160-unit room (3DS axes, z
//   up), one a shot, each circling the logo at the centre, 10 frames a
//   second for the scene's 49 beats;
// - "shadowscene.swf": "setCamera" cuts to the next one every four beats
//   (10 movie frames a second).
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/DataProduct.h"
#include "datagen/ShadowSceneData.h"
#include "imagewriter/ImageWriter.h"
#include "swfwriter/SwfAnimation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kFrames = 273;                         // 49 beats at 108 per minute, 10 frames a second
constexpr double kFramesPerBeat = 10.0 * 60.0 / 108.0;

std::vector<uint8_t> makeMark(const datagen::GeneratorOptions&)
{
    using namespace datagen;
    std::vector<uint8_t> rgb(shadowMarkWidth * shadowMarkHeight * 3, 0);
    for (int row = 0; row < shadowMarkHeight; ++row) {
        const char* line = shadowMarkRows[shadowMarkHeight - 1 - row];
        for (int column = 0; column < shadowMarkWidth; ++column)
            if (line[column] == '#')
                for (int channel = 0; channel < 3; ++channel)
                    rgb[(row * shadowMarkWidth + column) * 3 + channel] = 255;
    }
    return imagewriter::encodeJpeg(shadowMarkWidth, shadowMarkHeight, rgb, 95);
}

// One shot: a camera circling the room's centre (3DS axes, z up) with the
// logo, keeping `offset` degrees to the side of its lettered face at the
// shot's first frame and gaining `drift` radians a second on it, moving from
// (radius, height) to (endRadius, endHeight) while it looks at the logo's
// centre raised by `lookHeight`.
struct Shot {
    const char* camera;
    int firstBeat, lastBeat;
    float offset, drift;
    float radius, endRadius, height, endHeight, lookHeight, fov;
};

constexpr double kPi = 3.14159265358979;
constexpr int kKeySpacing = 5;   // frames

// The logo turns a radian a second and its lettered face looks along azimuth
// 110 degrees at the scene's start, so a camera turning with it at a radian
// a second keeps the word before it. Every shot starts a little to one side
// of the face and drifts across it, near enough for the word to fill half
// the frame, with the walls and the lights' spots behind.
constexpr double kFaceAzimuth = 110.0;
constexpr double kLogoTurn = 1.0;   // radians a second
constexpr Shot kShots[] = {
    {"Camera01", 0, 4, -25, 0.2f, 46, 40, 6, 10, 0, 54},
    {"Camera02", 4, 8, 20, -0.15f, 40, 34, -8, -4, 2, 56},
    {"Camera03", 8, 12, -15, 0.15f, 36, 42, 12, 8, 0, 58},
    {"Camera04", 12, 16, 30, -0.2f, 50, 42, 4, 6, 1, 56},
    {"Camera05", 16, 20, -30, 0.25f, 40, 46, -6, 0, 0, 54},
    {"Camera06", 20, 24, 10, -0.1f, 34, 30, 4, 2, 0, 60},
    {"Camera07", 24, 28, -20, 0.15f, 48, 44, 20, 14, -2, 58},
    {"Camera08", 28, 32, 25, -0.2f, 44, 40, 14, 10, 0, 58},
    {"Camera09", 32, 36, -10, 0.1f, 38, 34, 4, 4, 0, 58},
    {"Camera10", 36, 40, 20, -0.15f, 46, 50, 8, 12, 0, 54},
    {"Camera11", 40, 44, -25, 0.2f, 52, 44, 10, 6, 1, 56},
    {"Camera12", 44, 49, 15, -0.1f, 44, 40, -10, -4, 2, 60},
};

int frameOfBeat(int beat)
{
    return static_cast<int>(beat * kFramesPerBeat + 0.5);
}

builder3ds::Camera circlingCamera(const Shot& shot)
{
    builder3ds::Camera c;
    c.name = shot.camera;
    const int first = frameOfBeat(shot.firstBeat);
    const int last = frameOfBeat(shot.lastBeat);
    // A key every half second, one beyond each end, so the spline keeps its
    // pace over the whole shot.
    for (int key = std::max(0, first - kKeySpacing); key <= last + kKeySpacing; key += kKeySpacing) {
        const double seconds = (key - first) / 10.0;
        const double along = std::clamp((key - first) / double(last - first), 0.0, 1.0);
        const double shotStart = first / 10.0;
        const double face = kFaceAzimuth * kPi / 180.0 + kLogoTurn * shotStart;
        const double angle = face + shot.offset * kPi / 180.0 + (kLogoTurn + shot.drift) * seconds;
        const double radius = shot.radius + (shot.endRadius - shot.radius) * along;
        const double height = shot.height + (shot.endHeight - shot.height) * along;
        c.position.push_back({key, {float(radius * std::cos(angle)), float(radius * std::sin(angle)), float(height)}});
    }
    c.target = {{0, {0.0f, 0.0f, shot.lookHeight}}};
    c.fov = {{0, shot.fov}};
    return c;
}

std::vector<uint8_t> makeCameras(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder scene(kFrames);
    for (const Shot& shot : kShots)
        if (!scene.addCamera(circlingCamera(shot)))
            std::fprintf(stderr, "shadowscene.3ds: %s\n", scene.error().c_str());
    return scene.bytes();
}

std::vector<uint8_t> makeCuts(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frameRate = 10;
    movie.frames = kFrames;
    for (const Shot& shot : kShots)
        movie.commands.push_back({frameOfBeat(shot.firstBeat), std::string("setCamera,") + shot.camera});
    return swfwriter::writeAnimation(movie);
}

} // namespace

GLINT_DATA_PRODUCT("k16.jpg", makeMark, false);
GLINT_DATA_PRODUCT("shadowscene.3ds", makeCameras, false);
GLINT_DATA_PRODUCT("shadowscene.swf", makeCuts, false);
