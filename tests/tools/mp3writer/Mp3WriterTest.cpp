#include "support/TestMusic.h"

#include "mp3writer/Mp3Writer.h"

#include <gtest/gtest.h>

TEST(Mp3Writer, TheSameMusicGivesTheSameBytes)
{
    // The data generator relies on it: generated data is identical per run.
    const std::vector<int16_t> pcm = mediatest::tonePcm(0.5, {{0.1, 0.4}});
    EXPECT_EQ(mp3writer::encodeMp3(pcm, 128), mp3writer::encodeMp3(pcm, 128));
}

TEST(Mp3Writer, TheFileSizeFollowsTheBitRate)
{
    const std::vector<int16_t> pcm = mediatest::tonePcm(2.0, {{0.0, 2.0}});
    for (int kbps : {64, 128, 192, 320}) {
        SCOPED_TRACE(kbps);
        const double expected = kbps * 1000.0 / 8.0 * 2.0;
        const double size = static_cast<double>(mp3writer::encodeMp3(pcm, kbps).size());
        // Encoder delay, padding and the Info frame add a few frames.
        EXPECT_GT(size, expected);
        EXPECT_LT(size, expected * 1.1);
    }
}
