#include "mp3writer/Mp3Writer.h"
#include "music/Mixer.h"
#include "music/Mp3Decoding.h"
#include "music/OnsetAnalysis.h"
#include "music/ShowMusic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace music;

namespace {

std::vector<int16_t> shortTrack()
{
    return renderScore(excerpt(composeShowScore(), 52, 60));
}

} // namespace

// What the show plays: an MP3 that mpg123 decodes back to 44 100 Hz stereo
// with exactly the samples that went in, in the same place.
TEST(MusicMp3, RoundTripThroughMpg123)
{
    const std::vector<int16_t> pcm = shortTrack();
    const std::vector<uint8_t> mp3 = mp3writer::encodeMp3(pcm, 192);
    ASSERT_FALSE(mp3.empty());
    const double seconds = static_cast<double>(pcm.size() / 2) / kSampleRate;
    EXPECT_NEAR(mp3.size() * 8.0 / seconds / 1000.0, 192.0, 10.0);

    DecodedAudio audio;
    std::string error;
    ASSERT_TRUE(decodeMp3(mp3.data(), mp3.size(), audio, error)) << error;
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_EQ(audio.channels, 2);
    ASSERT_EQ(audio.samples.size(), pcm.size());
    EXPECT_LT(peakDbfs(audio.samples), -0.5);

    // Aligned to the sample: the decoded audio correlates with the input.
    double cross = 0, inEnergy = 0, outEnergy = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        cross += static_cast<double>(pcm[i]) * audio.samples[i];
        inEnergy += static_cast<double>(pcm[i]) * pcm[i];
        outEnergy += static_cast<double>(audio.samples[i]) * audio.samples[i];
    }
    EXPECT_GT(cross / std::sqrt(inEnergy * outEnergy), 0.98);

    EXPECT_EQ(mp3writer::encodeMp3(pcm, 192), mp3) << "encoding is not deterministic";
}

TEST(MusicMp3, BadInputIsRefusedWithAMessage)
{
    std::string error;
    const std::vector<uint8_t> good = mp3writer::encodeMp3(std::vector<int16_t>(2 * 44100, 0), 192);
    ASSERT_FALSE(good.empty());
    std::vector<uint8_t> noise(5000);
    uint32_t x = 1;
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>((x = x * 1664525u + 1013904223u) >> 24);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"text", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'm', 'p', '3'}},
        {"random bytes", noise},
        {"only the first frame header", std::vector<uint8_t>(good.begin(), good.begin() + 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedAudio audio;
        error.clear();
        EXPECT_FALSE(decodeMp3(c.bytes.data(), c.bytes.size(), audio, error));
        EXPECT_FALSE(error.empty());
    }

    // A truncated file still gives what it holds.
    DecodedAudio partial;
    ASSERT_TRUE(decodeMp3(good.data(), good.size() / 2, partial, error)) << error;
    EXPECT_GT(partial.frames(), 0);
    EXPECT_LT(partial.frames(), 44100);

    DecodedAudio capped;
    EXPECT_FALSE(decodeMp3(good.data(), good.size(), capped, error, 0.5));
    EXPECT_NE(error.find("longer"), std::string::npos);
}

// The onset measure finds a hit to the frame and ignores steady sound.
TEST(MusicAnalysis, OnsetsAndPeak)
{
    const int rate = 44100;
    std::vector<int16_t> pcm(2 * rate * 3, 0);
    for (int f = 0; f < rate * 3; ++f) {
        const int16_t hum = static_cast<int16_t>(2000 * std::sin(f * 0.02));   // steady, from the start
        const int16_t hit = f >= 70000 && f < 71000 ? static_cast<int16_t>((f % 7) * 3000 - 9000) : 0;
        pcm[2 * f] = static_cast<int16_t>(hum + hit);
        pcm[2 * f + 1] = hum;
    }
    const double beatOfHit = 70000.0 / rate * 108.0 / 60.0;
    const std::vector<SectionOnset> onsets =
        measureSectionOnsets(pcm, rate, 2, 108.0, {{"hit", beatOfHit + 0.1}, {"steady", 4.5}});
    ASSERT_EQ(onsets.size(), 2u);
    EXPECT_NEAR(onsets[0].onsetBeat, beatOfHit, 256.0 / rate * 1.8);
    EXPECT_GT(onsets[0].jumpDb, 20.0);
    EXPECT_LT(onsets[1].jumpDb, 3.0);

    EXPECT_DOUBLE_EQ(peakDbfs({0, 16384, -8192}), 20.0 * std::log10(0.5));
    EXPECT_TRUE(std::isinf(peakDbfs({0, 0})));
}
