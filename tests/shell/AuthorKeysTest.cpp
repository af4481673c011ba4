// The author keys move the show to whole beats and scene starts, and leave
// alone every key the show itself reads.
#include "shell/AuthorKeys.h"

#include "resources/ResourceManager.h"
#include "sequencer/TestScenes.h"
#include "support/GLTest.h"

using sequencertest::recordingStage;
using shell::AuthorAction;

namespace {

class AuthorKeysTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sequencertest::StageTable stages;
        // Nine beats each, on the capture clock, no music.
        for (int i = 0; i < 3; ++i)
            stages[static_cast<size_t>(i)] = recordingStage("scene", 5.0f);
        demo = std::make_unique<Demo>(std::make_unique<ResourceManager>(false, true),
                                      sequencertest::timelineOf(stages));
        demo->clock.onFrames = true;
        demo->clock.offset = 0.0f;
        demo->musicPending = false;
        while (demo->loadStage() > 0) {
        }
    }

    // The beat the next frame shows after `action` from show beat `from`.
    float beatAfter(float from, AuthorAction action)
    {
        demo->seek(demo->timeOfBeat(from));
        demo->update(0.0f);
        shell::applyAuthorAction(*demo, action);
        demo->update(0.0f);
        return demo->beatAt(demo->clock.lastShowTime);
    }

    std::unique_ptr<Demo> demo;
};

} // namespace

TEST_F(AuthorKeysTest, BeatAndSceneKeysLandOnWholeBeatsAndSceneStarts)
{
    struct Case {
        float from;
        AuthorAction action;
        float beat;
    };
    const Case cases[] = {
        {12.4f, AuthorAction::BeatForward, 13.0f},   {12.4f, AuthorAction::BeatBack, 12.0f},
        {12.0f, AuthorAction::BeatForward, 13.0f},   {12.0f, AuthorAction::BeatBack, 11.0f},
        {12.4f, AuthorAction::SceneStart, 9.0f},     {12.4f, AuthorAction::NextScene, 18.0f},
        {12.4f, AuthorAction::PreviousScene, 0.0f},  {3.0f, AuthorAction::PreviousScene, 3.0f},
        {20.0f, AuthorAction::NextScene, 20.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from beat " << c.from << ", action " << static_cast<int>(c.action));
        EXPECT_NEAR(beatAfter(c.from, c.action), c.beat, 1e-3f);
    }
}

TEST(AuthorKeyTableTest, TheShowsOwnKeysAreNoAuthorKeys)
{
    // Escape, F2, keypad minus, space, and the letters scenes and accents
    // read (A B C D I J K M Q R S W X Z).
    for (int key : {27, 113, 109, 32, 65, 66, 67, 68, 73, 74, 75, 77, 81, 82, 83, 87, 88, 90}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(shell::authorActionOf(key), AuthorAction::None);
    }
    EXPECT_EQ(shell::authorActionOf('P'), AuthorAction::Pause);
    EXPECT_EQ(shell::authorActionOf(39), AuthorAction::BeatForward);
}
