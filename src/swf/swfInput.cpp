#include "swf/swfInput.h"

#include <algorithm>

swfInput::swfInput(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0), limit_(size_) {}

void swfInput::seek(size_t offset)
{
    position_ = offset;
    alignToByte();
}

void swfInput::setLimit(size_t end)
{
    limit_ = std::min(end, size_);
}

bool swfInput::available(size_t count)
{
    if (failed_ || position_ > limit_ || count > limit_ - position_) {
        failed_ = true;
        return false;
    }
    return true;
}

uint8_t swfInput::ui8()
{
    alignToByte();
    if (!available(1))
        return 0;
    return data_[position_++];
}

uint16_t swfInput::ui16()
{
    alignToByte();
    if (!available(2))
        return 0;
    uint16_t value = static_cast<uint16_t>(data_[position_] | data_[position_ + 1] << 8);
    position_ += 2;
    return value;
}

uint32_t swfInput::ui32()
{
    uint32_t low = ui16();
    uint32_t high = ui16();
    return low | high << 16;
}

int16_t swfInput::si16()
{
    return static_cast<int16_t>(ui16());
}

void swfInput::skip(size_t count)
{
    alignToByte();
    if (available(count))
        position_ += count;
}

std::string swfInput::bytes(size_t count)
{
    alignToByte();
    if (!available(count))
        return {};
    const char* begin = reinterpret_cast<const char*>(data_ + position_);
    position_ += count;
    return std::string(begin, count);
}

std::string swfInput::string()
{
    alignToByte();
    if (!available(0))
        return {};
    const uint8_t* begin = data_ + position_;
    const uint8_t* end = data_ + limit_;
    const uint8_t* zero = std::find(begin, end, 0);
    if (zero == end) {
        failed_ = true;
        return {};
    }
    position_ += static_cast<size_t>(zero - begin) + 1;
    return std::string(begin, zero);
}

uint32_t swfInput::rgb()
{
    uint32_t r = ui8(), g = ui8(), b = ui8();
    return 0xFFu << 24 | r << 16 | g << 8 | b;
}

uint32_t swfInput::rgba()
{
    uint32_t r = ui8(), g = ui8(), b = ui8(), a = ui8();
    return a << 24 | r << 16 | g << 8 | b;
}

uint32_t swfInput::ub(unsigned bits)
{
    uint32_t value = 0;
    for (unsigned i = 0; i < bits; ++i) {
        if (bitsLeft_ == 0) {
            if (!available(1))
                return 0;
            bitBuffer_ = data_[position_++];
            bitsLeft_ = 8;
        }
        --bitsLeft_;
        value = value << 1 | ((bitBuffer_ >> bitsLeft_) & 1u);
    }
    return value;
}

int32_t swfInput::sb(unsigned bits)
{
    uint32_t value = ub(bits);
    if (bits == 0 || bits >= 32)
        return static_cast<int32_t>(value);
    uint32_t sign = 1u << (bits - 1);
    return static_cast<int32_t>((value ^ sign) - sign);
}

swfRect swfInput::rect()
{
    alignToByte();
    unsigned bits = ub(5);
    swfRect r;
    r.xMin = sb(bits);
    r.xMax = sb(bits);
    r.yMin = sb(bits);
    r.yMax = sb(bits);
    return r;
}

swfMatrix swfInput::matrix()
{
    alignToByte();
    swfMatrix m;
    if (ub(1)) {
        unsigned bits = ub(5);
        m.scaleX = sb(bits);
        m.scaleY = sb(bits);
    }
    if (ub(1)) {
        unsigned bits = ub(5);
        m.rotateSkew0 = sb(bits);
        m.rotateSkew1 = sb(bits);
    }
    unsigned bits = ub(5);
    m.translateX = sb(bits);
    m.translateY = sb(bits);
    return m;
}

swfColourTransform swfInput::colourTransform(bool withAlpha)
{
    alignToByte();
    bool hasAdd = ub(1) != 0;
    bool hasMultiply = ub(1) != 0;
    unsigned bits = ub(4);
    swfColourTransform c;
    auto term = [&] { return static_cast<int16_t>(sb(bits)); };
    if (hasMultiply) {
        c.redMultiply = term();
        c.greenMultiply = term();
        c.blueMultiply = term();
        if (withAlpha)
            c.alphaMultiply = term();
    }
    if (hasAdd) {
        c.redAdd = term();
        c.greenAdd = term();
        c.blueAdd = term();
        if (withAlpha)
            c.alphaAdd = term();
    }
    return c;
}
