#include "SwfTestMovies.h"

#include "swf/swfCharacter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;
using swftest::movieBytes;
using swftest::readInto;

namespace {

const swfShape* readShape(swfMovie& movie, const Shape& shape)
{
    TagWriter tags;
    tags.defineShape(shape);
    if (readInto(movie, movieBytes(tags)) != 1)
        return nullptr;
    return dynamic_cast<const swfShape*>(movie.character(shape.id));
}

FillStyle gradient()
{
    FillStyle f;
    f.type = FillStyle::linearGradient;
    f.stops = {{0, {0, 255, 0, 255}}, {255, {0, 0, 255, 255}}};
    return f;
}

FillStyle bitmap()
{
    FillStyle f;
    f.type = FillStyle::clippedBitmap;
    f.bitmapId = 9;
    f.matrix = Matrix::translation(5, 5);
    return f;
}

TEST(SwfReaderShapes, ColourComesFromTheLastSolidFillOfTheFirstArray)
{
    struct Row {
        const char* name;
        int version;
        std::vector<FillStyle> fills;
        swfColour expected;
    };
    const Row rows[] = {
        {"gradient then solid red", 1, {gradient(), FillStyle::solidColour({255, 0, 0, 255})}, {1, 0, 0, 1}},
        {"gradient only", 2, {gradient()}, {0, 0, 0, 1}},
        {"no fills", 1, {}, {0, 0, 0, 1}},
        {"the last solid wins", 2, {FillStyle::solidColour({0, 255, 0, 0}), FillStyle::solidColour({0, 0, 255, 0})}, {0, 0, 1, 1}},
        {"bitmap then solid", 1, {bitmap(), FillStyle::solidColour({51, 102, 153, 0})}, {0.2f, 0.4f, 0.6f, 1}},
        {"DefineShape3 reads alpha", 3, {FillStyle::solidColour({255, 255, 0, 51})}, {1, 1, 0, 0.2f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Shape shape;
        shape.id = 12;
        shape.version = row.version;
        shape.fills = row.fills;
        shape.lines = {LineStyle{40, {1, 2, 3, 4}}};
        shape.records = {StraightEdge{100, 0}};
        swfMovie movie;
        const swfShape* read = readShape(movie, shape);
        ASSERT_NE(read, nullptr);
        EXPECT_FLOAT_EQ(read->baseColour.r, row.expected.r);
        EXPECT_FLOAT_EQ(read->baseColour.g, row.expected.g);
        EXPECT_FLOAT_EQ(read->baseColour.b, row.expected.b);
        EXPECT_FLOAT_EQ(read->baseColour.a, row.expected.a);
        EXPECT_EQ(read->kind, swfCharacter::shape);
    }
}

TEST(SwfReaderShapes, NewStylesInsideTheRecordsLeaveTheColourAlone)
{
    Shape shape = Shape::rectangle(3, {0, 400, 0, 400}, {255, 0, 0, 255}, 2);
    StyleChange change;
    change.newStyles = true;
    change.fills = {FillStyle::solidColour({255, 255, 255, 255}), FillStyle::solidColour({0, 0, 0, 255}),
                    FillStyle::solidColour({0, 9, 0, 255})};
    change.lines = {LineStyle{}};
    change.fill0 = 3;   // indices read with the widths in force before the change
    shape.records.push_back(change);
    shape.records.push_back(StraightEdge{-800, 0});
    swfMovie movie;
    const swfShape* read = readShape(movie, shape);
    ASSERT_NE(read, nullptr);
    EXPECT_FLOAT_EQ(read->baseColour.r, 1);
    EXPECT_FLOAT_EQ(read->baseColour.g, 0);
    EXPECT_FLOAT_EQ(read->penBoxMin.x, -40);   // the edge after the new styles still counts
}

TEST(SwfReaderShapes, PenBoxFollowsThePenAndContainsTheOrigin)
{
    struct Row {
        const char* name;
        std::vector<ShapeRecord> records;
        int32_t box[4];   // twips
    };
    StyleChange move;
    move.moveTo = std::make_pair(100, 100);
    StyleChange farMove;
    farMove.moveTo = std::make_pair(-3000, 5000);
    const Row rows[] = {
        {"positive quadrant only", {move, StraightEdge{200, 0}, StraightEdge{0, 100}, StraightEdge{-200, 0}}, {0, 0, 300, 200}},
        {"general edge", {StraightEdge{-40, 60}}, {-40, 0, 0, 60}},
        {"vertical then horizontal", {StraightEdge{0, -70}, StraightEdge{30, 0}}, {0, -70, 30, 0}},
        // Both deltas of a curve move the pen; the control point alone never
        // enters the box.
        {"curve", {CurvedEdge{1000, -2000, -500, 1000}}, {0, -1000, 500, 0}},
        {"moves are absolute", {move, farMove, StraightEdge{10, 10}}, {-3000, 0, 100, 5010}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Shape shape;
        shape.id = 2;
        shape.bounds = {-20, 40, 60, 100};
        shape.fills = {FillStyle::solidColour({255, 255, 255, 255})};
        shape.records = row.records;
        swfMovie movie;
        const swfShape* read = readShape(movie, shape);
        ASSERT_NE(read, nullptr);
        EXPECT_FLOAT_EQ(read->penBoxMin.x, row.box[0] * 0.05f);
        EXPECT_FLOAT_EQ(read->penBoxMin.y, row.box[1] * 0.05f);
        EXPECT_FLOAT_EQ(read->penBoxMax.x, row.box[2] * 0.05f);
        EXPECT_FLOAT_EQ(read->penBoxMax.y, row.box[3] * 0.05f);
        // Corners are the pen box in twips, counter-clockwise from the minimum.
        EXPECT_FLOAT_EQ(read->corners[0].x, float(row.box[0]));
        EXPECT_FLOAT_EQ(read->corners[0].y, float(row.box[1]));
        EXPECT_FLOAT_EQ(read->corners[1].x, float(row.box[2]));
        EXPECT_FLOAT_EQ(read->corners[1].y, float(row.box[1]));
        EXPECT_FLOAT_EQ(read->corners[2].x, float(row.box[2]));
        EXPECT_FLOAT_EQ(read->corners[2].y, float(row.box[3]));
        EXPECT_FLOAT_EQ(read->corners[3].x, float(row.box[0]));
        EXPECT_FLOAT_EQ(read->corners[3].y, float(row.box[3]));
        EXPECT_FLOAT_EQ(read->transformedCorners[2].x, read->corners[2].x);
        // The declared bounds are kept apart from the pen box.
        EXPECT_FLOAT_EQ(read->boundsMin.x, -1);
        EXPECT_FLOAT_EQ(read->boundsMax.y, 5);
        EXPECT_FLOAT_EQ(read->size.x, 3);
        EXPECT_FLOAT_EQ(read->size.y, 2);
    }
}

TEST(SwfReaderShapes, RedefiningAnIdReplacesTheShape)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(5, {0, 20, 0, 20}, {255, 0, 0, 255}));
    tags.defineShape(Shape::rectangle(5, {0, 40, 0, 40}, {0, 255, 0, 255}));
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    ASSERT_EQ(movie.characters().size(), 1u);
    EXPECT_FLOAT_EQ(movie.character(5)->baseColour.g, 1);
    EXPECT_FLOAT_EQ(movie.character(5)->size.x, 2);
}

TEST(SwfReaderShapes, ShapeRecordsRunningOffTheEndDefineNothing)
{
    TagWriter whole;
    whole.defineShape(Shape::rectangle(1, {0, 2000, 0, 2000}, {255, 0, 0, 255}));
    std::vector<uint8_t> body(whole.bytes().begin() + 2, whole.bytes().end());
    TagWriter tags;
    tags.defineShape(Shape::rectangle(2, {0, 20, 0, 20}, {0, 0, 255, 255}));
    tags.tag(tagDefineShape, std::vector<uint8_t>(body.begin(), body.end() - 3));
    std::vector<uint8_t> file = movieBytes(tags);
    for (size_t drop : {0, 2}) {   // with the End tag, and at the end of the data
        SCOPED_TRACE(drop);
        std::vector<uint8_t> cut(file.begin(), file.end() - static_cast<long>(drop));
        swfMovie movie;
        bool damaged = false;
        ASSERT_EQ(readInto(movie, cut, &damaged), 1);
        EXPECT_TRUE(damaged);
        EXPECT_EQ(movie.character(1), nullptr);
        EXPECT_NE(movie.character(2), nullptr);
    }
}

// Texts ---------------------------------------------------------------------

TEST(SwfReaderTexts, StyleAndGlyphRecords)
{
    Text text;
    text.id = 8;
    text.bounds = {0, 2000, -100, 300};
    text.matrix = Matrix::translation(200, 400);
    text.matrix.hasScale = true;
    text.matrix.scaleX = 0x20000;   // not kept
    TextStyle style;
    style.fontId = 3;
    style.height = 240;
    style.colour = Rgba{128, 0, 255, 255};
    style.xOffset = -20;
    style.yOffset = 40;
    text.records = {style, std::vector<GlyphEntry>{{1, 100}, {2, 90}, {3, 80}},
                    std::vector<GlyphEntry>{{700, -5}, {8, 0}}};
    TagWriter tags;
    tags.defineText(text);
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    auto read = dynamic_cast<const swfText*>(movie.character(8));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->kind, swfCharacter::text);
    EXPECT_EQ(read->fontId, 3);
    EXPECT_EQ(read->height, 240);
    EXPECT_EQ(read->xOffset, 65516);   // kept as its unsigned 16-bit value
    EXPECT_EQ(read->yOffset, 40);
    // Text colours are divided by 256, and keep alpha 1.
    EXPECT_FLOAT_EQ(read->baseColour.r, 0.5f);
    EXPECT_FLOAT_EQ(read->baseColour.g, 0);
    EXPECT_FLOAT_EQ(read->baseColour.b, 255 / 256.0f);
    EXPECT_FLOAT_EQ(read->baseColour.a, 1);
    // Only the last glyph record survives.
    ASSERT_EQ(read->glyphCount, 2);
    EXPECT_EQ(read->glyphIndices[0], 700);
    EXPECT_EQ(read->glyphIndices[1], 8);
    EXPECT_FLOAT_EQ(read->textOffset.x, 10);
    EXPECT_FLOAT_EQ(read->textOffset.y, 20);
    EXPECT_FLOAT_EQ(read->boundsMin.y, -5);
    EXPECT_FLOAT_EQ(read->size.x, 100);
    for (const swfPoint& corner : read->corners)
        EXPECT_EQ(corner.x + corner.y, 0.0f);
}

TEST(SwfReaderTexts, LongGlyphRecordsKeepTheirFirstHundred)
{
    std::vector<GlyphEntry> glyphs;
    for (uint32_t i = 0; i < 127; ++i)
        glyphs.push_back({i + 1, 0});
    Text text;
    text.id = 4;
    text.records = {glyphs};
    TagWriter tags;
    tags.defineText(text);
    tags.removeObject2(2);   // the stream stays in step after the text
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    auto read = dynamic_cast<const swfText*>(movie.character(4));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->glyphCount, swfText::maxGlyphs);
    EXPECT_EQ(read->glyphIndices[0], 1);
    EXPECT_EQ(read->glyphIndices[99], 100);
    EXPECT_EQ(movie.frames()[0].events.size(), 1u);
}

// Fonts ---------------------------------------------------------------------

TEST(SwfReaderFonts, FontInfoReadsAsManyCodesAsTheFontHasGlyphs)
{
    struct Row {
        const char* name;
        uint16_t fontId;
        int glyphs;        // DefineFont glyph count, -1 for none
        bool wide;
        std::vector<uint16_t> codes;
        bool stored;
        std::string expectedCodes;
    };
    const Row rows[] = {
        {"narrow codes", 4, 3, false, {'a', 'b', 'c'}, true, "abc"},
        {"wide codes keep their low byte", 264, 2, true, {0x141, 0x42}, true, "AB"},
        {"more codes than glyphs", 7, 1, false, {'x', 'y'}, true, "x"},
        {"no DefineFont before", 9, -1, false, {'q'}, true, ""},
        {"font id beyond the table", 265, 2, false, {'a', 'b'}, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TagWriter tags;
        if (row.glyphs >= 0)
            tags.defineFont(row.fontId, static_cast<uint16_t>(row.glyphs));
        tags.defineFontInfo({row.fontId, "Arial", row.wide, row.codes});
        swfMovie movie;
        ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
        ASSERT_EQ(movie.fonts().size(), row.stored ? 1u : 0u);
        if (!row.stored)
            continue;
        const swfFont& font = movie.fonts().at(row.fontId);
        EXPECT_EQ(font.id, row.fontId);
        EXPECT_EQ(font.name, "Arial");
        EXPECT_EQ(font.codes, row.expectedCodes);
    }
}

} // namespace
