#include "platform/Clock.h"
#include "platform/StopSignal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <vector>

TEST(ClockTest, WallClockAdvancesWhileTheProcessWaits)
{
    // The CPU-time clock() would barely move across a sleep; the show's
    // millisecond clock must follow real time.
    const double before = platform::wallClockMs();
    std::clock_t cpuBefore = std::clock();
    platform::sleepMilliseconds(60);
    const double waited = platform::wallClockMs() - before;
    EXPECT_GE(waited, 60.0);
    double cpuMilliseconds = 1000.0 * (std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMilliseconds, waited);
}

TEST(ClockTest, PerformanceCounterIsMonotonicAtItsFrequency)
{
    uint64_t frequency = platform::performanceFrequency();
    ASSERT_GE(frequency, 1000u);
    uint64_t first = platform::performanceCounter();
    platform::sleepMilliseconds(20);
    uint64_t second = platform::performanceCounter();
    EXPECT_GE(static_cast<double>(second - first) / frequency, 0.020);
}

TEST(StopSignalTest, SigintAndSigtermAreRecordedNotFatal)
{
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        platform::clearStopRequest();
        platform::installStopSignalHandlers();
        EXPECT_FALSE(platform::stopRequested());
        std::raise(signal);
        EXPECT_TRUE(platform::stopRequested());
    }
    platform::clearStopRequest();
}

TEST(StopSignalTest, SignalsFollowingTheFirstAndAHangupAreOneStop)
{
    // `timeout` sends SIGINT twice a few milliseconds apart; a closed
    // terminal sends SIGHUP. Each run must live on to finish its files.
    const std::vector<std::vector<int>> runs = {{SIGINT, SIGINT}, {SIGHUP}, {SIGTERM, SIGHUP, SIGINT, SIGTERM}};
    for (const std::vector<int>& signals : runs) {
        SCOPED_TRACE(testing::Message() << signals.size() << " signals, the first " << signals[0]);
        EXPECT_EXIT(
            {
                platform::installStopSignalHandlers();
                for (int signal : signals)
                    std::raise(signal);
                std::_Exit(platform::stopRequested() ? 3 : 4);
            },
            testing::ExitedWithCode(3), "");
    }
}

TEST(StopSignalTest, AHeldSignalArrivesOnlyWhenTheHoldEnds)
{
    // Without handlers SIGTERM ends the process, but not inside the hold.
    EXPECT_EXIT(
        {
            std::signal(SIGTERM, SIG_DFL);
            {
                platform::StopSignalHold hold;
                std::raise(SIGTERM);
                std::fputs("the file is complete\n", stderr);
            }
            std::_Exit(0);
        },
        testing::KilledBySignal(SIGTERM), "the file is complete");
}
