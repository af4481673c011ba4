// The abstract flowers' data:
// - "aflowers.3ds": the camera "Camera01" and its target on a closed flight
//   over frames 0 to 200 (frame 200 is frame 0 again, so the flight loops
//   without a cut), circling the spiral of flowers (radius 20 about the z
//   axis, heights 0 to 60) while swinging in and out, up and down. It keeps
//   69 to 121 units from the axis: the open flowers overlap their
//   neighbours, and seen from closer their stacked petals fill a tenth of
//   the frame with white as the scene ends;
//   and the object "Ribbon", whose position over frames 0 to 210 runs 15/16
//   of a tilted circle around the flowers, so sixteen samples of it lie
//   evenly round the whole circle;
// - "fear.jpg": the picture projected onto the petals, 512 x 512: a stark
//   eye of hard rings and rays with the word across it, warm light on
//   black, so it reads through the translucent petals.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"

#include <cmath>
#include <cstdio>

namespace {

using builder3ds::Vec3;

constexpr float kTwoPi = 6.2831853f;
constexpr int kFlightFrames = 200;
constexpr int kRibbonFrames = 210;

Vec3 cameraAt(float f)
{
    const float turn = kTwoPi * f / kFlightFrames;
    const float radius = 95.0f + 26.0f * std::cos(2.0f * turn);
    const float height = 30.0f + 28.0f * std::sin(turn + 0.6f);
    return {radius * std::cos(turn), radius * std::sin(turn), height};
}

Vec3 targetAt(float f)
{
    const float turn = kTwoPi * f / kFlightFrames;
    return {6.0f * std::cos(3.0f * turn), 6.0f * std::sin(3.0f * turn), 30.0f + 18.0f * std::sin(2.0f * turn)};
}

Vec3 ribbonAt(float f)
{
    const float turn = kTwoPi * (15.0f / 16.0f) * f / kRibbonFrames;
    return {42.0f * std::cos(turn), 42.0f * std::sin(turn), 30.0f + 12.0f * std::sin(turn)};
}

std::vector<uint8_t> makeAflowersScene(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder builder(kRibbonFrames);
    builder3ds::Camera camera;
    camera.name = "Camera01";
    camera.fov = {{0, 55.0f}};
    for (int f = 0; f <= kFlightFrames; f += 10) {
        camera.position.push_back({f, cameraAt(static_cast<float>(f))});
        camera.target.push_back({f, targetAt(static_cast<float>(f))});
    }
    builder3ds::Object ribbon;
    ribbon.name = "Ribbon";
    ribbon.mesh = builder3ds::boxMesh({0.5f, 0.5f, 0.5f});
    for (int f = 0; f <= kRibbonFrames; f += 7)
        ribbon.position.push_back({f, ribbonAt(static_cast<float>(f))});
    if (!builder.addCamera(camera) || !builder.addObject(ribbon)) {
        std::fprintf(stderr, "aflowers.3ds: %s\n", builder.error().c_str());
        return {};
    }
    return builder.bytes();
}

std::vector<uint8_t> makeFear(const datagen::GeneratorOptions&)
{
    constexpr int size = 512;
    constexpr float centre = size / 2.0f;
    datagen::Mask rays(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = x - centre, dy = y - centre;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float wave = std::sin(std::atan2(dy, dx) * 12.0f);
            rays.at(x, y) = r > 150.0f && r < 250.0f && wave > 0.3f ? 1.0f : 0.0f;
        }
    datagen::Canvas canvas(size, size);
    canvas.add(rays, {1.0f, 0.55f, 0.2f});
    canvas.add(datagen::ring(size, size, centre, centre, 118, 140), {1.0f, 0.9f, 0.7f});
    canvas.add(datagen::ring(size, size, centre, centre, 0, 52), {1.0f, 1.0f, 1.0f});
    datagen::TextRenderer text;
    const datagen::Mask word = text.line(size, size, "FEAR", {datagen::kSansBold, 120, 10}, centre, 490);
    canvas.add(datagen::blurred(word, 6), {1.0f, 0.3f, 0.1f});
    canvas.add(word, {1.0f, 1.0f, 1.0f});
    return imagewriter::encodeJpeg(size, size, canvas.rgbBytes(), 92);
}

} // namespace

GLINT_DATA_PRODUCT("aflowers.3ds", makeAflowersScene, false);
GLINT_DATA_PRODUCT("fear.jpg", makeFear, false);
