// The metaball cloud's data (its shape picture "k32b.jpg" is made with the
// other shape pictures in ShapePictures.cpp):
// - "volume.3ds": the camera "Camera01" with its target at the cloud's
//   centre, circling it once over frames 0-100 while rising and sinking.
// - "alphametaballs.swf": two movie frames per beat over the scene's 48
//   beats. Its commands pick the camera on the music's phrases, morph the
//   cloud into the letter on the strongest hits (the drop at beat 32 and the
//   turn at beat 40, both seen from the front: seen from a corner the
//   extruded letter does not read) and fire accents; layer 1's alpha
//   darkens the frame through the last bar.
#include "datagen/DataProduct.h"
#include "3dsbuilder/SceneBuilder.h"
#include "swfwriter/SwfAnimation.h"

#include <cmath>
#include <cstdio>

namespace {

// 3DS space has z up; the cloud sits at the origin, 20 units to a side.
std::vector<uint8_t> makeCameraModel(const datagen::GeneratorOptions&)
{
    constexpr int frames = 100;
    builder3ds::SceneBuilder scene(frames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    for (int f = 0; f <= frames; f += 10) {
        const float angle = 2.0f * 3.14159265f * f / frames;
        const float radius = 27.0f + 5.0f * std::cos(2.0f * angle);
        camera.position.push_back({f, {radius * std::cos(angle), radius * std::sin(angle), 9.0f * std::sin(angle)}});
    }
    camera.target = {{0, {0.0f, 0.0f, 0.0f}}};
    camera.fov = {{0, 55.0f}};
    if (!scene.addCamera(camera))
        std::fprintf(stderr, "volume.3ds: %s\n", scene.error().c_str());
    return scene.bytes();
}

swfwriter::AnimationKey fadeKey(int frame, double alpha)
{
    swfwriter::AnimationKey key;
    key.frame = frame;
    key.colour = std::array<double, 4>{0.0, 0.0, 0.0, alpha};
    return key;
}

std::vector<uint8_t> makeScript(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frames = 97;   // beats 0-48, two frames a beat
    swfwriter::AnimationLayer fade;
    fade.depth = 1;
    fade.keys = {fadeKey(0, 0.0), fadeKey(88, 0.0), fadeKey(96, 0.99)};
    movie.layers.push_back(fade);
    // Frame = 2 x beat. Chords change every eight beats; the drums drop in
    // at beat 32 and build from beat 44.
    movie.commands = {
        {0, "setCamera,slideForward"},
        {7, "setCamera,upperCorner"},   {7, "capture,0.6,0.4"},
        {16, "setCamera,Camera01"},
        {32, "setCamera,lowerCorner"},  {32, "capture,0.6,0.4"},
        {48, "setCamera,Camera01"},
        {64, "setCamera,lastCamera"},   {64, "doK,1.2"},  {64, "whiten,0.8,0.3"},
        {72, "setCamera,slideBack"},    {72, "jitter,120,0.4"},
        {80, "setCamera,lastCamera"},   {80, "doK,0.8"},
        {88, "setCamera,upperCorner"},  {88, "pull,1.0,1.5"},
    };
    return swfwriter::writeAnimation(movie);
}

} // namespace

GLINT_DATA_PRODUCT("volume.3ds", makeCameraModel, false);
GLINT_DATA_PRODUCT("alphametaballs.swf", makeScript, false);
