// "intro-gz.3ds": a 3DS staging of the opening's logo. The ring of the logo
// stands as a flat mesh of 48 segments at the origin, facing the camera
// "Camera01", which flies in from far away over frames 0 to 100 and rolls
// a little as it comes; the ring turns half a turn about its own axis, and
// the light "Omni01" circles above it. 3DS axes: z up, the camera looks
// along +y.
#include "3dsbuilder/SceneBuilder.h"
#include "datagen/DataProduct.h"

#include <cmath>
#include <cstdio>

namespace {

using builder3ds::Vec3;

constexpr int kFrames = 100;
constexpr float kPi = 3.14159265f;

// A flat ring in the x-z plane, two triangles per segment.
builder3ds::Mesh ringMesh(int segments, float inner, float outer)
{
    builder3ds::Mesh mesh;
    for (int i = 0; i < segments; ++i) {
        const float angle = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
        const float c = std::cos(angle), s = std::sin(angle);
        mesh.points.push_back({inner * c, 0.0f, inner * s});
        mesh.points.push_back({outer * c, 0.0f, outer * s});
        const float u = static_cast<float>(i) / static_cast<float>(segments);
        mesh.texels.push_back({u, 0.0f});
        mesh.texels.push_back({u, 1.0f});
    }
    for (int i = 0; i < segments; ++i) {
        const auto a = static_cast<uint16_t>(2 * i), b = static_cast<uint16_t>(2 * i + 1);
        const auto c = static_cast<uint16_t>((2 * i + 2) % (2 * segments));
        const auto d = static_cast<uint16_t>((2 * i + 3) % (2 * segments));
        mesh.faces.push_back({a, b, d});
        mesh.faces.push_back({a, d, c});
    }
    return mesh;
}

std::vector<uint8_t> makeIntroScene(const datagen::GeneratorOptions&)
{
    builder3ds::SceneBuilder scene(kFrames);
    builder3ds::Object ring;
    ring.name = "logoRing";
    ring.mesh = ringMesh(48, 8.0f, 10.0f);
    ring.position = {{0, {0.0f, 0.0f, 0.0f}}};
    ring.rotation = {{0, 0.0f, {0.0f, 1.0f, 0.0f}}, {kFrames, kPi, {0.0f, 1.0f, 0.0f}}};

    builder3ds::Camera camera;
    camera.name = "Camera01";
    // Eased in: fast from afar, slowing as the ring fills the view.
    for (int f = 0; f <= kFrames; f += 10) {
        const float s = static_cast<float>(f) / kFrames;
        const float distance = 30.0f + 170.0f * (1.0f - s) * (1.0f - s);
        camera.position.push_back({f, {3.0f * std::sin(s * kPi), -distance, 2.0f + 4.0f * (1.0f - s)}});
    }
    camera.target = {{0, {0.0f, 0.0f, 0.0f}}};
    camera.roll = {{0, -0.2f}, {kFrames, 0.0f}};
    camera.fov = {{0, 40.0f}};

    builder3ds::Light light;
    light.name = "Omni01";
    for (int f = 0; f <= kFrames; f += 25) {
        const float angle = 2.0f * kPi * static_cast<float>(f) / kFrames;
        light.position.push_back({f, {25.0f * std::cos(angle), -10.0f + 25.0f * std::sin(angle), 30.0f}});
    }
    light.colour = {{0, {0.55f, 0.8f, 1.0f}}};

    if (!scene.addObject(ring) || !scene.addCamera(camera) || !scene.addLight(light)) {
        std::fprintf(stderr, "intro-gz.3ds: %s\n", scene.error().c_str());
        return {};
    }
    return scene.bytes();
}

} // namespace

GLINT_DATA_PRODUCT("intro-gz.3ds", makeIntroScene, false);
