// Encodes PCM to MP3 with LAME: interleaved signed 16-bit stereo samples at
// 44 100 Hz in, the bytes of an MP3 file out (constant bit rate, no ID3 tag).
//
// The file starts with an "Info" frame that records the encoder delay and
// padding, so a gapless decoder gives back exactly as many samples as went
// in, sample 0 first. The output depends only on the input, so generated
// data is the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mp3writer {

constexpr int sampleRate = 44100;
constexpr int channels = 2;

// `pcm` holds left, right, left, right, ...; an odd count drops the last
// value. `bitrateKbps` is one of the MPEG-1 layer III rates (32 to 320).
// Returns an empty block when LAME refuses the settings.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& pcm, int bitrateKbps = 192);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace mp3writer
