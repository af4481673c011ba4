// Renders a score into the finished track: voices on their buses, the pad
// bus's filter, the kick's side-chain pumping, reverb and echo sends, then
// the master's DC filter, compressor, limiter and closing fade, and finally
// 16-bit samples.
//
// The result depends only on the score: the noise is seeded per note, the
// processing is the same sample by sample whatever the block size, and
// nothing reads the clock, threads or uninitialised memory.
#pragma once

#include "music/Score.h"

#include <cstdint>
#include <vector>

namespace music {

// The master limiter's ceiling: -2 dBFS. MP3 encoding adds overshoots of
// up to about a decibel at loud, bright moments; this keeps the decoded
// track below -0.5 dBFS too.
constexpr float kCeiling = 0.7943f;

struct MixOptions {
    int blockSize = 512;
    // Bit (1 << instrument) set: that instrument's notes are left out (for
    // listening to or measuring parts of the mix on their own).
    uint32_t mutedInstruments = 0;
};

inline uint32_t instrumentBit(Instrument instrument)
{
    return 1u << static_cast<unsigned>(instrument);
}

// Interleaved stereo, sampleOfBeat(score.endBeat) frames.
std::vector<int16_t> renderScore(const Score& score, const MixOptions& options = {});

} // namespace music
