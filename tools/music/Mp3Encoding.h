// MP3 encoding of 16-bit PCM with libmp3lame: constant bit rate, joint
// stereo, no ID3 tag, and a LAME "Info" header that records the encoder's
// delay and padding, so decoders that honour it (mpg123 does) give back
// exactly as many samples as went in. The bytes depend only on the input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// interleaved: frames x channels samples. Returns an empty vector and sets
// error when the encoder refuses the parameters.
std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& interleaved, int sampleRate, int channels, int kbps,
                               std::string& error);

} // namespace music
