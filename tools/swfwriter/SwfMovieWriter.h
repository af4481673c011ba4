// Puts an SWF file together: the header (signature, version, length, frame
// size, rate and count) in front of a tag stream. Length and frame count are
// filled in from the tags unless set, so tests can write files that lie.
#pragma once

#include "swfwriter/SwfRecords.h"
#include "swfwriter/SwfTagWriter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swfwriter {

struct Header {
    std::string signature = "FWS";   // three bytes; "CWS" marks a compressed file
    uint8_t version = 6;
    Rect frameSize{0, 640 * 20, 0, 480 * 20};
    double frameRate = 30;   // stored as 8.8 fixed point
    std::optional<uint16_t> frameCount;   // default: the tags' ShowFrames
    std::optional<uint32_t> length;       // default: the file's real length
};

// The whole file; an End tag is appended when the tags lack one.
std::vector<uint8_t> writeMovie(const Header& header, const TagWriter& tags);

} // namespace swfwriter
