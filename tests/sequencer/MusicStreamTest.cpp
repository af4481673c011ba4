#include "platform/AudioDriver.h"
#include "support/TestMusic.h"

#include "mp3writer/Mp3Writer.h"
#include "platform/Clock.h"
#include "sequencer/MusicStream.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

class MusicStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        musicPath = folder.path("music.mp3");
        ASSERT_TRUE(mp3writer::writeFile(musicPath, mediatest::toneMp3(3.0, {{0.0, 3.0}})));
    }

    mediatest::ScratchFolder folder;
    mediatest::AudioDriver driver{mediatest::noDevice};
    testsupport::MessageRecorder messages;
    std::string musicPath;
};

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

} // namespace

TEST_F(MusicStreamTest, AMissingFileIsReportedWithItsPathAndLeavesNoStream)
{
    const std::string missing = folder.path("no-such-music.mp3");
    MusicStream music;
    EXPECT_FALSE(music.open(missing));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Cannot find file");
    EXPECT_EQ(messages.messages[0].text, missing);
    EXPECT_FALSE(messages.messages[0].question);

    EXPECT_FALSE(music.hasStream());
    EXPECT_FALSE(music.setPositionMs(5000));
    music.unpause();
    EXPECT_EQ(music.rawPositionMs(), 0);
}

TEST_F(MusicStreamTest, AFileThatIsNoMp3PlaysNothingWithoutAMessageBox)
{
    const std::string path = folder.path("broken.mp3");
    ASSERT_TRUE(mp3writer::writeFile(path, {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 9}));
    MusicStream music;
    EXPECT_FALSE(music.open(path));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(music.hasStream());
}

TEST_F(MusicStreamTest, OpensPausedSeeksAndAdvancesOnceUnpaused)
{
    MusicStream music;
    ASSERT_TRUE(music.open(musicPath));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(music.rawPositionMs(), 0);
    EXPECT_FALSE(music.waitForRawPositionChange(40.0));  // paused: stands still

    ASSERT_TRUE(music.setPositionMs(2500));
    EXPECT_EQ(music.rawPositionMs(), 2500);

    music.unpause();
    EXPECT_TRUE(music.waitForRawPositionChange(1000.0));
    const int moved = music.rawPositionMs();
    EXPECT_GT(moved, 2500);
    EXPECT_LT(moved, 3000);
}

TEST_F(MusicStreamTest, TheWaitForAChangeEndsWithoutAStream)
{
    MusicStream music;  // never opened
    const double before = platform::wallClockMs();
    EXPECT_FALSE(music.waitForRawPositionChange(5000.0));
    EXPECT_LT(platform::wallClockMs() - before, 100.0);

    MusicStream missing;
    missing.open(folder.path("gone.mp3"));
    missing.unpause();
    EXPECT_FALSE(missing.waitForRawPositionChange(5000.0));
}

TEST_F(MusicStreamTest, PositionSecondsRisesWithTheWallClockBetweenRawSteps)
{
    MusicStream music;
    ASSERT_TRUE(music.open(musicPath));
    ASSERT_TRUE(music.setPositionMs(2000));

    // A new raw position is taken as it is...
    EXPECT_FLOAT_EQ(music.positionSeconds(), 2.0f);
    // ...and while it stands still (paused here) the value follows the
    // wall clock from the moment the raw position was first seen.
    const double first = platform::wallClockMs();
    const float a = music.positionSeconds();
    sleepMs(30);
    const float b = music.positionSeconds();
    const double last = platform::wallClockMs();
    EXPECT_GE(b - a, 0.030f - 0.001f);
    EXPECT_LE(b - a, static_cast<float>((last - first) * 0.001) + 0.001f);

    // The next raw step starts the smoothing again from the new value.
    ASSERT_TRUE(music.setPositionMs(3000));
    EXPECT_NEAR(music.positionSeconds(), 3.0f, 0.001f);
}

TEST_F(MusicStreamTest, PositionSecondsFollowsPlaybackWithoutGoingBackwards)
{
    mediatest::AudioDriver device(mediatest::dummyDevice);
    MusicStream music;
    ASSERT_TRUE(music.open(musicPath));
    music.unpause();
    ASSERT_TRUE(music.waitForRawPositionChange(1000.0));
    float previous = music.positionSeconds();
    const double until = platform::wallClockMs() + 250.0;
    while (platform::wallClockMs() < until) {
        float now = music.positionSeconds();
        // A raw step that comes late lands behind the smoothed value by the
        // delay; even on a busy machine that is far less than this.
        EXPECT_GT(now, previous - 0.25f);
        previous = std::max(previous, now);
        sleepMs(2);
    }
    EXPECT_GT(previous, 0.2f);
}

TEST_F(MusicStreamTest, OpeningAgainReplacesThePlayingStream)
{
    mediatest::AudioDriver device(mediatest::dummyDevice);
    MusicStream music;
    ASSERT_TRUE(music.open(musicPath));
    music.unpause();
    ASSERT_TRUE(music.waitForRawPositionChange(1000.0));
    // The first stream decodes on the device's thread from the file's bytes
    // while the second file is read in.
    ASSERT_TRUE(music.open(musicPath));
    EXPECT_EQ(music.rawPositionMs(), 0);
    EXPECT_FALSE(music.waitForRawPositionChange(60.0));  // paused again
}
