// The definition tags: shapes (reduced to a colour, the declared bounds and
// the box the pen visited), texts (glyph indices and style values) and fonts.
#include "swf/swfReader.h"

#include "swf/swfMovie.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

enum FillType : uint8_t { fillGradient = 0x10, fillBitmap = 0x40 };

enum ShapeFlags : uint32_t {
    shapeMoveTo = 0x01,
    shapeFillStyle0 = 0x02,
    shapeFillStyle1 = 0x04,
    shapeLineStyle = 0x08,
    shapeNewStyles = 0x10,
};

enum TextStyleFlags : uint8_t {
    textHasXOffset = 0x01,
    textHasYOffset = 0x02,
    textHasColour = 0x04,
    textHasFont = 0x08,
    textStyleRecord = 0x80,
};

swfColour unpackColour(uint32_t argb)
{
    auto channel = [argb](int shift) { return static_cast<float>((argb >> shift) & 0xFF) / 255.0f; };
    return {channel(16), channel(8), channel(0), channel(24)};
}

} // namespace

void swfReader::readShape(bool alpha)
{
    uint16_t id = input_.ui16();
    swfRect bounds = input_.rect();
    swfColour colour;   // black unless a solid fill says otherwise
    readFillStyles(alpha, &colour);
    readLineStyles(alpha);
    fillIndexBits_ = input_.ub(4);
    lineIndexBits_ = input_.ub(4);
    int64_t box[4] = {0, 0, 0, 0};
    readShapeRecords(alpha, box);
    if (input_.failed())
        return;
    auto shape = std::make_unique<swfShape>(id);
    shape->setBounds(bounds);
    shape->setPenBox(box[0], box[1], box[2], box[3]);
    shape->setBaseColour(colour);
    movie_.defineCharacter(std::move(shape));
}

// Every solid fill sets `colour` when one is given, so the last one wins;
// gradient and bitmap fills leave it alone.
void swfReader::readFillStyles(bool alpha, swfColour* colour)
{
    unsigned count = input_.ui8();
    if (count == 0xFF)
        count = input_.ui16();
    for (unsigned i = 0; i < count && !input_.failed(); ++i) {
        uint8_t type = input_.ui8();
        if (type & fillGradient) {
            input_.matrix();
            unsigned stops = input_.ui8();
            for (unsigned s = 0; s < stops; ++s) {
                input_.ui8();   // ratio
                alpha ? input_.rgba() : input_.rgb();
            }
        } else if (type & fillBitmap) {
            input_.ui16();   // bitmap id
            input_.matrix();
        } else {
            uint32_t solid = alpha ? input_.rgba() : input_.rgb();
            if (colour)
                *colour = unpackColour(solid);
        }
    }
}

void swfReader::readLineStyles(bool alpha)
{
    unsigned count = input_.ui8();
    if (count == 0xFF)
        count = input_.ui16();
    for (unsigned i = 0; i < count && !input_.failed(); ++i) {
        input_.ui16();   // width
        alpha ? input_.rgba() : input_.rgb();
    }
}

// Follows the pen through the shape records. The box (min x, min y, max x,
// max y, twips) starts at the origin and takes in the pen after every
// record, the end record included, so it always contains the origin.
void swfReader::readShapeRecords(bool alpha, int64_t box[4])
{
    int64_t x = 0, y = 0;
    for (bool done = false; !done && !input_.failed();) {
        if (input_.ub(1) == 0) {
            uint32_t flags = input_.ub(5);
            done = flags == 0;
            if (flags & shapeMoveTo) {
                unsigned bits = input_.ub(5);
                x = input_.sb(bits);
                y = input_.sb(bits);
            }
            if (flags & shapeFillStyle0)
                input_.ub(fillIndexBits_);
            if (flags & shapeFillStyle1)
                input_.ub(fillIndexBits_);
            if (flags & shapeLineStyle)
                input_.ub(lineIndexBits_);
            if (flags & shapeNewStyles) {
                readFillStyles(alpha, nullptr);
                readLineStyles(alpha);
                fillIndexBits_ = input_.ub(4);
                lineIndexBits_ = input_.ub(4);
            }
        } else if (input_.ub(1) == 1) {   // straight edge
            unsigned bits = input_.ub(4) + 2;
            if (input_.ub(1)) {
                x += input_.sb(bits);
                y += input_.sb(bits);
            } else if (input_.ub(1)) {
                y += input_.sb(bits);
            } else {
                x += input_.sb(bits);
            }
        } else {   // curved edge: only where it ends counts
            unsigned bits = input_.ub(4) + 2;
            for (int i = 0; i < 2; ++i) {
                x += input_.sb(bits);
                y += input_.sb(bits);
            }
        }
        box[0] = std::min(box[0], x);
        box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x);
        box[3] = std::max(box[3], y);
    }
}

void swfReader::readText()
{
    auto text = std::make_unique<swfText>(input_.ui16());
    text->setBounds(input_.rect());
    swfMatrix matrix = input_.matrix();
    text->textOffset = {static_cast<float>(matrix.translateX) * 0.05f, static_cast<float>(matrix.translateY) * 0.05f};
    unsigned glyphBits = input_.ui8();
    unsigned advanceBits = input_.ui8();
    for (;;) {
        uint8_t first = input_.ui8();
        if (first == 0 || input_.failed())
            break;
        if (first & textStyleRecord) {
            if (first & textHasFont)
                text->fontId = input_.ui16();
            if (first & textHasColour) {
                swfColour colour = text->baseColour;
                colour.r = static_cast<float>(input_.ui8()) / 256.0f;
                colour.g = static_cast<float>(input_.ui8()) / 256.0f;
                colour.b = static_cast<float>(input_.ui8()) / 256.0f;
                text->setBaseColour(colour);
            }
            if (first & textHasXOffset)
                text->xOffset = input_.ui16();
            if (first & textHasYOffset)
                text->yOffset = input_.ui16();
            if (first & textHasFont)
                text->height = input_.ui16();
        } else {
            // Only the last glyph record survives, and only its first glyphs.
            text->glyphCount = std::min<int32_t>(first, swfText::maxGlyphs);
            for (int i = 0; i < first; ++i) {
                uint32_t index = input_.ub(glyphBits);
                input_.ub(advanceBits);
                if (i < swfText::maxGlyphs)
                    text->glyphIndices[static_cast<size_t>(i)] = static_cast<int32_t>(index);
            }
        }
    }
    if (!input_.failed())
        movie_.defineCharacter(std::move(text));
}

// Only the glyph count is kept: the offset table's first entry is twice it.
// The glyph outlines are not needed.
void swfReader::readFont()
{
    uint16_t id = input_.ui16();
    uint16_t firstOffset = input_.ui16();
    if (!input_.failed() && id < glyphCountTableSize)
        glyphCounts_[id] = firstOffset / 2u;
}

void swfReader::readFontInfo()
{
    swfFont font;
    font.id = input_.ui16();
    font.name = input_.bytes(input_.ui8());
    bool wideCodes = (input_.ui8() & 0x01) != 0;
    if (static_cast<size_t>(font.id) >= glyphCountTableSize)
        return;
    uint32_t count = glyphCounts_[static_cast<size_t>(font.id)];
    for (uint32_t i = 0; i < count && !input_.failed(); ++i) {
        uint16_t code = wideCodes ? input_.ui16() : input_.ui8();
        font.codes.push_back(static_cast<char>(code & 0xFF));
    }
    if (!input_.failed())
        movie_.defineFont(font);
}
