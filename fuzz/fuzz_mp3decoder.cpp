// Feeds arbitrary bytes to the MP3 decoder as the music file: opening,
// reading, seeking back and forth and reading again must never crash or
// read outside the block, whatever the bytes claim about themselves.
#include "platform/Mp3Decoder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    std::unique_ptr<platform::Mp3Decoder> decoder = platform::Mp3Decoder::open(data, size, error);
    if (!decoder)
        return 0;
    std::vector<int16_t> block(1024 * platform::Mp3Decoder::channels);
    const int64_t length = decoder->lengthSamples();
    // Reading is bounded: at most a few blocks from each of a few places.
    const int64_t places[] = {0, length / 2, length - 10, length, length + 100, -5};
    for (int64_t place : places) {
        decoder->seek(place);
        for (int i = 0; i < 4 && decoder->read(block.data(), 1024) > 0; ++i) {
        }
    }
    return 0;
}
