// Loading from a path and from a memory block: the same scene either way,
// and a clear reason when there is none.
#include "resources/File3DS.h"
#include "resources/Scene3DS.h"
#include "scene3ds/TestScenes.h"

#include <gtest/gtest.h>
#include <lib3ds/mesh.h>

using namespace testscenes;

namespace {

TEST(File3DS, PathAndMemoryGiveTheSameScene)
{
    const Bytes bytes = showScene();
    const std::string path = writeTemporary("same-scene.3ds", bytes);
    std::string problem;
    Scene3DS fromPath(load3dsFromPath(path, problem));
    ASSERT_TRUE(fromPath.file) << problem;
    Scene3DS fromMemory(load3dsFromMemory(bytes.data(), bytes.size(), problem));
    ASSERT_TRUE(fromMemory.file) << problem;
    for (float frame : {0.0f, 33.0f, 77.5f}) {
        SCOPED_TRACE(frame);
        fromPath.setFrame(frame);
        fromMemory.setFrame(frame);
        for (const char* camera : {"Camera01", "Camera02"})
            EXPECT_EQ(fromPath.cameraMatrix(camera), fromMemory.cameraMatrix(camera));
        for (const char* object : {"Ribbon", "Cube"})
            EXPECT_EQ(fromPath.objectPosition(object), fromMemory.objectPosition(object));
    }
    EXPECT_EQ(fromPath.file->meshes->points, fromMemory.file->meshes->points);
}

TEST(File3DS, SaysWhyAPathGivesNoScene)
{
    Bytes shortFile = showScene();
    shortFile.resize(100);
    const struct {
        const char* what;
        std::string path;
        const char* reason;
    } rows[] = {
        {"a missing file", std::string(GLINT_BINARY_DIR) + "/no-such-file.3ds", "cannot open"},
        {"a directory", GLINT_BINARY_DIR, "cannot read the file"},
        {"a truncated file", writeTemporary("truncated.3ds", shortFile), "runs past its parent"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string problem;
        EXPECT_EQ(load3dsFromPath(row.path, problem), nullptr);
        EXPECT_NE(problem.find(row.reason), std::string::npos) << problem;
    }
}

} // namespace
