// The show's one music track: 108 beats per minute, 4/4, 44 100 Hz stereo.
// Its sections follow the show's scenes; each begins on exactly the beat its
// scene begins, with a change a listener hears (a fill into it, a drop, a
// breakdown). Several scenes start off the bar line (217, 273, 343, 397): the
// section before them ends with a short bar of one to three beats that
// carries the fill, so the new section's first downbeat is the scene's first
// beat. The show ends on beat 419, where the last chord rings out for four
// more beats.
//
// Composing is deterministic: the same bytes on every run.
#pragma once

#include "music/Score.h"

#include <cstdint>
#include <vector>

namespace music {

constexpr double kShowEndBeat = 419;
constexpr double kRingOutBeats = 4;

// The scenes' first beats, in show order, with the scene names.
const std::vector<Section>& showSections();

// The arrangement: every note of the track (ShowArrangement.cpp).
Score composeShowScore();

struct MusicTrack {
    int sampleRate = kSampleRate;
    int channels = kChannels;
    double tempo = kTempo;
    std::vector<int16_t> samples;    // interleaved left, right
    std::vector<Section> sections;   // the section starts the composition used
    int64_t frames() const { return static_cast<int64_t>(samples.size()) / channels; }
};

MusicTrack composeShowMusic();

} // namespace music
