// Every frame the Demo draws, whichever scene draws it, leaves the OpenGL
// state as it found it: the show's nine scenes, drawn through the one frame
// entry at two moments each, against a snapshot taken before.
#include "sequencer/ShowDemoTest.h"
#include "support/GLStateSnapshot.h"

#include <gtest/gtest.h>

using FrameStateTest = ShowDemoTest;

TEST_F(FrameStateTest, NoSceneLeavesStateBehindItsFrames)
{
    loadShow();
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
