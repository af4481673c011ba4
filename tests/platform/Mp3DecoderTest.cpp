#include "support/TestMusic.h"

#include "platform/Mp3Decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::Mp3Decoder;

namespace {

std::vector<int16_t> readAll(Mp3Decoder& decoder)
{
    std::vector<int16_t> all;
    std::vector<int16_t> block(4096 * 2);
    while (size_t got = decoder.read(block.data(), 4096))
        all.insert(all.end(), block.begin(), block.begin() + got * 2);
    return all;
}

// First sample whose level stands out from silence.
size_t onset(const std::vector<int16_t>& pcm)
{
    for (size_t i = 0; i < pcm.size(); ++i)
        if (std::abs(pcm[i]) > 2000)
            return i / 2;
    return pcm.size() / 2;
}

} // namespace

TEST(Mp3Decoder, GivesBackEverySampleThatWasEncodedInPlace)
{
    // Silence, then a tone from 0.5 s: the tone must start where it was put.
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(1.5, {{0.5, 1.5}});
    ASSERT_FALSE(mp3.empty());
    std::string error;
    auto decoder = Mp3Decoder::open(mp3.data(), mp3.size(), error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->lengthSamples(), 66150);

    std::vector<int16_t> pcm = readAll(*decoder);
    EXPECT_EQ(pcm.size(), 66150u * 2);
    EXPECT_EQ(decoder->position(), 66150);
    // MP3 smears a sharp onset back by at most one granule (576 samples).
    EXPECT_NEAR(static_cast<double>(onset(pcm)), 22050.0, 576.0);
    EXPECT_LT(mediatest::rmsLevel(pcm, 0, 20000), 100.0);
    EXPECT_GT(mediatest::rmsLevel(pcm, 23000, 20000), 5000.0);
}

TEST(Mp3Decoder, SeeksToTheSampleAskedForAndClampsOutsideTheMusic)
{
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(2.0, {{1.0, 2.0}});
    std::string error;
    auto decoder = Mp3Decoder::open(mp3.data(), mp3.size(), error);
    ASSERT_TRUE(decoder) << error;

    struct Case {
        int64_t target;
        int64_t landed;
    } cases[] = {
        {44100, 44100},   // the tone's onset
        {1000, 1000},     // backwards
        {-500, 0},        // before the start
        {88200, 88200},   // the very end
        {500000, 88200},  // beyond it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(decoder->seek(c.target), c.landed);
        EXPECT_EQ(decoder->position(), c.landed);
    }

    // After a seek the samples are those of that time: the onset at 1 s is
    // found again, measured from where the seek landed.
    decoder->seek(40000);
    std::vector<int16_t> tail = readAll(*decoder);
    EXPECT_EQ(tail.size(), (88200u - 40000u) * 2);
    EXPECT_NEAR(static_cast<double>(onset(tail)), 4100.0, 576.0);
}

TEST(Mp3Decoder, DoublesMonoAndResamplesOtherRates)
{
    // Music from elsewhere may be mono at a lower rate; it still plays at
    // the device's rate, in both ears, for as long as it lasts.
    const std::vector<uint8_t> mp3 = mediatest::monoMp3(1.0, 22050);
    ASSERT_FALSE(mp3.empty());
    std::string error;
    auto decoder = Mp3Decoder::open(mp3.data(), mp3.size(), error);
    ASSERT_TRUE(decoder) << error;
    // Without LAME's Info frame the encoder delay and padding stay in: at
    // most a few frames of 1152 output samples more than went in.
    EXPECT_GE(decoder->lengthSamples(), 44100);
    EXPECT_LE(decoder->lengthSamples(), 44100 + 4 * 1152);
    std::vector<int16_t> pcm = readAll(*decoder);
    EXPECT_EQ(static_cast<int64_t>(pcm.size() / 2), decoder->lengthSamples());
    size_t differing = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2)
        differing += pcm[i] != pcm[i + 1];
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(mediatest::rmsLevel(pcm, 10000, 20000), 5000.0);
}

TEST(Mp3Decoder, RefusesBytesThatAreNoMp3)
{
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(0.3, {{0.0, 0.3}});
    std::vector<uint8_t> noise(5000);
    std::srand(7);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(std::rand());
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"noise", noise},
        {"first header only", std::vector<uint8_t>(mp3.begin(), mp3.begin() + 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        auto decoder = Mp3Decoder::open(c.bytes.data(), c.bytes.size(), error);
        EXPECT_FALSE(decoder);
        EXPECT_FALSE(error.empty());
    }
}

TEST(Mp3Decoder, ATruncatedFileDecodesWhatIsThere)
{
    const std::vector<uint8_t> mp3 = mediatest::toneMp3(2.0, {{0.0, 2.0}});
    const std::vector<uint8_t> half(mp3.begin(), mp3.begin() + mp3.size() / 2);
    std::string error;
    auto decoder = Mp3Decoder::open(half.data(), half.size(), error);
    ASSERT_TRUE(decoder) << error;
    std::vector<int16_t> pcm = readAll(*decoder);
    EXPECT_GT(pcm.size() / 2, 30000u);
    EXPECT_LT(pcm.size() / 2, 60000u);
    EXPECT_EQ(static_cast<int64_t>(pcm.size() / 2), decoder->position());
}
