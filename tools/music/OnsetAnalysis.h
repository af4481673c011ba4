// Measures, from the audio itself, where the sound jumps near each section
// start: the place a listener hears the new section begin. The mono signal
// is split into three bands (below 200 Hz, to 2 kHz, above), each band's
// energy is taken in frames of 256 samples, and a frame's onset strength is
// the sum over the bands of how many decibels it rises above the average of
// the 8 frames before it (falls count as nothing, a rise at most 30 dB). A kick, a crash or a
// chord entering each raise their own band, so a downbeat stands out even
// over a riser that already fills the top. The strongest frame within a
// quarter beat of the start is the onset.
#pragma once

#include "music/Score.h"

#include <cstdint>
#include <vector>

namespace music {

struct SectionOnset {
    double startBeat;      // where the section is meant to start
    double onsetBeat;      // where the biggest jump was measured
    double jumpDb;         // the onset strength there: summed rises of the bands, dB
};

std::vector<SectionOnset> measureSectionOnsets(const std::vector<int16_t>& interleaved, int sampleRate, int channels,
                                               double tempo, const std::vector<Section>& sections);

// The loudest sample relative to full scale, in dBFS (-inf for silence).
double peakDbfs(const std::vector<int16_t>& samples);

} // namespace music
