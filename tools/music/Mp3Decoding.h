// Decodes an MP3 held in memory with libmpg123 into 16-bit PCM, honouring
// the encoder's delay and padding when the file records them. Used to check
// the written track; any byte string is safe to hand in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace music {

struct DecodedAudio {
    int sampleRate = 0;
    int channels = 0;
    std::vector<int16_t> samples;   // interleaved
    int64_t frames() const { return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

// False with a message in error when the bytes hold no MPEG audio, change
// format midway, or would decode to more than maxSeconds of sound.
bool decodeMp3(const uint8_t* data, size_t size, DecodedAudio& out, std::string& error, double maxSeconds = 3600);

} // namespace music
