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

// One shot: a camera circling the room's centre (3DS axes, z up) at `turn`
// radians a second, from `azimuth` degrees at the shot's first frame, moving
// from (radius, height) to (endRadius, endHeight) while it looks at the
// logo's centre raised by `lookHeight`.
struct Shot {
    const char* camera;
    int firstBeat, lastBeat;
    float azimuth, turn;
    float radius, endRadius, height, endHeight, lookHeight, fov;
};

constexpr double kPi = 3.14159265358979;
constexpr int kKeySpacing = 5;   // frames

// The logo turns a radian a second and its lettered face looks along azimuth
// 110 degrees at the scene's start; the lights circle at half, one and two
// radians a second. Each shot keeps the logo broad on (never edge on), with
// at least one light's spot, and the logo's shadow in it, on the walls behind.
constexpr Shot kShots[] = {
    {"Camera01", 0, 4, 120, 1.5f, 44, 50, 8, 12, 0, 54},
    {"Camera02", 4, 8, 290, 1.0f, 50, 46, -22, -16, 6, 62},
    {"Camera03", 8, 12, 320, 1.5f, 44, 38, 6, 4, 0, 58},
    {"Camera04", 12, 16, 190, 0.75f, 58, 48, 12, 8, 2, 56},
    {"Camera05", 16, 20, 290, 0.25f, 44, 50, 8, 12, 0, 54},
    {"Camera06", 20, 24, 340, 1.5f, 44, 38, 6, 4, 0, 58},
    {"Camera07", 24, 28, 210, 1.0f, 54, 50, 34, 28, -6, 60},
    {"Camera08", 28, 32, 340, 1.0f, 60, 54, 22, 18, -2, 62},
    {"Camera09", 32, 36, 110, 0.75f, 44, 38, 6, 4, 0, 58},
    {"Camera10", 36, 40, 230, 0.5f, 44, 50, 8, 12, 0, 54},
    {"Camera11", 40, 44, 240, 1.25f, 58, 48, 12, 8, 2, 56},
    {"Camera12", 44, 49, 130, 1.0f, 50, 46, -22, -16, 6, 62},
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
        const double angle = shot.azimuth * kPi / 180.0 + shot.turn * seconds;
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
