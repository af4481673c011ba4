#include "music/Dynamics.h"
#include "music/Mixer.h"
#include "music/ShowMusic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace music;

namespace {

// The end of the build into the first drop and the drop's first bar:
// drums, fills, riser, every tuned voice, the side-chain and a moving pad
// filter.
Score dropExcerpt()
{
    return excerpt(composeShowScore(), 52, 60);
}

} // namespace

// The mixer must give the same bytes whatever block size it runs at: block
// edges that reset or skip state would be heard as clicks.
TEST(MusicMixer, BlockSizeDoesNotChangeTheResult)
{
    const Score score = dropExcerpt();
    MixOptions options;
    options.blockSize = 512;
    const std::vector<int16_t> reference = renderScore(score, options);
    ASSERT_EQ(reference.size(), static_cast<size_t>(sampleOfBeat(8)) * 2);
    for (int blockSize : {1, 64, 1999}) {
        SCOPED_TRACE(blockSize);
        options.blockSize = blockSize;
        EXPECT_TRUE(renderScore(score, options) == reference);
    }
}

TEST(MusicMixer, SameScoreSameBytes)
{
    const Score first = dropExcerpt();
    const Score second = dropExcerpt();
    ASSERT_EQ(first.notes.size(), second.notes.size());
    EXPECT_TRUE(renderScore(first) == renderScore(second));
}

// Notes that start and stop every sixteenth, in voices whose sound is smooth
// (a dark bass, pads behind a low filter): whatever high-frequency energy
// the mix has then comes from the note boundaries. A note cut off without
// its release makes a step about a hundred times the bound.
TEST(MusicMixer, NoteBoundariesAreSmooth)
{
    Score score;
    score.endBeat = 10;
    score.fadeBeats = 0.5;
    score.padCutoff = Curve(300);
    score.duckDepth = Curve(0.0f);
    for (int i = 0; i < 32; ++i)
        score.notes.push_back(Note{i * 0.25, 0.2, Instrument::Bass, i % 2 ? 45 : 33, 1.0f, 0.0f, 0.0f});
    for (int i = 0; i < 8; ++i)
        for (int pitch : {57, 60, 64})
            score.notes.push_back(Note{static_cast<double>(i), 0.9, Instrument::Pad, pitch + (i % 2) * 2, 1.0f, 0.0f, 1.0f});
    const std::vector<int16_t> pcm = renderScore(score);

    double steepest = 0, peak = 0;
    for (int c = 0; c < 2; ++c) {
        auto x = [&](size_t f) { return pcm[2 * f + c] / 32768.0; };
        for (size_t f = 3; f < pcm.size() / 2; ++f) {
            // The third difference: near zero for smooth sound, large at a step.
            steepest = std::max(steepest, std::fabs(x(f) - 3 * x(f - 1) + 3 * x(f - 2) - x(f - 3)));
            peak = std::max(peak, std::fabs(x(f)));
        }
    }
    EXPECT_GT(peak, 0.3) << "the notes must be loud for the check to mean anything";
    EXPECT_LT(steepest, 0.02);
}

TEST(MusicMixer, MutingLeavesAnInstrumentOut)
{
    Score score;
    score.endBeat = 2;
    score.notes.push_back(Note{0.0, 0.5, Instrument::Bell, 69, 1.0f, 0.0f, 0.5f});
    MixOptions options;
    std::vector<int16_t> sounding = renderScore(score, options);
    options.mutedInstruments = instrumentBit(Instrument::Bell);
    std::vector<int16_t> muted = renderScore(score, options);
    EXPECT_TRUE(std::any_of(sounding.begin(), sounding.end(), [](int16_t s) { return std::abs(s) > 1000; }));
    EXPECT_TRUE(std::all_of(muted.begin(), muted.end(), [](int16_t s) { return s == 0; }));
}

// However hard it is driven, nothing leaves the limiter above its ceiling;
// quiet audio passes unchanged, only delayed by the look-ahead.
TEST(MusicLimiter, HoldsTheCeilingAndPassesQuietAudio)
{
    const float ceiling = 0.8f;
    Limiter limiter(ceiling, 221, 0.1);
    const int n = 44100;
    std::vector<float> left(n), right(n);
    for (int i = 0; i < n; ++i) {
        left[i] = 3.0f * std::sin(i * 0.05f) * (i % 5000 < 2500 ? 1.0f : 0.1f);
        right[i] = (i % 977 == 0) ? -6.0f : 0.2f * std::sin(i * 0.3f);
    }
    limiter.process(left.data(), right.data(), n);
    for (int i = 0; i < n; ++i) {
        ASSERT_LE(std::fabs(left[i]), ceiling * 1.0001f) << i;
        ASSERT_LE(std::fabs(right[i]), ceiling * 1.0001f) << i;
    }

    Limiter gentle(ceiling, 221, 0.1);
    std::vector<float> quietLeft(n), quietRight(n), input(n);
    for (int i = 0; i < n; ++i)
        input[i] = quietLeft[i] = quietRight[i] = 0.5f * std::sin(i * 0.01f);
    gentle.process(quietLeft.data(), quietRight.data(), n);
    const int delay = gentle.latency();
    EXPECT_EQ(delay, 220);
    for (int i = delay; i < n; ++i)
        ASSERT_EQ(quietLeft[i], input[i - delay]) << i;
}

TEST(MusicScore, ExcerptKeepsItsStretchOnly)
{
    const Score full = composeShowScore();
    const Score part = excerpt(full, 216, 220);
    EXPECT_DOUBLE_EQ(part.endBeat, 4.0);
    ASSERT_EQ(part.sections.size(), 1u);
    EXPECT_EQ(part.sections[0].name, "ribbon stack");
    EXPECT_DOUBLE_EQ(part.sections[0].startBeat, 1.0);
    for (const Note& n : part.notes) {
        EXPECT_GE(n.beat, 0.0);
        EXPECT_LT(n.beat, 4.0);
    }
    EXPECT_FLOAT_EQ(part.padCutoff.at(0), full.padCutoff.at(216));
    EXPECT_FLOAT_EQ(part.padCutoff.at(1.5), full.padCutoff.at(217.5));
    EXPECT_FLOAT_EQ(part.duckDepth.at(4), full.duckDepth.at(220));
}
