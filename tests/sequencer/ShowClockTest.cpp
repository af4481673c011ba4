#include "sequencer/ShowClock.h"

#include <gtest/gtest.h>

TEST(ShowClockTest, FramesCountOnlyWhileCountedAndTheShowRunsOnItsOwnClock)
{
    ShowClock clock;
    clock.framesPerSecond = 25;
    // Live: counter seconds, never backwards.
    const double first = clock.nextFrame(false);
    EXPECT_GE(first, 0.0);
    EXPECT_GE(clock.nextFrame(false), first);
    // Capture toggled on: the frame-loop time counts captured frames from
    // zero, while the scenes stay on the counter.
    for (int n = 0; n < 3; ++n)
        EXPECT_DOUBLE_EQ(clock.nextFrame(true), n / 25.0) << n;
    EXPECT_LT(clock.clockAt(123.0f), 60.0f);  // the counter, not the time handed in
    // On frames (a capture from the start) the scenes follow the count too,
    // which goes on where it stood.
    clock.onFrames = true;
    EXPECT_DOUBLE_EQ(clock.nextFrame(false), 3 / 25.0);
    EXPECT_FLOAT_EQ(clock.clockAt(0.12f), 0.12f);
}

TEST(ShowClockTest, AJumpHandsTheNextSceneTheShowTimeAtTheSameClock)
{
    ShowClock clock;
    clock.onFrames = true;
    clock.offset = 3.99f;  // a start at a later scene with t = 4
    const struct {
        float clock, sceneStart, target;
    } rows[] = {{0.0f, 0.0f, 0.0f}, {10.05f, 31.111113f, 31.111113f}, {100.0f, 93.333336f, 120.5f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target);
        clock.jumpTo(row.clock, row.sceneStart, row.target);
        EXPECT_NEAR(clock.showTime(row.clock, row.sceneStart), row.target, 1e-4);
        // and runs on from there one second later
        EXPECT_NEAR(clock.showTime(row.clock + 1.0f, row.sceneStart), row.target + 1.0f, 1e-4);
    }
    EXPECT_FLOAT_EQ(clock.showTimeInScene(93.333336f, 2.0f), 93.333336f + 3.99f + 2.0f);
}
