// The flower field's data:
// - "flowers.3ds": four cameras with targets around the flower (which stands
//   at the origin, its axis up the 3DS z axis, about 120 units across when
//   open) and the light "Omni03" above it; four frames a second.
// - "flowers.swf": four movie frames a second, as long as the scene (70
//   beats). Layer 1's y opens the flower (0 at the top of the 480-pixel
//   stage: closed; 480: open), breathing on every other beat as it opens
//   and closing again at the end; layers 2 and 3 carry the opacities of
//   views 0 and 1, which cross-fade every sixteen beats while "setCamera"
//   gives the hidden view its next camera; accents fire on the hits.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/DataProduct.h"
#include "swfwriter/SwfAnimation.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kBeatsLong = 70.0;
constexpr double kFramesPerBeat = 4.0 * 60.0 / 108.0;

int frameOfBeat(double beat)
{
    return static_cast<int>(std::lround(beat * kFramesPerBeat));
}

builder3ds::Camera camera(const char* name, float fov)
{
    builder3ds::Camera c;
    c.name = name;
    c.fov = {{0, fov}};
    return c;
}

std::vector<uint8_t> makeField(const datagen::GeneratorOptions&)
{
    const int frames = frameOfBeat(kBeatsLong) + 8;
    builder3ds::SceneBuilder scene(frames);
    builder3ds::Camera orbit = camera("CamOrbit", 50.0f);
    builder3ds::Camera low = camera("CamLow", 55.0f);
    builder3ds::Camera high = camera("CamHigh", 45.0f);
    builder3ds::Camera close = camera("CamClose", 40.0f);
    for (int frame = 0; frame <= frames; frame += 8) {
        const float a = 0.05f * frame;   // radians: a slow turn round the flower
        orbit.position.push_back({frame, {115.0f * std::cos(a), 115.0f * std::sin(a), 55.0f}});
        orbit.target.push_back({frame, {0.0f, 0.0f, 22.0f}});
        low.position.push_back({frame, {-120.0f * std::cos(0.6f * a), -120.0f * std::sin(0.6f * a), 12.0f}});
        low.target.push_back({frame, {0.0f, 0.0f, 25.0f}});
        high.position.push_back({frame, {40.0f * std::sin(a), -70.0f, 150.0f}});
        high.target.push_back({frame, {0.0f, 0.0f, 0.0f}});
        close.position.push_back({frame, {70.0f * std::cos(-a), 70.0f * std::sin(-a), 45.0f + 10.0f * std::sin(a)}});
        close.target.push_back({frame, {0.0f, 0.0f, 8.0f}});
    }
    for (const auto& c : {orbit, low, high, close})
        scene.addCamera(c);
    builder3ds::Light light;
    light.name = "Omni03";
    light.position = {{0, {40.0f, -60.0f, 120.0f}}};
    scene.addLight(light);
    return scene.bytes();
}

// The opening control point: breathing open over the first 48 beats, held,
// then closing over the last ten.
void addOpening(swfwriter::Animation& movie)
{
    swfwriter::AnimationLayer layer;
    layer.depth = 1;
    for (int beat = 0; beat <= 70; beat += 2) {
        double open = beat < 48 ? beat / 48.0 : (beat < 60 ? 1.0 : 1.0 - 0.7 * (beat - 60) / 10.0);
        // Each pair of beats: wider on the hit, a little back after it.
        const double breath = beat % 4 == 0 ? 0.0 : -0.06;
        open = std::clamp(open + breath, 0.0, 1.0);
        layer.keys.push_back({frameOfBeat(beat), {}, std::array<double, 2>{320.0, 480.0 * open}});
    }
    movie.layers.push_back(layer);
}

// Views 0 and 1 take turns: a cross-fade over four beats every sixteen.
void addViews(swfwriter::Animation& movie)
{
    swfwriter::AnimationLayer views[2];
    views[0].depth = 2;
    views[1].depth = 3;
    auto alpha = [](double a) { return std::array<double, 4>{1.0, 1.0, 1.0, a}; };
    views[0].keys.push_back({0, alpha(1.0), {}});
    views[1].keys.push_back({0, alpha(0.0), {}});
    const char* cameras[] = {"CamLow", "CamHigh", "CamClose", "CamOrbit"};
    movie.commands.push_back({0, "setCamera,0,CamOrbit"});
    movie.commands.push_back({0, "setCamera,1,CamLow"});
    for (int turn = 0; turn < 4; ++turn) {
        const int from = turn % 2, to = 1 - from;
        const double begin = 12.0 + 16.0 * turn;
        views[from].keys.push_back({frameOfBeat(begin), alpha(1.0), {}});
        views[from].keys.push_back({frameOfBeat(begin + 4), alpha(0.0), {}});
        views[to].keys.push_back({frameOfBeat(begin), alpha(0.0), {}});
        views[to].keys.push_back({frameOfBeat(begin + 4), alpha(1.0), {}});
        // The view just faded out gets its next camera while unseen.
        if (turn + 1 < 4)
            movie.commands.push_back(
                {frameOfBeat(begin + 6), "setCamera," + std::to_string(from) + "," + cameras[turn + 1]});
    }
    movie.layers.push_back(views[0]);
    movie.layers.push_back(views[1]);
}

std::vector<uint8_t> makeScript(const datagen::GeneratorOptions&)
{
    swfwriter::Animation movie;
    movie.frameRate = 4;
    movie.frames = frameOfBeat(kBeatsLong) + 1;
    addOpening(movie);
    addViews(movie);
    // Accents on the hits that open each new section.
    movie.commands.push_back({frameOfBeat(16), "whiten,0.5,0.4"});
    movie.commands.push_back({frameOfBeat(28), "capture"});
    movie.commands.push_back({frameOfBeat(32), "whiten,0.5,0.4"});
    movie.commands.push_back({frameOfBeat(44), "pull"});
    movie.commands.push_back({frameOfBeat(48), "whiten,0.5,0.4"});
    movie.commands.push_back({frameOfBeat(60), "capture"});
    return swfwriter::writeAnimation(movie);
}

} // namespace

GLINT_DATA_PRODUCT("flowers.3ds", makeField, false);
GLINT_DATA_PRODUCT("flowers.swf", makeScript, false);
