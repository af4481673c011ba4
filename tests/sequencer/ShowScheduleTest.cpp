// The show's own scenes, loaded from the built data and switched by the Demo
// as a capture plays them, against the music they are cut to: every scene
// must take over on the frame after its music section begins, and the show
// must end where the track does.
#include "music/ShowMusic.h"
#include "scenes/ShowTimeline.h"
#include "sequencer/Demo.h"
#include "sequencer/ShowDemoTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr float framePeriod = 1.0f / 20;   // the capture clock's default

class ShowScheduleTest : public ShowDemoTest {
protected:
    // One frame of the capture clock: which scene drew it, at what show
    // time, and whether it ended that scene.
    struct Frame {
        int scene;
        float showTime;
        bool switched;
    };

    Frame frame(int n)
    {
        const int before = demo->current;
        testing::internal::CaptureStdout();   // "new scene start"
        const int over = demo->update(static_cast<float>(n) * framePeriod);
        testing::internal::GetCapturedStdout();
        return {before, demo->clock.lastShowTime, over == 1 || demo->current != before};
    }
};

} // namespace

TEST_F(ShowScheduleTest, EverySceneTakesOverOnTheFrameAfterItsMusicSectionBegins)
{
    loadShow();

    const std::vector<music::Section>& sections = music::showSections();
    ASSERT_EQ(demo->scenes.size(), sections.size()) << "every scene of the show must load";
    const auto secondsOf = [&](double beat) { return demo->timeOfBeat(static_cast<float>(beat)); };
    bool cutToTheMusic = true;
    for (size_t i = 0; i < sections.size(); ++i) {
        EXPECT_NEAR(demo->scenes[i]->start, secondsOf(sections[i].startBeat), 1e-3) << sections[i].name;
        cutToTheMusic &= std::fabs(demo->scenes[i]->start - secondsOf(sections[i].startBeat)) <= 1e-3;
    }
    EXPECT_NEAR(demo->accumulatedStart, secondsOf(music::kShowEndBeat), 1e-3);
    ASSERT_TRUE(cutToTheMusic) << "the scenes' lengths no longer add up to the music's sections";

    // The frames around each change, the show's end last; the frames in
    // between are skipped, the scenes are drawn at whatever time they get.
    std::vector<double> changes;
    for (size_t i = 1; i < sections.size(); ++i)
        changes.push_back(sections[i].startBeat);
    changes.push_back(music::kShowEndBeat);
    for (size_t c = 0; c < changes.size(); ++c) {
        const size_t incoming = c + 1;
        SCOPED_TRACE(incoming < sections.size() ? sections[incoming].name : "the end of the show");
        const float boundary = secondsOf(changes[c]);
        const int first = static_cast<int>(std::floor(boundary / framePeriod)) - 2;
        bool ended = false;
        for (int n = first; n < first + 6 && !ended; ++n) {
            const Frame f = frame(n);
            if (f.showTime < boundary) {
                // Still the outgoing scene's music.
                EXPECT_EQ(f.scene, static_cast<int>(c)) << "at " << f.showTime << " s";
                EXPECT_FALSE(f.switched) << "ended early, at " << f.showTime << " s";
                continue;
            }
            // The first frame at or past the section's start is the one on
            // which the outgoing scene reports it has finished...
            EXPECT_EQ(f.scene, static_cast<int>(c));
            EXPECT_TRUE(f.switched) << "still running at " << f.showTime << " s";
            ended = true;
            if (incoming == sections.size())
                break;
            // ...and the next frame is the incoming scene's first, carrying
            // on with the show time.
            const Frame next = frame(n + 1);
            EXPECT_EQ(next.scene, static_cast<int>(incoming));
            EXPECT_GT(next.showTime, boundary);
            EXPECT_LE(next.showTime, boundary + 2 * framePeriod);
        }
        EXPECT_TRUE(ended) << "no change within three frames of " << boundary << " s";
    }
}
