// The opening as it plays from the built data: its pictures must stay on
// the screen through the TV disturbance of the hits and of the build.
#include "scenes/ShowPlacement.h"
#include "scenes/opening/ScriptScene.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

class OpeningFramesTest : public ShowResourcesTest {
protected:
    // Pixels between the letterbox bars brighter than a dim grey: what a
    // viewer sees of the captions, the logo and the title.
    static int brightPixels()
    {
        std::vector<unsigned char> pixels(640 * 400 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 40, 640, 400, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        int bright = 0;
        for (size_t i = 0; i < pixels.size(); i += 3)
            bright += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3 > 96;
        return bright;
    }
};

} // namespace

TEST_F(OpeningFramesTest, TheTvDisturbanceRollsThePictureWithoutThrowingItOffTheScreen)
{
    char path[ResourceManager::pathSize];
    ASSERT_TRUE(resources->findFile("intro.script", path));
    // The effects take the picture's size from the manager, as in the show.
    resources->screenWidth = 640;
    resources->screenHeight = 480;
    std::srand(1);
    testing::internal::CaptureStdout();
    ScriptScene opening(path, resources.get());
    placeAsInShow(opening, 0);
    testing::internal::GetCapturedStdout();

    // Half a beat after the heartbeat's hit, a beat after the title's, and
    // the build's caption while the disturbance grows towards the drop.
    for (float beat : {16.5f, 33.0f, 54.75f, 55.25f}) {
        SCOPED_TRACE(beat);
        EXPECT_EQ(opening.update(opening.timeOfBeat(beat)), 0);
        EXPECT_GT(brightPixels(), 2000);
    }
}
