// Author mode's reload: saving a settings file that the running scene read
// builds the scene again before the next frame, which shows the new value at
// the show time the old scene would have shown; a file that no longer reads
// keeps the scene and names itself on standard error.
#include "shell/AuthorMode.h"

#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"
#include "sequencer/TestScenes.h"
#include "support/GLTest.h"
#include "support/TestMusic.h"

#include <fstream>

using sequencertest::RecordingScene;

namespace {

constexpr float frame = 0.05f;

class AuthorReloadTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        save("red = 0.25\n");
        auto resources = std::make_unique<ResourceManager>(false, false);
        resources->dataDir = folder.path("");
        sequencertest::StageTable stages;
        // The scene fills the screen with the red of "look.cfg" as it was
        // when the scene was built.
        stages[0] = {[](ResourceManager& resources, RunState&) {
                         std::unique_ptr<char[]> look = resources.readFile("look.cfg");
                         const float red = look ? kvFloat(look.get(), "red") : 0.0f;
                         auto scene = std::make_unique<RecordingScene>(&resources, "look", 10.0f);
                         scene->draw = [red](float) { sequencertest::fillScreen(red, 0, 0); };
                         return scene;
                     },
                     10.0f};
        demo = std::make_unique<Demo>(std::move(resources), sequencertest::timelineOf(stages));
        demo->clock.onFrames = true;
        demo->musicPending = false;
        while (demo->loadStage() > 0) {
        }
        author = std::make_unique<shell::AuthorMode>(*demo);
        ASSERT_TRUE(author->watchData());
        nextFrame();
    }

    void save(const std::string& text) { std::ofstream(folder.path("look.cfg")) << text; }

    // Reloads what changed, draws the next frame; its centre's red.
    int nextFrame()
    {
        author->reloadChangedData();
        frameAt += frame;
        demo->update(frameAt);
        return testsupport::readPixel(320, 240)[0];
    }

    RecordingScene& scene() { return static_cast<RecordingScene&>(*demo->scenes.at(0)); }

    mediatest::ScratchFolder folder;
    std::unique_ptr<Demo> demo;
    std::unique_ptr<shell::AuthorMode> author;
    float frameAt = 0.0f;
};

} // namespace

TEST_F(AuthorReloadTest, ASavedSettingsFileChangesTheNextFrameAtTheSameShowTime)
{
    EXPECT_NEAR(nextFrame(), 64, 1);
    const float before = scene().times.back();
    const RecordingScene* old = &scene();
    save("red = 0.75\n");
    EXPECT_NEAR(nextFrame(), 191, 1);
    EXPECT_NE(&scene(), old);
    ASSERT_EQ(scene().times.size(), 1u);
    EXPECT_NEAR(scene().times[0], before + frame, 1e-4f);
}

TEST_F(AuthorReloadTest, ABrokenSettingsFileKeepsTheSceneAndSaysWhy)
{
    const RecordingScene* old = &scene();
    testing::internal::CaptureStderr();
    save("red 0.75\n");
    const int red = nextFrame();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NEAR(red, 64, 1);
    EXPECT_EQ(&scene(), old);
    EXPECT_NE(said.find("look.cfg: line 1 is not \"key = value\": red 0.75"), std::string::npos) << said;

    // Mended, it is taken.
    save("red = 0.75\n");
    EXPECT_NEAR(nextFrame(), 191, 1);
}
