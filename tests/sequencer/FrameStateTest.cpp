// Every frame the Demo draws, whichever scene draws it, leaves the OpenGL
// state as it found it: the show's nine scenes, drawn through the one frame
// entry at two moments each, against a snapshot taken before.
#include "scenes/ShowTimeline.h"
#include "sequencer/Demo.h"
#include "support/GLStateSnapshot.h"
#include "support/ShowResourcesTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class FrameStateTest : public ShowResourcesTest {
protected:
    void TearDown() override
    {
        demo.reset();
        ShowResourcesTest::TearDown();
    }
    std::unique_ptr<Demo> demo;
};

} // namespace

TEST_F(FrameStateTest, NoSceneLeavesStateBehindItsFrames)
{
    resources->screenWidth = 640;
    resources->screenHeight = 480;
    std::srand(1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    demo = std::make_unique<Demo>(std::move(resources), showTimeline(), linkShowScenes);
    demo->clock.onFrames = true;
    demo->musicPending = false;
    while (demo->loadStage() > 0) {
    }
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(demo->scenes.size(), showTimeline().size());

    const testsupport::GLStateSnapshot before = testsupport::GLStateSnapshot::take();
    for (size_t i = 0; i < demo->scenes.size(); ++i) {
        SCOPED_TRACE(showTimeline()[i].className);
        const Scene& scene = *demo->scenes[i];
        // The first frame sets up what a scene builds once; a later one runs
        // its passes as they run most of the time.
        for (float local : {0.0f, scene.duration / 2}) {
            demo->drawFrame(static_cast<int>(i), demo->clock.showTimeInScene(scene.start, local), local);
            const std::string changed = testsupport::GLStateSnapshot::take().differencesFrom(before);
            EXPECT_TRUE(changed.empty()) << "at " << local << " s:\n" << changed;
        }
    }
}
