#include "music/Envelope.h"
#include "music/Oscillators.h"
#include "music/ScoreWriter.h"
#include "music/ShowMusic.h"
#include "music/Voice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace music;

namespace {

std::vector<float> envelopeLevels(const EnvelopeShape& shape, int64_t gate)
{
    Envelope e(shape, gate);
    std::vector<float> levels;
    while (!e.finished() && levels.size() < 10 * 44100)
        levels.push_back(e.next());
    return levels;
}

struct Rendered {
    std::vector<float> left, right;
    bool finished = false;
};

// Renders a voice alone, `chunk` samples at a time, for at most `seconds`.
Rendered renderVoice(const Note& note, int chunk, double seconds = 8.0)
{
    std::unique_ptr<Voice> voice = makeVoice(note, 1234);
    Rendered r;
    const size_t limit = static_cast<size_t>(seconds * kSampleRate);
    while (r.left.size() < limit) {
        std::vector<float> l(chunk, 0.0f), rr(chunk, 0.0f);
        const bool going = voice->render(l.data(), rr.data(), chunk);
        r.left.insert(r.left.end(), l.begin(), l.end());
        r.right.insert(r.right.end(), rr.begin(), rr.end());
        if (!going) {
            r.finished = true;
            break;
        }
    }
    return r;
}

} // namespace

// A click is a jump in level: the envelope must start at zero, never change
// faster than its steepest stage allows, and end at exactly zero, whatever
// stage the gate closes in.
TEST(MusicEnvelope, StartsAndEndsAtZeroWithoutJumps)
{
    struct Case {
        const char* name;
        EnvelopeShape shape;
        int64_t gate;
    };
    const Case cases[] = {
        {"closes while sustaining", {0.005, 0.1, 0.6f, 0.05}, 22050},
        {"closes during the attack", {0.2, 0.1, 0.6f, 0.05}, 1000},
        {"closes during the decay", {0.001, 0.5, 0.0f, 0.02}, 2000},
        {"one-sample gate", {0.001, 0.5, 0.5f, 0.01}, 1},
        {"zero gate counts as one", {0.001, 0.5, 0.5f, 0.01}, 0},
        {"long release", {0.01, 1.0, 1.0f, 2.0}, 4410},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> levels = envelopeLevels(c.shape, c.gate);
        ASSERT_FALSE(levels.empty());
        EXPECT_EQ(levels.front(), 0.0f);
        EXPECT_EQ(levels.back(), 0.0f);
        const double attack = std::max(1.0, std::floor(c.shape.attack * 44100));
        const double release = std::max(1.0, std::floor(c.shape.release * 44100));
        const double steepest = std::max(1.0 / attack, 3.0 / release) * 1.01;
        float biggest = 0;
        for (size_t i = 1; i < levels.size(); ++i)
            biggest = std::max(biggest, std::fabs(levels[i] - levels[i - 1]));
        EXPECT_LE(biggest, steepest);
        EXPECT_LE(static_cast<double>(levels.size()), std::max<int64_t>(c.gate, 1) + release + 2);
    }
}

// Every instrument's note starts from silence, sounds, falls silent on its
// own soon after its gate, and gives the same samples however the mixer
// slices its blocks.
TEST(MusicVoices, EveryInstrumentStartsAndEndsSilentAndIgnoresBlockSize)
{
    for (int i = 0; i < static_cast<int>(Instrument::Count); ++i) {
        const Instrument instrument = static_cast<Instrument>(i);
        SCOPED_TRACE(instrumentName(instrument));
        Note note;
        note.instrument = instrument;
        note.pitch = instrument == Instrument::Bass ? 33 : 64;
        note.length = 0.5;
        note.velocity = 1.0f;
        note.pan = 0.3f;
        const Rendered whole = renderVoice(note, 4096);
        const Rendered sliced = renderVoice(note, 37);
        ASSERT_TRUE(whole.finished) << "the voice never ended";
        EXPECT_LT(whole.left.size(), static_cast<size_t>(4.0 * kSampleRate));

        float peak = 0;
        for (size_t k = 0; k < whole.left.size(); ++k) {
            ASSERT_TRUE(std::isfinite(whole.left[k]) && std::isfinite(whole.right[k]));
            peak = std::max({peak, std::fabs(whole.left[k]), std::fabs(whole.right[k])});
        }
        EXPECT_GT(peak, 0.05f) << "the voice is silent";
        EXPECT_LE(peak, 2.0f);
        EXPECT_LT(std::fabs(whole.left.front()) + std::fabs(whole.right.front()), 0.01f * peak);
        // The samples just before the end, past the release, are near zero.
        const size_t end = whole.left.size();
        size_t last = end;
        while (last > 0 && whole.left[last - 1] == 0.0f && whole.right[last - 1] == 0.0f)
            --last;
        ASSERT_GT(last, 0u);
        EXPECT_LT(std::fabs(whole.left[last - 1]) + std::fabs(whole.right[last - 1]), 0.005f * peak);

        // Both renders end in the block where the voice ended, so they
        // agree on every sample up to the shorter one's end.
        ASSERT_TRUE(sliced.finished);
        const size_t common = std::min(whole.left.size(), sliced.left.size());
        EXPECT_GE(common, last);
        EXPECT_TRUE(std::equal(whole.left.begin(), whole.left.begin() + common, sliced.left.begin()));
        EXPECT_TRUE(std::equal(whole.right.begin(), whole.right.begin() + common, sliced.right.begin()));
    }
}

TEST(MusicOscillators, SineMatchesTheLibraryAndNoiseIsSeeded)
{
    for (double phase : {0.0, 0.1, 0.25, 0.3, 0.5, 0.77, 0.999, 1.25, 13.6, -0.2}) {
        SCOPED_TRACE(phase);
        EXPECT_NEAR(sine(phase), std::sin(2.0 * kPi * phase), 5e-6);
    }
    Noise a(7), b(7), c(8);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const float x = a.next();
        EXPECT_EQ(x, b.next());
        EXPECT_GE(x, -1.0f);
        EXPECT_LT(x, 1.0f);
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
}

// The show draws its random numbers from rand() in a fixed order; composing
// the music in the same process must not move that sequence.
TEST(MusicOscillators, ComposingLeavesTheCLibraryGeneratorAlone)
{
    std::srand(1);
    const int first = std::rand();
    const int second = std::rand();
    std::srand(1);
    EXPECT_EQ(std::rand(), first);
    const Score score = composeShowScore();
    EXPECT_FALSE(score.notes.empty());
    std::unique_ptr<Voice> voice = makeVoice(score.notes.front(), 1);
    std::vector<float> l(512), r(512);
    voice->render(l.data(), r.data(), 512);
    EXPECT_EQ(std::rand(), second);
}

TEST(MusicScoreWriter, StepStringsPlaceNotesOnSixteenths)
{
    Score score;
    ScoreWriter w(score);
    StepStyle style;
    style.velocity = 0.8f;
    // A pattern shorter than the stretch repeats; a stretch that is not a
    // whole number of bars stops at its end.
    w.drums(Instrument::Kick, 10.0, 6.0, "X...x...", style);
    std::vector<double> beats;
    for (const Note& n : score.notes)
        beats.push_back(n.beat);
    EXPECT_EQ(beats, (std::vector<double>{10.0, 11.0, 12.0, 13.0, 14.0, 15.0}));
    EXPECT_NEAR(score.notes[0].velocity, 0.8f, 0.8f * 0.061f);
    EXPECT_NEAR(score.notes[1].velocity, 0.56f, 0.56f * 0.061f);

    // Bass steps: root, octave and fifth of the chord, '-' holding a note.
    score.notes.clear();
    w.bass(0.0, 1.0, "R-O5", chords::Am, 1.0f, 0.5f);
    ASSERT_EQ(score.notes.size(), 3u);
    EXPECT_EQ(score.notes[0].pitch, chords::Am.root);
    EXPECT_EQ(score.notes[1].pitch, chords::Am.root + 12);
    EXPECT_EQ(score.notes[2].pitch, chords::Am.root + 7);
    EXPECT_GT(score.notes[0].length, 0.25);
    EXPECT_LT(score.notes[0].length, 0.5);
    EXPECT_DOUBLE_EQ(score.notes[2].beat, 0.75);
}
