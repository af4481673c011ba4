#include "scenes/CubeLogo.h"

#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "scenes/GridFace.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr float kPi = 3.14159f;
constexpr float kDegrees = 57.2957795f;   // per radian
constexpr float kSpacing = 1.1f;        // box pitch: a tenth of a box between neighbours
constexpr float kPulseDecay = 0.05f;    // per second
constexpr float kPushPerPress = 0.1f;
constexpr int kSpace = 0x20;

unsigned buildBoxList()
{
    const float hx = 0.5f, hy = 0.5f, hz = 0.25f;
    const GridFace faces[6] = {
        {{-hx, -hy, -hz}, {0, 2 * hy, 0}, {2 * hx, 0, 0}, {0, 0, -1}},
        {{-hx, -hy, hz}, {2 * hx, 0, 0}, {0, 2 * hy, 0}, {0, 0, 1}},
        {{-hx, -hy, -hz}, {0, 0, 2 * hz}, {0, 2 * hy, 0}, {-1, 0, 0}},
        {{hx, -hy, -hz}, {0, 2 * hy, 0}, {0, 0, 2 * hz}, {1, 0, 0}},
        {{-hx, hy, -hz}, {0, 0, 2 * hz}, {2 * hx, 0, 0}, {0, 1, 0}},
        {{-hx, -hy, -hz}, {2 * hx, 0, 0}, {0, 0, 2 * hz}, {0, -1, 0}},
    };
    const unsigned list = glGenLists(1);
    nv::glNewList(list, GL_COMPILE);
    for (const GridFace& face : faces)
        drawGridFace(face, 4);
    nv::glEndList();
    return list;
}

// Column or row index onto [-half, half]; a single column sits at 0.
float centred(int index, int count)
{
    if (count < 2)
        return 0.0f;
    const float half = static_cast<float>(count) / 2.0f;
    return show::remap(static_cast<float>(index), 0.0f, static_cast<float>(count - 1), -half, half);
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

void LogoCube::draw() const
{
    glPushMatrix();
    glMultMatrixf(matrix.m);
    nv::glCallList(CubeLogo::boxList());
    glPopMatrix();
}

unsigned CubeLogo::boxList()
{
    static const unsigned list = buildBoxList();
    return list;
}

CubeLogo::CubeLogo(const ResourceManager& resources)
{
    normalState.readMaterial("shadowobject.cfg", &resources);
    glowState.readMaterial("shadowGlow.cfg", &resources);
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    if (jpegSize(resources, "k16.jpg", width, height) == 0 && width > 0 && height > 0) {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        if (jpegPixels(resources, "k16.jpg", rgb.data()) != 0)
            rgb.clear();
    }
    if (rgb.empty()) {
        std::printf("cannot find %s\n", "k16.jpg");
        width = height = 0;
    }
    boxList();
    addCubes(rgb.data(), width, height);
}

CubeLogo::CubeLogo(const unsigned char* rgb, int width, int height)
{
    boxList();
    addCubes(rgb, width, height);
}

void CubeLogo::addCubes(const unsigned char* rgb, int width, int height)
{
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            if (rgb[(static_cast<size_t>(r) * width + c) * 3] > 100)
                cubes.emplace_back(kSpacing * centred(c, width), kSpacing * centred(r, height), 0.0f);
}

void CubeLogo::draw(float) const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    (glow ? glowState : normalState).applyMaterial();
    glMultMatrixf(orientation.m);
    glRotatef(200.0f, 0.0f, 1.0f, 0.0f);
    for (const LogoCube& cube : cubes)
        cube.draw();
    glPopMatrix();
}

void CubeLogo::update(float t)
{
    const float dt = updated ? std::max(0.0f, t - lastUpdate) : 0.0f;
    lastUpdate = t;
    updated = true;
    const float s = std::sin(kPi * pulse);
    for (LogoCube& cube : cubes) {
        cube.reset();
        if (pulse > 0.0f)
            cube.spin(s);
    }
    pulse = pulse > 0.0f ? std::max(0.0f, pulse - kPulseDecay * dt) : 0.0f;
    orientation = show::Mat4::rotation(t * kDegrees, 0.0f, 1.0f, 0.0f);
}

float CubeLogo::radius() const
{
    const float boxReach = show::Vec3(0.5f, 0.5f, 0.25f).length();
    float reach = 0.0f;
    for (const LogoCube& cube : cubes)
        reach = std::max(reach, show::Vec3(cube.position[0], cube.position[1], cube.position[2]).length() + boxReach);
    return reach;
}

void CubeLogo::key(int code)
{
    if (code == kSpace)
        pulse += kPushPerPress;
}
