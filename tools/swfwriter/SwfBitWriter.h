// Writes the SWF encodings: little-endian integers, bit fields packed most
// significant bit first, and the byte-aligned RECT, MATRIX and CXFORM
// structures with the smallest field widths that hold their values.
#pragma once

#include "swfwriter/SwfRecords.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace swfwriter {

class BitWriter {
public:
    // Byte-level writes first pad any partial byte with zero bits.
    void ui8(uint8_t value);
    void ui16(uint16_t value);
    void ui32(uint32_t value);
    void bytes(const std::vector<uint8_t>& data);
    // The bytes of `text` and a terminating zero.
    void string(const std::string& text);
    void rgb(Rgba colour);
    void rgba(Rgba colour);

    void ub(unsigned bits, uint32_t value);
    void sb(unsigned bits, int32_t value);
    void align();

    // `minimumBits` widens the fields beyond what the values need.
    void rect(const Rect& r, unsigned minimumBits = 0);
    void matrix(const Matrix& m);
    void colourTransform(const ColourTransform& c, bool withAlpha);

    // The bytes written so far, the last partial byte padded.
    const std::vector<uint8_t>& data();

    // The fewest bits that hold each value as SB (0 for all zeros) or UB.
    static unsigned signedBits(std::initializer_list<int32_t> values);
    static unsigned unsignedBits(uint32_t value);

private:
    std::vector<uint8_t> bytes_;
    uint8_t partial_ = 0;
    unsigned partialBits_ = 0;
};

} // namespace swfwriter
