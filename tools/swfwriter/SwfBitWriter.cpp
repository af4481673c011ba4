#include "swfwriter/SwfBitWriter.h"

#include <algorithm>
#include <cassert>

namespace swfwriter {

void BitWriter::ui8(uint8_t value)
{
    align();
    bytes_.push_back(value);
}

void BitWriter::ui16(uint16_t value)
{
    ui8(static_cast<uint8_t>(value));
    ui8(static_cast<uint8_t>(value >> 8));
}

void BitWriter::ui32(uint32_t value)
{
    ui16(static_cast<uint16_t>(value));
    ui16(static_cast<uint16_t>(value >> 16));
}

void BitWriter::bytes(const std::vector<uint8_t>& data)
{
    align();
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void BitWriter::string(const std::string& text)
{
    align();
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
}

void BitWriter::rgb(Rgba c)
{
    ui8(c.r);
    ui8(c.g);
    ui8(c.b);
}

void BitWriter::rgba(Rgba c)
{
    rgb(c);
    ui8(c.a);
}

void BitWriter::ub(unsigned bits, uint32_t value)
{
    assert(bits <= 32);
    for (unsigned i = bits; i-- > 0;) {
        partial_ = static_cast<uint8_t>(partial_ << 1 | ((value >> i) & 1u));
        if (++partialBits_ == 8) {
            bytes_.push_back(partial_);
            partial_ = 0;
            partialBits_ = 0;
        }
    }
}

void BitWriter::sb(unsigned bits, int32_t value)
{
    assert(bits == 32 || (bits > 0 && value >= -(int64_t{1} << (bits - 1)) && value < (int64_t{1} << (bits - 1))) ||
           (bits == 0 && value == 0));
    ub(bits, static_cast<uint32_t>(value));
}

void BitWriter::align()
{
    if (partialBits_ > 0)
        ub(8 - partialBits_, 0);
}

void BitWriter::rect(const Rect& r, unsigned minimumBits)
{
    align();
    unsigned bits = std::max(minimumBits, signedBits({r.xMin, r.xMax, r.yMin, r.yMax}));
    assert(bits < 32 && "RECT fields have at most 31 bits");
    ub(5, bits);
    sb(bits, r.xMin);
    sb(bits, r.xMax);
    sb(bits, r.yMin);
    sb(bits, r.yMax);
    align();
}

void BitWriter::matrix(const Matrix& m)
{
    align();
    ub(1, m.hasScale);
    if (m.hasScale) {
        unsigned bits = signedBits({m.scaleX, m.scaleY});
        ub(5, bits);
        sb(bits, m.scaleX);
        sb(bits, m.scaleY);
    }
    ub(1, m.hasRotate);
    if (m.hasRotate) {
        unsigned bits = signedBits({m.rotateSkew0, m.rotateSkew1});
        ub(5, bits);
        sb(bits, m.rotateSkew0);
        sb(bits, m.rotateSkew1);
    }
    unsigned bits = signedBits({m.translateX, m.translateY});
    assert(bits < 32 && "MATRIX fields have at most 31 bits");
    ub(5, bits);
    sb(bits, m.translateX);
    sb(bits, m.translateY);
    align();
}

void BitWriter::colourTransform(const ColourTransform& c, bool withAlpha)
{
    align();
    unsigned bits = std::max(
        c.hasMultiply ? signedBits({c.redMultiply, c.greenMultiply, c.blueMultiply, withAlpha ? c.alphaMultiply : 0})
                      : 0u,
        c.hasAdd ? signedBits({c.redAdd, c.greenAdd, c.blueAdd, withAlpha ? c.alphaAdd : 0}) : 0u);
    assert(bits <= 15 && "CXFORM terms have at most 15 bits");
    ub(1, c.hasAdd);
    ub(1, c.hasMultiply);
    ub(4, bits);
    if (c.hasMultiply) {
        sb(bits, c.redMultiply);
        sb(bits, c.greenMultiply);
        sb(bits, c.blueMultiply);
        if (withAlpha)
            sb(bits, c.alphaMultiply);
    }
    if (c.hasAdd) {
        sb(bits, c.redAdd);
        sb(bits, c.greenAdd);
        sb(bits, c.blueAdd);
        if (withAlpha)
            sb(bits, c.alphaAdd);
    }
    align();
}

const std::vector<uint8_t>& BitWriter::data()
{
    align();
    return bytes_;
}

unsigned BitWriter::signedBits(std::initializer_list<int32_t> values)
{
    unsigned bits = 0;
    for (int32_t v : values) {
        if (v == 0)
            continue;
        // A value needs its magnitude bits plus a sign bit; -2^k fits in k + 1.
        uint32_t magnitude = v < 0 ? ~static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
        bits = std::max(bits, unsignedBits(magnitude) + 1);
    }
    return bits;
}

unsigned BitWriter::unsignedBits(uint32_t value)
{
    unsigned bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

} // namespace swfwriter
