// The 3DS builder: what it writes reads back through lib3ds as described,
// and descriptions it cannot write are refused without touching the file.
#include "3dsbuilder/SceneBuilder.h"
#include "core/Scene3DS.h"
#include "support/Test3dsScenes.h"

#include <gtest/gtest.h>
#include <lib3ds/camera.h>
#include <lib3ds/light.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <functional>

using namespace builder3ds;

namespace {

Scene3DS load(SceneBuilder& builder)
{
    const std::vector<uint8_t> bytes = builder.bytes();
    std::string problem;
    Scene3DS scene(load3dsFromMemory(bytes.data(), bytes.size(), problem));
    EXPECT_TRUE(scene.file) << problem;
    return scene;
}

Object texturedTriangle()
{
    Object o;
    o.name = "Tri";
    o.mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 2, 0}};
    o.mesh.faces = {{0, 1, 2}};
    o.mesh.texels = {{0, 0}, {1, 0}, {0, 1}};
    o.position = {{0, {1, 2, 3}}};
    return o;
}

TEST(SceneBuilder, MeshesReadBackAsWritten)
{
    SceneBuilder builder(10);
    ASSERT_TRUE(builder.addObject(texturedTriangle())) << builder.error();
    Object box;
    box.name = "Box";
    box.mesh = boxMesh({1, 2, 3});
    box.position = {{0, {0, 0, 0}}};
    ASSERT_TRUE(builder.addObject(box)) << builder.error();
    Scene3DS scene = load(builder);

    const Lib3dsMesh* tri = lib3ds_file_mesh_by_name(scene.file.get(), "Tri");
    ASSERT_NE(tri, nullptr);
    ASSERT_EQ(tri->points, 3u);
    ASSERT_EQ(tri->faces, 1u);
    ASSERT_EQ(tri->texels, 3u);
    EXPECT_EQ(tri->pointL[2].pos[1], 2.0f);
    EXPECT_EQ(tri->faceL[0].points[1], 1);
    EXPECT_EQ(tri->texelL[2][1], 1.0f);

    const Lib3dsMesh* boxMeshRead = lib3ds_file_mesh_by_name(scene.file.get(), "Box");
    ASSERT_NE(boxMeshRead, nullptr);
    ASSERT_EQ(boxMeshRead->faces, 12u);
    // Every box face points away from the centre (counter-clockwise outside).
    for (Lib3dsDword f = 0; f < boxMeshRead->faces; ++f) {
        const Lib3dsWord* c = boxMeshRead->faceL[f].points;
        const float* a = boxMeshRead->pointL[c[0]].pos;
        const float* b = boxMeshRead->pointL[c[1]].pos;
        const float* d = boxMeshRead->pointL[c[2]].pos;
        const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float e2[3] = {d[0] - a[0], d[1] - a[1], d[2] - a[2]};
        const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                            e1[0] * e2[1] - e1[1] * e2[0]};
        const float centre[3] = {(a[0] + b[0] + d[0]) / 3, (a[1] + b[1] + d[1]) / 3, (a[2] + b[2] + d[2]) / 3};
        EXPECT_GT(n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2], 0.0f) << "face " << f;
    }
}

TEST(SceneBuilder, CamerasAndLightsGetObjectsNodesAndSplineParameters)
{
    SceneBuilder builder(100);
    Camera camera;
    camera.name = "Camera01";
    camera.position = {{50, {1, 1, 1}, {0.5f, 0, -0.25f, 0, 0}}, {0, {0, -10, 0}}};  // unsorted on purpose
    camera.target = {{0, {0, 0, 0}}};
    ASSERT_TRUE(builder.addCamera(camera)) << builder.error();
    Light spot;
    spot.name = "Spot01";
    spot.spot = true;
    spot.position = {{0, {0, 0, 10}}};
    spot.target = {{0, {1, 0, 0}}};
    spot.hotspot = 20;
    spot.falloff = 40;
    ASSERT_TRUE(builder.addLight(spot)) << builder.error();
    Scene3DS scene = load(builder);

    const Lib3dsCamera* cameraObject = lib3ds_file_camera_by_name(scene.file.get(), "Camera01");
    ASSERT_NE(cameraObject, nullptr);
    EXPECT_EQ(cameraObject->position[1], -10.0f);  // the earliest key
    EXPECT_EQ(cameraObject->fov, 45.0f);

    const Lib3dsNode* node = scene.findNode("Camera01", LIB3DS_CAMERA_NODE);
    ASSERT_NE(node, nullptr);
    const Lib3dsLin3Key* first = node->data.camera.pos_track.keyL;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->next, nullptr);
    EXPECT_EQ(first->tcb.frame, 0);
    EXPECT_EQ(first->tcb.flags, 0);
    const Lib3dsTcb& second = first->next->tcb;
    EXPECT_EQ(second.frame, 50);
    EXPECT_EQ(second.flags, LIB3DS_USE_TENSION | LIB3DS_USE_BIAS);
    EXPECT_EQ(second.tens, 0.5f);
    EXPECT_EQ(second.bias, -0.25f);
    EXPECT_EQ(node->parent, nullptr);

    const Lib3dsLight* light = lib3ds_file_light_by_name(scene.file.get(), "Spot01");
    ASSERT_NE(light, nullptr);
    EXPECT_TRUE(light->spot_light);
    EXPECT_EQ(light->spot[0], 1.0f);
    EXPECT_EQ(light->hot_spot, 20.0f);
    EXPECT_EQ(light->fall_off, 40.0f);
    EXPECT_NE(scene.findNode("Spot01", LIB3DS_LIGHT_NODE), nullptr);
    const Lib3dsNode* spotTarget = scene.findNode("Spot01", LIB3DS_SPOT_NODE);
    ASSERT_NE(spotTarget, nullptr);
    EXPECT_EQ(spotTarget->data.spot.pos_track.keyL->value[0], 1.0f);
}

// Each rotation key turns from the orientation of the one before it: two
// quarter turns about z make a half turn by the second key.
TEST(SceneBuilder, RotationKeysAreRelative)
{
    SceneBuilder builder(20);
    Object o = texturedTriangle();
    o.rotation = {{0, 0, {0, 0, 1}}, {10, 1.5707964f, {0, 0, 1}}, {20, 1.5707964f, {0, 0, 1}}};
    ASSERT_TRUE(builder.addObject(o)) << builder.error();
    Scene3DS scene = load(builder);
    const Lib3dsNode* node = scene.findNode("Tri", LIB3DS_OBJECT_NODE);
    ASSERT_NE(node, nullptr);
    scene.setFrame(10);
    EXPECT_NEAR(std::fabs(node->matrix[0][1]), 1.0f, 1e-4f);  // x axis turned onto y
    scene.setFrame(20);
    EXPECT_NEAR(node->matrix[0][0], -1.0f, 1e-4f);  // x axis turned onto -x
    EXPECT_NEAR(node->matrix[3][2], 3.0f, 1e-4f);   // and the position stays
}

TEST(SceneBuilder, RefusesWhatItCannotWriteAndLeavesTheFileAlone)
{
    const auto camera = [](const std::function<void(Camera&)>& change) {
        return [change](SceneBuilder& b) {
            Camera c;
            c.name = "Cam";
            c.position = {{0, {0, -1, 0}}};
            c.target = {{0, {0, 0, 0}}};
            change(c);
            return b.addCamera(c);
        };
    };
    const auto object = [](const std::function<void(Object&)>& change) {
        return [change](SceneBuilder& b) {
            Object o = texturedTriangle();
            change(o);
            return b.addObject(o);
        };
    };
    const struct {
        const char* what;
        std::function<bool(SceneBuilder&)> add;
        const char* reason;
    } rows[] = {
        {"an empty name", camera([](Camera& c) { c.name.clear(); }), "1 to 63 characters"},
        {"a 64-character name", camera([](Camera& c) { c.name.assign(64, 'c'); }), "1 to 63 characters"},
        {"a camera name already used", camera([](Camera& c) { c.name = "Camera01"; }), "taken"},
        {"an object name already used", object([](Object& o) { o.name = "Tri0"; }), "taken"},
        {"no position key", camera([](Camera& c) { c.position.clear(); }), "no key"},
        {"no fov key", camera([](Camera& c) { c.fov.clear(); }), "no key"},
        {"two keys on one frame", camera([](Camera& c) { c.target.push_back({0, {1, 1, 1}}); }), "share a frame"},
        {"a key before frame 0", camera([](Camera& c) { c.position[0].frame = -1; }), "outside frames"},
        {"a key at frame 2^24", camera([](Camera& c) { c.position[0].frame = 1 << 24; }), "outside frames"},
        {"a spot light without target",
         [](SceneBuilder& b) {
             Light l;
             l.name = "Spot";
             l.spot = true;
             l.position = {{0, {0, 0, 1}}};
             return b.addLight(l);
         },
         "target track has no key"},
        {"a face naming a missing point", object([](Object& o) { o.mesh.faces[0][2] = 3; }), "names a point"},
        {"texture coordinates not one per point", object([](Object& o) { o.mesh.texels.pop_back(); }),
         "one texture coordinate per point"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SceneBuilder builder(10);
        ASSERT_TRUE(camera([](Camera& c) { c.name = "Camera01"; })(builder));
        ASSERT_TRUE(object([](Object& o) { o.name = "Tri0"; })(builder));
        const std::vector<uint8_t> before = builder.bytes();
        EXPECT_FALSE(row.add(builder));
        EXPECT_NE(builder.error().find(row.reason), std::string::npos) << builder.error();
        EXPECT_EQ(builder.bytes(), before);
    }
}

TEST(SceneBuilder, SavesWhatItWouldGive)
{
    SceneBuilder builder(10);
    ASSERT_TRUE(builder.addObject(texturedTriangle()));
    const std::string path = testscenes::temporaryPath("saved.3ds");
    ASSERT_TRUE(builder.save(path)) << builder.error();
    std::string problem;
    EXPECT_TRUE(load3dsFromPath(path, problem)) << problem;
    EXPECT_FALSE(builder.save(std::string(GLINT_BINARY_DIR) + "/no-such-dir/saved.3ds"));
    EXPECT_NE(builder.error().find("cannot write"), std::string::npos);
}

} // namespace
