// load3ds in the show's configuration (the data directory)
// and the pack configuration (the memory stream over a pack entry).
#include "core/Scene3DS.h"
#include "pack/PackBuilder.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "support/Test3dsScenes.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string asString(const testscenes::Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A data directory with a good scene and a truncated one, and a pack built
// from it; the test runs in the scratch folder, as the show runs in build/.
class Load3dsTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir.makeCurrent();
        const testscenes::Bytes good = testscenes::showScene();
        dir.write("data/scene.3DS", asString(good));
        dir.write("data/bad.3ds", asString(testscenes::Bytes(good.begin(), good.begin() + 200)));
        dir.write("data/folder.3ds/inside", "");  // a directory where a file should be
        ASSERT_TRUE(buildPack(dir.file("data"), {"scene.3DS", "bad.3ds"}, dir.file("pmx.d"), packed));
        pack = std::make_unique<ResourceManager>(true, true, packed.table.directory());
        pack->packName = dir.file("pmx.d");
    }

    testsupport::TempDirectory dir;
    PackBuild packed;
    ResourceManager directory{false, true};
    std::unique_ptr<ResourceManager> pack;
};

TEST_F(Load3dsTest, PackAndDataDirectoryGiveTheSameScene)
{
    testsupport::MessageRecorder boxes;
    Scene3DS fromDirectory("scene.3DS", directory);
    Scene3DS fromPack("SCENE.3ds", *pack);  // pack names ignore letter case
    ASSERT_TRUE(fromDirectory.file);
    ASSERT_TRUE(fromPack.file);
    for (float frame : {0.0f, 12.5f, 80.0f}) {
        SCOPED_TRACE(frame);
        fromDirectory.setFrame(frame);
        fromPack.setFrame(frame);
        for (const char* camera : {"Camera01", "Camera02"}) {
            const show::Mat4 a = fromDirectory.cameraMatrix(camera), b = fromPack.cameraMatrix(camera);
            EXPECT_TRUE(std::equal(std::begin(a.m), std::end(a.m), std::begin(b.m)));
        }
        for (const char* object : {"Ribbon", "Cube"}) {
            const show::Vec3 p = fromDirectory.objectPosition(object), q = fromPack.objectPosition(object);
            EXPECT_EQ((std::array<float, 3>{p.x, p.y, p.z}), (std::array<float, 3>{q.x, q.y, q.z}));
        }
    }
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(Load3dsTest, UnreadableScenesGiveTheLoadErrorWithTheName)
{
    const struct {
        const char* what;
        bool usePack;
        const char* name;
        const char* reason;  // on standard error
    } rows[] = {
        {"a malformed file in the data directory", false, "bad.3ds", "bad.3ds: at offset 0: chunk 0x4D4D"},
        {"a malformed pack entry", true, "bad.3ds", "bad.3ds: at offset 0: chunk 0x4D4D"},
        {"a file missing from the data directory", false, "none.3ds", "none.3ds: cannot open the file"},
        // Only regular files count as data files.
        {"a directory in the data directory", false, "folder.3ds", "folder.3ds: cannot open the file"},
        {"a name missing from the pack", true, "none.3ds", "none.3ds: not in the pack"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::MessageRecorder boxes;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        Scene3DS scene(row.name, row.usePack ? *pack : directory);
        testing::internal::GetCapturedStdout();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(scene.file);
        ASSERT_FALSE(boxes.messages.empty());
        EXPECT_EQ(boxes.messages.back().caption, "3DS Load error");
        EXPECT_EQ(boxes.messages.back().text, row.name);
        EXPECT_NE(errors.find(row.reason), std::string::npos) << errors;
    }
}

} // namespace
