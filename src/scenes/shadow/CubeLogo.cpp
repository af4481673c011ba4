#include "scenes/shadow/CubeLogo.h"

#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr float kPi = 3.14159f;
constexpr float kDegrees = 57.2957795f;   // per radian
constexpr float kSpacing = 1.1f;        // box pitch: a tenth of a box between neighbours
constexpr float kPulseDecay = 0.05f;    // per second
constexpr float kPushPerPress = 0.1f;
constexpr int kSpace = 0x20;
constexpr float kTurn = 200.0f;         // degrees about y that face the logo into the room
// Every box costs its share of each shadow and glow pass (512 boxes make the
// room several times slower than the show's own mark of 47): a picture with
// more bright pixels than this is no logo, and one larger than a million
// pixels is refused before it is decoded.
constexpr size_t kMostCubes = 512;
constexpr long kLargestPicture = 1L << 20;
constexpr const char* kPicture = "k16.jpg";

// Column or row index onto [-half, half]; a single column sits at 0.
float centred(int index, int count)
{
    if (count < 2)
        return 0.0f;
    const float half = static_cast<float>(count) / 2.0f;
    return show::remap(static_cast<float>(index), 0.0f, static_cast<float>(count - 1), -half, half);
}

// A box stands for each pixel whose red byte is above 100.
bool isBright(const unsigned char* rgb, size_t pixel)
{
    return rgb[pixel * 3] > 100;
}

} // namespace

LogoCube::LogoCube(float x, float y, float z)
    : position{x, y, z}, spinRate(show::random(-kPi, kPi)), matrix(show::Mat4::translation(x, y, z))
{
}

void LogoCube::reset()
{
    matrix = show::Mat4::translation(position[0], position[1], position[2]);
}

void LogoCube::spin(float s)
{
    const float degrees = s * spinRate * kDegrees;
    matrix = show::Mat4::translation(position[0], position[1], position[2]) *
             show::Mat4::rotation(degrees, 0, 0, 1) * show::Mat4::rotation(degrees, 0, 1, 0) *
             show::Mat4::rotation(degrees, 1, 0, 0);
}

CubeLogo::CubeLogo(const ResourceManager& resources)
{
    normalState.readMaterial("shadowobject.cfg", &resources);
    glowState.readMaterial("shadowGlow.cfg", &resources);
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    if (jpegSize(resources, kPicture, width, height) != 0 || width <= 0 || height <= 0) {
        std::printf("cannot find %s\n", kPicture);
    } else if (static_cast<long>(width) * height > kLargestPicture) {
        std::printf("%s: %d x %d pixels, more than a logo of boxes can be; the logo is left out\n", kPicture, width,
                    height);
    } else {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        if (jpegPixels(resources, kPicture, rgb.data()) != 0) {
            std::printf("cannot find %s\n", kPicture);
            rgb.clear();
        }
    }
    if (rgb.empty())
        width = height = 0;
    addCubes(rgb.data(), width, height, kPicture);
}

CubeLogo::CubeLogo(const unsigned char* rgb, int width, int height)
{
    addCubes(rgb, width, height, "the logo's picture");
}

void CubeLogo::addCubes(const unsigned char* rgb, int width, int height, const char* picture)
{
    size_t bright = 0;
    for (size_t pixel = 0; pixel < static_cast<size_t>(width) * height; ++pixel)
        bright += isBright(rgb, pixel) ? 1 : 0;
    if (bright > kMostCubes) {
        std::printf("%s: %zu bright pixels, more than the %zu boxes a logo may have; the logo is left out\n", picture,
                    bright, kMostCubes);
        height = 0;
    }
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            if (isBright(rgb, static_cast<size_t>(r) * width + c))
                cubes.emplace_back(kSpacing * centred(c, width), kSpacing * centred(r, height), 0.0f);
    placeMesh();
    meshAtRest = true;
}

void CubeLogo::placeMesh()
{
    matrices.resize(cubes.size());
    for (size_t i = 0; i < cubes.size(); ++i)
        matrices[i] = cubes[i].matrix;
    mesh.place(matrices);
    casterMesh.place(matrices);
}

void CubeLogo::draw(float) const
{
    (glow ? glowState : normalState).applyMaterial();
    drawMesh(mesh);
}

void CubeLogo::drawCaster() const
{
    drawMesh(casterMesh);
}

void CubeLogo::drawMesh(const LogoMesh& boxes) const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(orientation.m);
    glRotatef(kTurn, 0.0f, 1.0f, 0.0f);
    // The boxes are closed: a face turned away from the eye never shows in
    // front of one turned towards it, so those are left out.
    const GLboolean wasCulling = glIsEnabled(GL_CULL_FACE);
    GLint culledFace = GL_BACK;
    glGetIntegerv(GL_CULL_FACE_MODE, &culledFace);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    boxes.draw();
    glCullFace(static_cast<GLenum>(culledFace));
    if (!wasCulling)
        glDisable(GL_CULL_FACE);
    glPopMatrix();
}

void CubeLogo::update(float t)
{
    const float dt = updated ? std::max(0.0f, t - lastUpdate) : 0.0f;
    lastUpdate = t;
    updated = true;
    const float s = std::sin(kPi * pulse);
    const bool tumbling = pulse > 0.0f;
    for (LogoCube& cube : cubes) {
        cube.reset();
        if (tumbling)
            cube.spin(s);
    }
    // At rest the boxes keep their places from frame to frame.
    if (tumbling || !meshAtRest) {
        placeMesh();
        meshAtRest = !tumbling;
    }
    pulse = pulse > 0.0f ? std::max(0.0f, pulse - kPulseDecay * dt) : 0.0f;
    orientation = show::Mat4::rotation(t * kDegrees, 0.0f, 1.0f, 0.0f);
}

void CubeLogo::bounds(float (&low)[3], float (&high)[3]) const
{
    // A box turning about its centre stays inside the sphere through its corners.
    const float boxReach = show::Vec3(0.5f, 0.5f, 0.25f).length();
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = cubes.empty() ? 0.0f : 1e30f;
        high[axis] = cubes.empty() ? 0.0f : -1e30f;
        for (const LogoCube& cube : cubes) {
            low[axis] = std::min(low[axis], cube.position[axis] - boxReach);
            high[axis] = std::max(high[axis], cube.position[axis] + boxReach);
        }
    }
}

show::Mat4 CubeLogo::placement() const
{
    return orientation * show::Mat4::rotation(kTurn, 0.0f, 1.0f, 0.0f);
}

void CubeLogo::key(int code)
{
    if (code == kSpace)
        pulse += kPushPerPress;
}
