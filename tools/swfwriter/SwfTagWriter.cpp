#include "swfwriter/SwfTagWriter.h"

#include "swfwriter/SwfBitWriter.h"

#include <algorithm>
#include <cassert>
#include <type_traits>

namespace swfwriter {

namespace {

void writeColour(BitWriter& w, Rgba colour, bool alpha)
{
    alpha ? w.rgba(colour) : w.rgb(colour);
}

void writeCount(BitWriter& w, size_t count)
{
    assert(count <= 0xFFFF);
    if (count < 0xFF) {
        w.ui8(static_cast<uint8_t>(count));
    } else {
        w.ui8(0xFF);
        w.ui16(static_cast<uint16_t>(count));
    }
}

void writeFillStyles(BitWriter& w, const std::vector<FillStyle>& fills, bool alpha)
{
    writeCount(w, fills.size());
    for (const FillStyle& fill : fills) {
        w.ui8(fill.type);
        if (fill.type & 0x10) {
            w.matrix(fill.matrix);
            w.ui8(static_cast<uint8_t>(fill.stops.size()));
            for (const GradientStop& stop : fill.stops) {
                w.ui8(stop.ratio);
                writeColour(w, stop.colour, alpha);
            }
        } else if (fill.type & 0x40) {
            w.ui16(fill.bitmapId);
            w.matrix(fill.matrix);
        } else {
            writeColour(w, fill.colour, alpha);
        }
    }
}

void writeLineStyles(BitWriter& w, const std::vector<LineStyle>& lines, bool alpha)
{
    writeCount(w, lines.size());
    for (const LineStyle& line : lines) {
        w.ui16(line.width);
        writeColour(w, line.colour, alpha);
    }
}

unsigned indexBits(size_t count)
{
    return BitWriter::unsignedBits(static_cast<uint32_t>(count));
}

// Edges store their field width less two in four bits.
unsigned edgeBits(std::initializer_list<int32_t> values)
{
    unsigned bits = std::max(2u, BitWriter::signedBits(values));
    assert(bits <= 17 && "an edge moves at most 65535 twips");
    return bits;
}

struct RecordWriter {
    BitWriter& w;
    bool alpha;
    unsigned fillBits;
    unsigned lineBits;

    void operator()(const StyleChange& s)
    {
        uint32_t flags = (s.newStyles ? 0x10 : 0) | (s.line >= 0 ? 0x08 : 0) | (s.fill1 >= 0 ? 0x04 : 0) |
                         (s.fill0 >= 0 ? 0x02 : 0) | (s.moveTo ? 0x01 : 0);
        assert(flags != 0 && "a style change without changes would end the shape");
        w.ub(1, 0);
        w.ub(5, flags);
        if (s.moveTo) {
            unsigned bits = BitWriter::signedBits({s.moveTo->first, s.moveTo->second});
            w.ub(5, bits);
            w.sb(bits, s.moveTo->first);
            w.sb(bits, s.moveTo->second);
        }
        if (s.fill0 >= 0)
            w.ub(fillBits, static_cast<uint32_t>(s.fill0));
        if (s.fill1 >= 0)
            w.ub(fillBits, static_cast<uint32_t>(s.fill1));
        if (s.line >= 0)
            w.ub(lineBits, static_cast<uint32_t>(s.line));
        if (s.newStyles) {
            writeFillStyles(w, s.fills, alpha);
            writeLineStyles(w, s.lines, alpha);
            fillBits = indexBits(s.fills.size());
            lineBits = indexBits(s.lines.size());
            w.ub(4, fillBits);
            w.ub(4, lineBits);
        }
    }

    void operator()(const StraightEdge& e)
    {
        unsigned bits = edgeBits({e.dx, e.dy});
        w.ub(2, 0x3);
        w.ub(4, bits - 2);
        if (e.dx != 0 && e.dy != 0) {
            w.ub(1, 1);
            w.sb(bits, e.dx);
            w.sb(bits, e.dy);
        } else if (e.dx == 0) {
            w.ub(2, 0x1);   // vertical
            w.sb(bits, e.dy);
        } else {
            w.ub(2, 0x0);   // horizontal
            w.sb(bits, e.dx);
        }
    }

    void operator()(const CurvedEdge& e)
    {
        unsigned bits = edgeBits({e.controlDx, e.controlDy, e.anchorDx, e.anchorDy});
        w.ub(2, 0x2);
        w.ub(4, bits - 2);
        w.sb(bits, e.controlDx);
        w.sb(bits, e.controlDy);
        w.sb(bits, e.anchorDx);
        w.sb(bits, e.anchorDy);
    }
};

void writeTextRecords(BitWriter& w, const std::vector<TextRecord>& records)
{
    uint32_t maxIndex = 0;
    int32_t maxAdvance = 0;
    for (const TextRecord& record : records)
        if (auto glyphs = std::get_if<std::vector<GlyphEntry>>(&record))
            for (const GlyphEntry& g : *glyphs) {
                maxIndex = std::max(maxIndex, g.index);
                maxAdvance = std::max({maxAdvance, g.advance, -g.advance});
            }
    unsigned glyphBits = BitWriter::unsignedBits(maxIndex);
    unsigned advanceBits = BitWriter::signedBits({maxAdvance, -maxAdvance});
    w.ui8(static_cast<uint8_t>(glyphBits));
    w.ui8(static_cast<uint8_t>(advanceBits));
    for (const TextRecord& record : records) {
        if (auto style = std::get_if<TextStyle>(&record)) {
            w.ui8(static_cast<uint8_t>(0x80 | (style->fontId ? 0x08 : 0) | (style->colour ? 0x04 : 0) |
                                       (style->yOffset ? 0x02 : 0) | (style->xOffset ? 0x01 : 0)));
            if (style->fontId)
                w.ui16(*style->fontId);
            if (style->colour)
                w.rgb(*style->colour);
            if (style->xOffset)
                w.ui16(static_cast<uint16_t>(*style->xOffset));
            if (style->yOffset)
                w.ui16(static_cast<uint16_t>(*style->yOffset));
            if (style->fontId)
                w.ui16(style->height);
        } else {
            const auto& glyphs = std::get<std::vector<GlyphEntry>>(record);
            assert(!glyphs.empty() && glyphs.size() < 0x80 && "a glyph record holds 1 to 127 glyphs");
            w.ui8(static_cast<uint8_t>(glyphs.size()));
            for (const GlyphEntry& g : glyphs) {
                w.ub(glyphBits, g.index);
                w.sb(advanceBits, g.advance);
            }
        }
    }
    w.ui8(0);
}

} // namespace

Shape Shape::rectangle(uint16_t id, Rect box, Rgba colour, int version)
{
    Shape s;
    s.id = id;
    s.version = version;
    s.bounds = box;
    s.fills = {FillStyle::solidColour(colour)};
    StyleChange start;
    start.moveTo = std::make_pair(box.xMin, box.yMin);
    start.fill1 = 1;
    int32_t w = box.xMax - box.xMin, h = box.yMax - box.yMin;
    s.records = {start, StraightEdge{w, 0}, StraightEdge{0, h}, StraightEdge{-w, 0}, StraightEdge{0, -h}};
    return s;
}

void TagWriter::setBackgroundColor(Rgba colour)
{
    BitWriter w;
    w.rgb(colour);
    tag(tagSetBackgroundColor, w.data());
}

void TagWriter::defineShape(const Shape& shape)
{
    assert(shape.version >= 1 && shape.version <= 3);
    bool alpha = shape.version == 3;
    BitWriter w;
    w.ui16(shape.id);
    w.rect(shape.bounds);
    writeFillStyles(w, shape.fills, alpha);
    writeLineStyles(w, shape.lines, alpha);
    RecordWriter records{w, alpha, indexBits(shape.fills.size()), indexBits(shape.lines.size())};
    w.ub(4, records.fillBits);
    w.ub(4, records.lineBits);
    for (const ShapeRecord& record : shape.records)
        std::visit(records, record);
    w.ub(6, 0);   // end record
    static const uint16_t codes[] = {tagDefineShape, tagDefineShape2, tagDefineShape3};
    tag(codes[shape.version - 1], w.data());
}

void TagWriter::defineText(const Text& text)
{
    BitWriter w;
    w.ui16(text.id);
    w.rect(text.bounds);
    w.matrix(text.matrix);
    writeTextRecords(w, text.records);
    tag(tagDefineText, w.data());
}

void TagWriter::defineFont(uint16_t id, uint16_t glyphCount)
{
    BitWriter w;
    w.ui16(id);
    for (uint32_t i = 0; i < glyphCount; ++i)
        w.ui16(static_cast<uint16_t>(2u * glyphCount + 2u * i));
    for (uint32_t i = 0; i < glyphCount; ++i) {
        w.ui8(0x10);   // one fill index bit, no line index bits
        w.ui8(0x00);   // end record
    }
    tag(tagDefineFont, w.data());
}

void TagWriter::defineFontInfo(const FontInfo& info)
{
    assert(info.name.size() <= 0xFF);
    BitWriter w;
    w.ui16(info.id);
    w.ui8(static_cast<uint8_t>(info.name.size()));
    w.bytes(std::vector<uint8_t>(info.name.begin(), info.name.end()));
    w.ui8(info.wideCodes ? 0x01 : 0x00);
    for (uint16_t code : info.codes)
        info.wideCodes ? w.ui16(code) : w.ui8(static_cast<uint8_t>(code));
    tag(tagDefineFontInfo, w.data());
}

void TagWriter::placeObject(uint16_t character, uint16_t depth, const Matrix& matrix,
                            const ColourTransform* colourTransform)
{
    BitWriter w;
    w.ui16(character);
    w.ui16(depth);
    w.matrix(matrix);
    if (colourTransform)
        w.colourTransform(*colourTransform, false);
    tag(tagPlaceObject, w.data());
}

void TagWriter::placeObject2(const Placement& p)
{
    BitWriter w;
    w.ui8(static_cast<uint8_t>((p.move ? 0x01 : 0) | (p.character ? 0x02 : 0) | (p.matrix ? 0x04 : 0) |
                               (p.colourTransform ? 0x08 : 0) | (p.ratio ? 0x10 : 0) | (p.name ? 0x20 : 0)));
    w.ui16(p.depth);
    if (p.character)
        w.ui16(*p.character);
    if (p.matrix)
        w.matrix(*p.matrix);
    if (p.colourTransform)
        w.colourTransform(*p.colourTransform, true);
    if (p.ratio)
        w.ui16(*p.ratio);
    if (p.name)
        w.string(*p.name);
    tag(tagPlaceObject2, w.data());
}

void TagWriter::removeObject(uint16_t character, uint16_t depth)
{
    BitWriter w;
    w.ui16(character);
    w.ui16(depth);
    tag(tagRemoveObject, w.data());
}

void TagWriter::removeObject2(uint16_t depth)
{
    BitWriter w;
    w.ui16(depth);
    tag(tagRemoveObject2, w.data());
}

void TagWriter::doAction(const ActionWriter& actions)
{
    tag(tagDoAction, actions.bytes());
}

void TagWriter::defineSprite(uint16_t id, const TagWriter& body)
{
    BitWriter w;
    w.ui16(id);
    w.ui16(static_cast<uint16_t>(body.frameCount()));
    w.bytes(body.bytes());
    if (!body.ended())
        w.ui16(0);   // End tag
    tag(tagDefineSprite, w.data());
}

void TagWriter::showFrame()
{
    tag(tagShowFrame, {});
    ++frames_;
}

void TagWriter::end()
{
    tag(tagEnd, {});
}

void TagWriter::tag(uint16_t code, const std::vector<uint8_t>& body, bool longHeader)
{
    assert(code < 0x400);
    BitWriter w;
    if (body.size() < 0x3F && !longHeader) {
        w.ui16(static_cast<uint16_t>(code << 6 | body.size()));
    } else {
        w.ui16(static_cast<uint16_t>(code << 6 | 0x3F));
        w.ui32(static_cast<uint32_t>(body.size()));
    }
    w.bytes(body);
    bytes_.insert(bytes_.end(), w.data().begin(), w.data().end());
    ended_ = code == tagEnd;
}

} // namespace swfwriter
