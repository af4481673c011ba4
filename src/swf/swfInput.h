// Bounded reads of the SWF encodings: little-endian integers, bit fields,
// strings, colours, RECT, MATRIX and CXFORM. Every read is checked against a
// limit (the end of the data, or of the tag being read); a read that would
// cross it fails, returns zeros, and leaves the input failed until the
// failure is cleared, so a parser can read a whole record and check once.
// The input only views the bytes; the caller keeps them alive.
#pragma once

#include "swf/swfDisplayEvent.h"

#include <cstddef>
#include <cstdint>
#include <string>

class swfInput {
public:
    swfInput(const uint8_t* data, size_t size);

    size_t position() const { return position_; }
    size_t size() const { return size_; }
    // Moves to `offset` and drops partially consumed bits. An offset past
    // the limit is allowed; the next read then fails.
    void seek(size_t offset);

    // Reads may not pass `end`, which is clamped to the size of the data.
    void setLimit(size_t end);
    size_t limit() const { return limit_; }

    bool failed() const { return failed_; }
    void clearFailure() { failed_ = false; }

    // Byte-level reads first discard any partially consumed bits.
    uint8_t ui8();
    uint16_t ui16();
    uint32_t ui32();
    int16_t si16();
    void skip(size_t count);
    std::string bytes(size_t count);
    // Bytes up to the next zero byte, which is consumed but not returned.
    std::string string();
    // Colours packed as alpha<<24 | r<<16 | g<<8 | b; RGB has alpha 255.
    uint32_t rgb();
    uint32_t rgba();

    // Bit fields, most significant bit first. UB[0] and SB[0] are 0; a field
    // wider than 32 bits keeps its low 32 bits.
    uint32_t ub(unsigned bits);
    int32_t sb(unsigned bits);

    // The structured records start on a byte boundary.
    swfRect rect();
    swfMatrix matrix();
    swfColourTransform colourTransform(bool withAlpha);

private:
    // Whether `count` more bytes lie before the limit; marks failure if not.
    bool available(size_t count);
    void alignToByte() { bitsLeft_ = 0; }

    const uint8_t* data_;
    size_t size_;
    size_t limit_;
    size_t position_ = 0;
    uint8_t bitBuffer_ = 0;
    unsigned bitsLeft_ = 0;
    bool failed_ = false;
};
