// The opening as it plays from the built data: its pictures must stay on
// the screen through the TV disturbance of the hits and of the build.
#include "scenes/SceneFixture.h"
#include "scenes/opening/ScriptScene.h"

#include <cmath>
#include <vector>

namespace {

constexpr int openingRow = 0;

class OpeningFramesTest : public SceneFixture {
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
    // The effects take the picture's size from the manager, as in the show.
    resources().screenWidth = 640;
    resources().screenHeight = 480;
    ScriptScene& opening = buildScene<ScriptScene>(openingRow);

    // Half a beat after the heartbeat's hit, a beat after the title's, and
    // the build's caption while the disturbance grows towards the drop.
    for (float beat : {16.5f, 33.0f, 54.75f, 55.25f}) {
        SCOPED_TRACE(beat);
        EXPECT_EQ(playBeat(opening, beat), 0);
        EXPECT_GT(brightPixels(), 2000);
    }
}

TEST_F(OpeningFramesTest, TheOpeningScriptPlays)
{
    // The show's own script, with its pictures absent: every effect is
    // still built, placed and drawn.
    ownData({"intro.script", "image.script"});
    ScriptScene& scene = buildScene<ScriptScene>(openingRow);
    ASSERT_FALSE(scene.timeline->effects.empty());
    int frames = 0;
    for (float t = 0.0f; play(scene, t) == 0; t += 0.5f)
        ++frames;
    EXPECT_EQ(frames, static_cast<int>(std::ceil(scene.duration / 0.5f)));
    EXPECT_EQ(scene.timeline->nextEvent, scene.timeline->events.size());
}
