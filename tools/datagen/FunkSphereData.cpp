// The funk sphere scene's flight and credits timing:
// - "funksphere.3ds": the camera "Camera01" circling the sphere at the
//   origin, rising and falling as it goes round, its target drifting about
//   the centre; 400 frames at ten per second (the scene wraps at 400);
// - "funksphere.swf": five movie frames per second. Each credit holds one
//   phrase of the music (18 beats, 50 frames): "setName" picks it as its
//   phrase begins, then layer 1 fades it in (alpha) while its ripple calms
//   (blue 0 to 1), holds it, and fades it out as the ripple rises again.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/DataProduct.h"
#include "swfwriter/SwfAnimation.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kFlightFrames = 400;

std::vector<uint8_t> makeFlight(const datagen::GeneratorOptions&)
{
    builder3ds::Camera camera;
    camera.name = "Camera01";
    // Far out among the orbits with a long lens: the sphere keeps its size in
    // the frame while the ribbons that sweep between it and the camera pass
    // close enough to read as broad glowing bands, not hairlines.
    camera.fov = {{0, 17.0f}};
    for (int frame = 0; frame <= kFlightFrames; frame += 20) {
        const float turn = 2.0f * 3.14159265f * frame / kFlightFrames;
        const float radius = 250.0f + 50.0f * std::sin(3.0f * turn);
        camera.position.push_back(
            {frame, {radius * std::cos(2.0f * turn), radius * std::sin(2.0f * turn), 100.0f * std::sin(turn)}});
        camera.target.push_back({frame, {6.0f * std::sin(4.0f * turn), 6.0f * std::cos(3.0f * turn), 0.0f}});
    }
    builder3ds::SceneBuilder scene(kFlightFrames);
    if (!scene.addCamera(camera)) {
        std::fprintf(stderr, "funksphere.3ds: %s\n", scene.error().c_str());
        return {};
    }
    return scene.bytes();
}

constexpr int kPhraseFrames = 50;          // 18 beats at 108 bpm, five frames a second
constexpr int kCredits[] = {0, 2, 3};      // music, code, support

std::vector<uint8_t> makeCreditsTiming(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frameRate = 5;
    swfwriter::AnimationLayer fade;
    fade.depth = 1;
    int start = 0;
    for (int credit : kCredits) {
        movie.commands.push_back({start, "setName," + std::to_string(credit)});
        fade.keys.push_back({start, std::array<double, 4>{1, 1, 0, 0}, std::nullopt});
        fade.keys.push_back({start + 8, std::array<double, 4>{1, 1, 0.5, 0.8}, std::nullopt});
        fade.keys.push_back({start + 16, std::array<double, 4>{1, 1, 1, 1}, std::nullopt});
        fade.keys.push_back({start + 38, std::array<double, 4>{1, 1, 1, 1}, std::nullopt});
        fade.keys.push_back({start + kPhraseFrames - 2, std::array<double, 4>{1, 1, 0, 0}, std::nullopt});
        start += kPhraseFrames;
    }
    movie.layers.push_back(fade);
    movie.frames = start + 10;   // a quiet tail past the scene's end
    return swfwriter::writeAnimation(movie);
}

} // namespace

GLINT_DATA_PRODUCT("funksphere.3ds", makeFlight, false);
GLINT_DATA_PRODUCT("funksphere.swf", makeCreditsTiming, false);
