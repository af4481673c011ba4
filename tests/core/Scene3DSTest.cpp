// Scene3DS on files from the builder: camera, light and object values at
// frames against the keys they were written with, and the GL state that
// setCamera and lightFromNode leave.
#include "core/Scene3DS.h"
#include "support/Test3dsScenes.h"
#include "support/GLTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Vec3 = std::array<float, 3>;
using Matrix = std::array<float, 16>;
constexpr float kTolerance = 1e-4f;

Matrix cameraMatrix(const Scene3DS& scene, const std::string& name)
{
    const show::Mat4 camera = scene.cameraMatrix(name);
    Matrix m;
    std::copy(std::begin(camera.m), std::end(camera.m), m.begin());
    return m;
}

Vec3 objectPosition(const Scene3DS& scene, const std::string& name)
{
    const show::Vec3 p = scene.objectPosition(name);
    return {p.x, p.y, p.z};
}

Scene3DS showScene3DS()
{
    const std::vector<uint8_t> bytes = testscenes::showScene();
    std::string problem;
    Scene3DS scene(load3dsFromMemory(bytes.data(), bytes.size(), problem));
    EXPECT_TRUE(scene.file) << problem;
    return scene;
}

// Column-major 4 x 4 matrix times (x, y, z, 1).
std::array<float, 4> transform(const Matrix& m, const Vec3& v)
{
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row];
    return out;
}

void expectNear(const std::array<float, 4>& actual, const Vec3& expected, const char* what)
{
    SCOPED_TRACE(what);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << "component " << i;
}

Vec3 lerp(const Vec3& a, const Vec3& b, float s)
{
    return {a[0] + (b[0] - a[0]) * s, a[1] + (b[1] - a[1]) * s, a[2] + (b[2] - a[2]) * s};
}

Vec3 plus(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
float length(const Vec3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

Matrix glMatrix(GLenum which)
{
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

void removeTarget(Scene3DS& scene, const char* name)
{
    Lib3dsNode* target = scene.findNode(name, LIB3DS_TARGET_NODE);
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(lib3ds_file_remove_node(scene.file.get(), target));
    lib3ds_node_free(target);
}

// Camera01 runs in a straight line (two keys) while looking at the origin
// with no roll: the camera matrix takes its position to the origin, the
// target onto +y at the camera's distance, and world up (+z) to local +z.
TEST(Scene3DS, CameraMatrixFollowsTheKeys)
{
    Scene3DS scene = showScene3DS();
    for (float frame : {0.0f, 25.0f, 50.0f, 100.0f}) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        scene.setFrame(frame);
        const Vec3 eye = lerp({0, -10, 0}, {10, -10, 0}, frame / 100.0f);
        const Matrix m = cameraMatrix(scene, "Camera01");
        expectNear(transform(m, eye), {0, 0, 0}, "camera position");
        expectNear(transform(m, {0, 0, 0}), {0, length(eye), 0}, "target");
        expectNear(transform(m, plus(eye, {0, 0, 1})), {0, 0, 1}, "up");
        EXPECT_EQ(m[15], 1.0f);
    }
}

// Camera02's roll of 0.5 (radians) turns the view about the line of sight:
// the target stays on +y, the unrolled up direction leans by 0.5 rad.
TEST(Scene3DS, RollTurnsTheViewAboutTheLineOfSight)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(0);
    const Vec3 eye = {5, 5, 5}, target = {0, 0, 1};
    const Vec3 sight = {-5, -5, -4};
    const Vec3 side = {sight[1], -sight[0], 0};  // sight x (0, 0, 1)
    const Vec3 up = {side[1] * sight[2] - side[2] * sight[1], side[2] * sight[0] - side[0] * sight[2],
                     side[0] * sight[1] - side[1] * sight[0]};
    const float upLength = length(up);
    const Matrix m = cameraMatrix(scene, "Camera02");
    expectNear(transform(m, target), {0, length(sight), 0}, "target");
    const auto leaned = transform(m, plus(eye, {up[0] / upLength, up[1] / upLength, up[2] / upLength}));
    EXPECT_NEAR(std::fabs(leaned[0]), std::sin(0.5f), kTolerance);
    EXPECT_NEAR(leaned[1], 0.0f, kTolerance);
    EXPECT_NEAR(leaned[2], std::cos(0.5f), kTolerance);
}

TEST(Scene3DS, CameraMatrixWithoutCameraOrTargetIsZeroButTheLastElement)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(10);
    removeTarget(scene, "Camera02");
    Matrix expected{};
    expected[15] = 1.0f;
    for (const char* name : {"Nope", "", "Omni01", "Ribbon", "Camera02"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(cameraMatrix(scene, name), expected);
    }
}

TEST(Scene3DS, ObjectPositionFollowsTheKeys)
{
    Scene3DS scene = showScene3DS();
    const struct {
        const char* name;
        float frame;
        Vec3 position;
    } rows[] = {
        // at its keys, whatever the spline between them
        {"Ribbon", 0, {0, 0, 0}},
        {"Ribbon", 10, {10, 0, 0}},
        {"Ribbon", 20, {10, 10, 0}},
        {"Ribbon", 30, {0, 10, 5}},
        {"Ribbon", 90, {0, 10, 5}},  // past the last key
        // two keys: a straight line
        {"Cube", 40, {0, 4, 0}},
        {"Cube", 20, {-2, 2, 1}},
        // not objects
        {"Nope", 10, {0, 0, 0}},
        {"Camera01", 10, {0, 0, 0}},
        {"Omni01", 10, {0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " at frame " + std::to_string(row.frame));
        scene.setFrame(row.frame);
        const Vec3 position = objectPosition(scene, row.name);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(position[i], row.position[i], kTolerance);
    }
}

TEST(Scene3DS, FramesThatAreNotNumbersAreIgnored)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(40);
    scene.setFrame(std::numeric_limits<float>::quiet_NaN());
    scene.setFrame(std::numeric_limits<float>::infinity());
    EXPECT_NEAR(objectPosition(scene, "Cube")[1], 4.0f, kTolerance);
}

TEST(Scene3DS, DefaultsAndAFileThatDidNotLoad)
{
    Scene3DS scene(nullptr);
    EXPECT_FLOAT_EQ(scene.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(scene.farPlane, 300.0f);
    EXPECT_EQ((Vec3{scene.defaultVector[0], scene.defaultVector[1], scene.defaultVector[2]}), (Vec3{0, 1, 0}));
    scene.setFrame(3);
    Matrix identityLast{};
    identityLast[15] = 1.0f;
    EXPECT_EQ(cameraMatrix(scene, "Camera01"), identityLast);
    EXPECT_EQ(objectPosition(scene, "Ribbon"), (Vec3{0, 0, 0}));
    EXPECT_EQ(scene.findNode("Camera01", LIB3DS_CAMERA_NODE), nullptr);
}

class Scene3DSGL : public GLTest {};

// Projection: gluPerspective's matrix for the camera's evaluated field of
// view (45 to 60 degrees over 100 frames), aspect 640 / 480 and the planes.
// Model-view: the camera matrix turned -90 degrees about x, so the camera
// looks down -z with world up (+z) as screen up.
TEST_F(Scene3DSGL, SetCameraSetsPerspectiveAndTurnedView)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(50);
    scene.setCamera("Camera01", 640, 480);

    const Matrix p = glMatrix(GL_PROJECTION_MATRIX);
    const float f = 1.0f / std::tan(52.5f / 2.0f * 3.14159265f / 180.0f);
    const float n = 0.1f, far = 300.0f;
    EXPECT_NEAR(p[0], f * 480.0f / 640.0f, kTolerance);
    EXPECT_NEAR(p[5], f, kTolerance);
    EXPECT_NEAR(p[10], (far + n) / (n - far), kTolerance);
    EXPECT_NEAR(p[14], 2.0f * far * n / (n - far), kTolerance);
    EXPECT_EQ(p[11], -1.0f);
    EXPECT_EQ(p[15], 0.0f);

    const Matrix mv = glMatrix(GL_MODELVIEW_MATRIX);
    const Vec3 eye = {5, -10, 0};
    expectNear(transform(mv, eye), {0, 0, 0}, "camera position");
    expectNear(transform(mv, {0, 0, 0}), {0, 0, -length(eye)}, "target straight ahead");
    expectNear(transform(mv, plus(eye, {0, 0, 1})), {0, 1, 0}, "world up is screen up");
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(Scene3DSGL, ChangedPlanesReachTheProjection)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(0);
    scene.nearPlane = 1.0f;
    scene.farPlane = 500.0f;
    scene.setCamera("Camera01", 640, 480);
    const Matrix p = glMatrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(p[14] / (p[10] - 1.0f), 1.0f, 1e-3f);    // near
    EXPECT_NEAR(p[14] / (p[10] + 1.0f), 500.0f, 1e-1f);  // far
}

TEST_F(Scene3DSGL, CameraNamesTheFileLacksKeepBothMatrices)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(10);
    removeTarget(scene, "Camera02");
    Scene3DS unloaded(nullptr);
    Matrix projection{}, modelView{};
    for (int i = 0; i < 16; ++i) {
        projection[i] = float(i) + 0.5f;
        modelView[i] = float(i) - 7.0f;
    }
    const struct {
        const char* name;
        const Scene3DS& scene;
    } rows[] = {{"Nope", scene}, {"Omni01", scene}, {"Ribbon", scene}, {"Camera02", scene},
                {"Camera01", unloaded}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(modelView.data());
        row.scene.setCamera(row.name, 640, 480);
        EXPECT_EQ(glMatrix(GL_PROJECTION_MATRIX), projection);
        EXPECT_EQ(glMatrix(GL_MODELVIEW_MATRIX), modelView);
    }
}

std::array<float, 4> light(GLenum glLight, GLenum parameter)
{
    std::array<float, 4> value{};
    glGetLightfv(glLight, parameter, value.data());
    return value;
}

TEST_F(Scene3DSGL, LightFromNodeSetsColourAndPosition)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(25);  // Omni01 halfway between its two keys
    const struct {
        const char* name;
        std::array<float, 4> colour;
        std::array<float, 4> position;
    } rows[] = {
        {"Omni01", {0.5f, 0.75f, 0.125f, 1}, {2, 2, 2, 1}},
        {"Spot01", {0.2f, 0.4f, 0.6f, 1}, {0, 0, 10, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        glLoadIdentity();
        scene.lightFromNode(row.name, GL_LIGHT1);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(light(GL_LIGHT1, GL_DIFFUSE)[i], row.colour[i], kTolerance);
            EXPECT_NEAR(light(GL_LIGHT1, GL_SPECULAR)[i], row.colour[i], kTolerance);
            EXPECT_NEAR(light(GL_LIGHT1, GL_POSITION)[i], row.position[i], kTolerance);
        }
    }
    // The position goes through the current model-view matrix, as GL does.
    glLoadIdentity();
    glTranslatef(0, 0, -5);
    scene.lightFromNode("Omni01", GL_LIGHT1);
    EXPECT_NEAR(light(GL_LIGHT1, GL_POSITION)[2], -3.0f, kTolerance);
}

TEST_F(Scene3DSGL, NamesThatAreNotLightsLeaveTheLightAsItWas)
{
    Scene3DS scene = showScene3DS();
    scene.setFrame(0);
    Scene3DS unloaded(nullptr);
    const std::array<float, 4> colour = {0.1f, 0.2f, 0.3f, 0.4f}, position = {7, 8, 9, 0};
    const struct {
        const char* name;
        const Scene3DS& scene;
    } rows[] = {{"Nope", scene}, {"Camera01", scene}, {"Ribbon", scene}, {"Omni01", unloaded}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        glLoadIdentity();
        glLightfv(GL_LIGHT2, GL_DIFFUSE, colour.data());
        glLightfv(GL_LIGHT2, GL_SPECULAR, colour.data());
        glLightfv(GL_LIGHT2, GL_POSITION, position.data());
        row.scene.lightFromNode(row.name, GL_LIGHT2);
        EXPECT_EQ(light(GL_LIGHT2, GL_DIFFUSE), colour);
        EXPECT_EQ(light(GL_LIGHT2, GL_SPECULAR), colour);
        EXPECT_EQ(light(GL_LIGHT2, GL_POSITION), position);
    }
}

} // namespace
