// A RIFF WAVE file of 16-bit PCM: the uncompressed form of the track, for
// listening to or measuring it without an MP3 decoder in between.
#pragma once

#include <cstdint>
#include <vector>

namespace music {

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& interleaved, int sampleRate, int channels);

} // namespace music
