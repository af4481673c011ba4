// Any bytes handed to music-info's MP3 decoder (it reads whatever file is
// named on its command line) must be refused or decoded, never crash.
#include "music/Mp3Decoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    music::DecodedAudio audio;
    std::string error;
    if (music::decodeMp3(data, size, audio, error, 60.0)) {
        // A success always carries a format and whole frames.
        if (audio.channels < 1 || audio.channels > 2 || audio.sampleRate <= 0 ||
            audio.samples.size() % static_cast<size_t>(audio.channels) != 0)
            __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
