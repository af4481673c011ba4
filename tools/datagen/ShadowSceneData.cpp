// The shadow room's generated data:
// - "k16.jpg": the mark, white boxes on black, stored upside down: the logo
//   lays picture row 0 at the bottom, so the word stands upright in the room;
// - "shadowscene.3ds": five cameras inside the 160-unit room (3DS axes, z
//   up), each drifting slowly around the logo at the centre, 10 frames a
//   second for the scene's 49 beats;
// - "shadowscene.swf": "setCamera" cuts between them every eight beats, on
//   the music's phrases (10 movie frames a second).
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/DataProduct.h"
#include "datagen/ShadowSceneData.h"
#include "imagewriter/ImageWriter.h"
#include "swfwriter/SwfAnimation.h"

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

builder3ds::Camera camera(const char* name, builder3ds::Vec3 from, builder3ds::Vec3 to, builder3ds::Vec3 target,
                          float fov)
{
    builder3ds::Camera c;
    c.name = name;
    c.position = {{0, from}, {kFrames, to}};
    c.target = {{0, target}};
    c.fov = {{0, fov}};
    return c;
}

std::vector<uint8_t> makeCameras(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder scene(kFrames);
    const builder3ds::Camera cameras[] = {
        // In front, a little above the logo, moving in.
        camera("Camera01", {-8, -54, 14}, {6, -38, 8}, {0, 0, 0}, 60),
        // Low at the left wall, looking up past the logo at the ceiling.
        camera("Camera02", {-52, -28, -26}, {-46, 10, -30}, {0, 0, 6}, 64),
        // High in a corner, looking down on the floor's shadows.
        camera("Camera03", {46, -46, 46}, {30, -52, 50}, {0, 0, -12}, 62),
        // Close, sweeping past the logo's side.
        camera("Camera04", {32, -24, 4}, {22, 30, -4}, {0, 0, 0}, 58),
        // From behind, wide, the back wall over the shoulder.
        camera("Camera05", {-18, 56, 20}, {20, 52, 16}, {0, 0, -4}, 66),
    };
    for (const builder3ds::Camera& c : cameras)
        if (!scene.addCamera(c))
            std::fprintf(stderr, "shadowscene.3ds: %s\n", scene.error().c_str());
    return scene.bytes();
}

std::vector<uint8_t> makeCuts(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frameRate = 10;
    movie.frames = kFrames;
    const char* order[] = {"Camera01", "Camera02", "Camera03", "Camera04", "Camera05", "Camera01", "Camera03"};
    for (int phrase = 0; phrase < 7; ++phrase) {
        const int frame = static_cast<int>(phrase * 8 * kFramesPerBeat + 0.5);
        movie.commands.push_back({frame, std::string("setCamera,") + order[phrase]});
    }
    return swfwriter::writeAnimation(movie);
}

} // namespace

GLINT_DATA_PRODUCT("k16.jpg", makeMark, false);
GLINT_DATA_PRODUCT("shadowscene.3ds", makeCameras, false);
GLINT_DATA_PRODUCT("shadowscene.swf", makeCuts, false);
