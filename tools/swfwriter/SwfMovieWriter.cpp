#include "swfwriter/SwfMovieWriter.h"

#include "swfwriter/SwfBitWriter.h"

#include <cassert>
#include <cmath>

namespace swfwriter {

std::vector<uint8_t> writeMovie(const Header& header, const TagWriter& tags)
{
    assert(header.signature.size() == 3);
    BitWriter w;
    w.bytes(std::vector<uint8_t>(header.signature.begin(), header.signature.end()));
    w.ui8(header.version);
    w.ui32(0);   // length, patched below
    // Readers refuse files shorter than 21 bytes; fields of at least 15 bits
    // (enough for 640 x 480) keep even an empty movie above that.
    w.rect(header.frameSize, 15);
    w.ui16(static_cast<uint16_t>(std::lround(header.frameRate * 256)));
    w.ui16(header.frameCount.value_or(static_cast<uint16_t>(tags.frameCount())));
    w.bytes(tags.bytes());
    if (!tags.ended())
        w.ui16(0);   // End tag
    std::vector<uint8_t> file = w.data();
    uint32_t length = header.length.value_or(static_cast<uint32_t>(file.size()));
    for (int i = 0; i < 4; ++i)
        file[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    return file;
}

} // namespace swfwriter
