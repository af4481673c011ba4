#include "platform/AudioDriver.h"
#include "support/TestMusic.h"

#include "platform/AudioPlayer.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using platform::AudioPlayer;

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls until the position leaves `from`, for at most two seconds.
int64_t waitForMove(const AudioPlayer& player, int64_t from)
{
    const double deadline = platform::wallClockMs() + 2000.0;
    while (player.positionMs() == from && platform::wallClockMs() < deadline)
        sleepMs(1);
    return player.positionMs();
}

// True when `ms` is the position reached from `startMs` (a whole number of
// samples) after a whole number of buffer steps.
bool onAStep(int64_t ms, int64_t startMs, int stepSamples)
{
    const int64_t startSamples = startMs * 44100 / 1000;
    for (int64_t steps = 0; steps < 1000; ++steps)
        if ((startSamples + steps * stepSamples) * 1000 / 44100 == ms)
            return true;
    return false;
}

struct Mode {
    const char* driver;
    bool device;
};

const Mode modes[] = {
    {mediatest::dummyDevice, true},
    {mediatest::noDevice, false},
};

} // namespace

TEST(AudioPlayer, AdvancesInBufferStepsWhilePlayingAndStopsWhenPaused)
{
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(3.0, {{0.0, 3.0}});
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.driver);
        mediatest::AudioDriver driver(mode.driver);
        std::string error;
        auto player = AudioPlayer::open(mp3.data(), mp3.size(), error);
        ASSERT_TRUE(player) << error;
        EXPECT_EQ(player->hasDevice(), mode.device);
        player->seekMs(500);
        const double started = platform::wallClockMs();
        player->setPaused(false);

        int64_t first = waitForMove(*player, 500);
        int64_t second = waitForMove(*player, first);
        const double elapsed = platform::wallClockMs() - started;
        EXPECT_GT(first, 500);
        EXPECT_GT(second, first);
        EXPECT_TRUE(onAStep(first, 500, player->stepSamples())) << first;
        EXPECT_TRUE(onAStep(second, 500, player->stepSamples())) << second;
        // Real time: never more audio than wall time plus the buffers a
        // device takes ahead (SDL asks for up to two at once).
        EXPECT_LE(second - 500, elapsed + 3.0 * player->stepSamples() * 1000.0 / 44100.0);

        // Pausing waits for a running buffer request, so nothing is counted
        // after it returns.
        player->setPaused(true);
        const int64_t held = player->positionMs();
        sleepMs(150);
        EXPECT_EQ(player->positionMs(), held);
    }
}

TEST(AudioPlayer, SeeksAreClampedToTheMusic)
{
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(1.0, {{0.0, 1.0}});
    mediatest::AudioDriver driver(mediatest::noDevice);
    std::string error;
    auto player = AudioPlayer::open(mp3.data(), mp3.size(), error);
    ASSERT_TRUE(player) << error;
    const struct {
        int64_t target;
        int64_t landed;
    } cases[] = {{250, 250}, {-40, 0}, {1000, 1000}, {60000, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        player->seekMs(c.target);
        EXPECT_EQ(player->positionMs(), c.landed);
    }
}
