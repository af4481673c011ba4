#include "music/Mixer.h"
#include "music/OnsetAnalysis.h"
#include "music/ShowMusic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace music;

namespace {

double rmsDb(const std::vector<int16_t>& pcm, double fromBeat, double toBeat)
{
    double sum = 0;
    const int64_t from = sampleOfBeat(fromBeat) * 2, to = sampleOfBeat(toBeat) * 2;
    for (int64_t i = from; i < to; ++i)
        sum += static_cast<double>(pcm[i]) * pcm[i];
    return 10.0 * std::log10(sum / static_cast<double>(to - from) / (32768.0 * 32768.0) + 1e-20);
}

// Energy of (left - right) / 2 against (left + right) / 2.
double sideToMidDb(const std::vector<int16_t>& pcm, double fromBeat, double toBeat)
{
    double side = 0, mid = 0;
    for (int64_t f = sampleOfBeat(fromBeat); f < sampleOfBeat(toBeat); ++f) {
        const double l = pcm[2 * f], r = pcm[2 * f + 1];
        side += (l - r) * (l - r);
        mid += (l + r) * (l + r);
    }
    return 10.0 * std::log10(side / mid);
}

bool operator==(const Note& a, const Note& b)
{
    return a.beat == b.beat && a.length == b.length && a.instrument == b.instrument && a.pitch == b.pitch &&
           a.velocity == b.velocity && a.pan == b.pan && a.tone == b.tone;
}

} // namespace

TEST(ShowMusic, SectionsStartOnTheScenesBeats)
{
    struct Row {
        const char* name;
        double beat;
    };
    const Row expected[] = {
        {"opening", 0},        {"abstract flowers", 56}, {"ribbon tunnel", 90},
        {"volume metaballs", 120}, {"shadow room", 168}, {"ribbon stack", 217},
        {"flower field", 273}, {"funk sphere", 343},     {"fluid", 397},
    };
    const std::vector<Section>& sections = showSections();
    ASSERT_EQ(sections.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < sections.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(sections[i].name, expected[i].name);
        EXPECT_EQ(sections[i].startBeat, expected[i].beat);
    }
    EXPECT_EQ(kShowEndBeat, 419);
    EXPECT_EQ(kRingOutBeats, 4);
    EXPECT_EQ(sampleOfBeat(217), 217 * 24500);
}

// Every scene's first beat carries a hit (crash, impact or kick) exactly on
// it, and nothing sounds before the track starts or after it ends.
TEST(ShowMusic, ScoreMarksEverySectionStart)
{
    const Score score = composeShowScore();
    ASSERT_EQ(score.sections.size(), showSections().size());
    EXPECT_EQ(score.endBeat, kShowEndBeat + kRingOutBeats);
    for (const Section& section : score.sections) {
        SCOPED_TRACE(section.name);
        bool marked = false;
        for (const Note& n : score.notes)
            if (n.beat == section.startBeat && (n.instrument == Instrument::Crash ||
                                                n.instrument == Instrument::Impact || n.instrument == Instrument::Kick))
                marked = true;
        EXPECT_TRUE(marked);
    }
    for (const Note& n : score.notes) {
        ASSERT_GE(n.beat, 0.0) << instrumentName(n.instrument);
        ASSERT_LE(n.beat, kShowEndBeat) << instrumentName(n.instrument);
        ASSERT_LE(n.beat + n.length, score.endBeat) << instrumentName(n.instrument) << " at " << n.beat;
    }
    // The show ends on a chord: pads sound from beat 419 on.
    int lastChord = 0;
    for (const Note& n : score.notes)
        lastChord += n.beat == kShowEndBeat && n.instrument == Instrument::Pad;
    EXPECT_GE(lastChord, 3);
}

TEST(ShowMusic, ComposingTwiceGivesTheSameScore)
{
    const Score a = composeShowScore();
    const Score b = composeShowScore();
    ASSERT_EQ(a.notes.size(), b.notes.size());
    for (size_t i = 0; i < a.notes.size(); ++i)
        ASSERT_TRUE(a.notes[i] == b.notes[i]) << "note " << i;
    for (double beat = 0; beat < a.endBeat; beat += 0.5) {
        ASSERT_EQ(a.padCutoff.at(beat), b.padCutoff.at(beat));
        ASSERT_EQ(a.duckDepth.at(beat), b.duckDepth.at(beat));
    }
}

// The whole track, rendered once: its length, level, silence at both ends,
// an audible change at every section start, and the arrangement's shape.
TEST(ShowMusic, WholeTrack)
{
    const MusicTrack track = composeShowMusic();
    EXPECT_EQ(track.sampleRate, 44100);
    EXPECT_EQ(track.channels, 2);
    EXPECT_EQ(track.frames(), static_cast<int64_t>((kShowEndBeat + kRingOutBeats) * kSamplesPerBeat));
    ASSERT_EQ(track.sections.size(), showSections().size());

    const double peak = peakDbfs(track.samples);
    EXPECT_LT(peak, -0.5);
    EXPECT_GT(peak, -6.0) << "the track is far quieter than it should be";
    EXPECT_EQ(track.samples[0], 0);
    EXPECT_EQ(track.samples[1], 0);
    EXPECT_EQ(track.samples[track.samples.size() - 1], 0);
    EXPECT_EQ(track.samples[track.samples.size() - 2], 0);

    for (const SectionOnset& onset :
         measureSectionOnsets(track.samples, track.sampleRate, track.channels, track.tempo, track.sections)) {
        SCOPED_TRACE(onset.startBeat);
        EXPECT_NEAR(onset.onsetBeat, onset.startBeat, 0.03);   // 17 ms
        EXPECT_GT(onset.jumpDb, 10.0);
    }

    // It builds from a quiet start, breaks down in the metaballs scene and
    // peaks in the ribbon stack.
    const double intro = rmsDb(track.samples, 1, 15);
    const double breakdown = rmsDb(track.samples, 128, 144);
    const double peakSection = rmsDb(track.samples, 217, 265);
    EXPECT_LT(intro, peakSection - 6.0);
    EXPECT_LT(breakdown, peakSection - 3.0);
    EXPECT_GT(breakdown, peakSection - 15.0);

    // Stereo: clearly wide, and never so out of phase that it cancels in mono.
    for (double from : {56.0, 217.0, 343.0}) {
        SCOPED_TRACE(from);
        const double width = sideToMidDb(track.samples, from, from + 16);
        EXPECT_GT(width, -20.0);
        EXPECT_LT(width, -3.0);
    }
}
