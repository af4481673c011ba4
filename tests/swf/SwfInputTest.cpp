#include "swf/swfInput.h"
#include "swfwriter/SwfBitWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

swfInput over(const std::vector<uint8_t>& bytes)
{
    return swfInput(bytes.data(), bytes.size());
}

TEST(SwfInput, BitFieldsAreReadMostSignificantBitFirstAcrossBytes)
{
    const std::vector<uint8_t> bytes = {0xBB, 0x3C, 0xFF, 0x80};   // 1011 1011 0011 1100 ...
    swfInput in = over(bytes);
    EXPECT_EQ(in.ub(0), 0u);
    EXPECT_EQ(in.ub(1), 1u);
    EXPECT_EQ(in.ub(3), 0x3u);     // 011
    EXPECT_EQ(in.sb(3), -3);       // 101
    EXPECT_EQ(in.ub(5), 0x13u);    // 1 0011 spans the byte boundary
    EXPECT_EQ(in.sb(4), -4);       // 1100
    EXPECT_EQ(in.sb(1), -1);       // a lone set bit is -1
    EXPECT_EQ(in.sb(0), 0);
    EXPECT_FALSE(in.failed());
}

TEST(SwfInput, WideBitFieldsKeepTheirLowBits)
{
    const std::vector<uint8_t> bytes = {0xFF, 0x00, 0x00, 0x00, 0x12, 0x34};
    swfInput in = over(bytes);
    EXPECT_EQ(in.ub(40), 0x00000012u);
    EXPECT_EQ(in.ub(8), 0x34u);
}

TEST(SwfInput, ByteReadsDropPartiallyConsumedBitsAndAreLittleEndian)
{
    const std::vector<uint8_t> bytes = {0xFF, 0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12};
    swfInput in = over(bytes);
    EXPECT_EQ(in.ub(3), 7u);
    EXPECT_EQ(in.ui16(), 0x1234);
    EXPECT_EQ(in.si16(), -2);
    EXPECT_EQ(in.ui32(), 0x12345678u);
}

TEST(SwfInput, ColoursArePackedWithAlphaOnTop)
{
    const std::vector<uint8_t> bytes = {0x11, 0x22, 0x33, 0x11, 0x22, 0x33, 0x44};
    swfInput in = over(bytes);
    EXPECT_EQ(in.rgb(), 0xFF112233u);
    EXPECT_EQ(in.rgba(), 0x44112233u);
}

TEST(SwfInput, MatrixTermsInFileOrder)
{
    swfwriter::Matrix written = swfwriter::Matrix::translation(-400, 123);
    written.hasScale = true;
    written.scaleX = 0x8000;
    written.scaleY = -0x20000;
    written.hasRotate = true;
    written.rotateSkew0 = 7;
    written.rotateSkew1 = -9;
    swfwriter::BitWriter w;
    w.matrix(written);
    w.ui8(0xAB);
    swfInput in = over(w.data());
    swfMatrix m = in.matrix();
    EXPECT_EQ(m.scaleX, 0x8000);
    EXPECT_EQ(m.scaleY, -0x20000);
    EXPECT_EQ(m.rotateSkew0, 7);
    EXPECT_EQ(m.rotateSkew1, -9);
    EXPECT_EQ(m.translateX, -400);
    EXPECT_EQ(m.translateY, 123);
    EXPECT_EQ(in.ui8(), 0xAB);
}

TEST(SwfInput, ColourTransformDefaultsAndAlphaTerms)
{
    struct Row {
        const char* name;
        bool hasMultiply, hasAdd, withAlpha;
        swfColourTransform expected;
    };
    swfColourTransform defaults;
    swfColourTransform multiplyOnly = defaults;
    multiplyOnly.redMultiply = 128;
    multiplyOnly.greenMultiply = -3;
    multiplyOnly.blueMultiply = 255;
    swfColourTransform addOnlyWithAlpha = defaults;
    addOnlyWithAlpha.redAdd = 10;
    addOnlyWithAlpha.greenAdd = 20;
    addOnlyWithAlpha.blueAdd = -30;
    addOnlyWithAlpha.alphaAdd = 40;
    const Row rows[] = {
        {"neither", false, false, true, defaults},
        // Without alpha the alpha multiplier keeps its default of 256.
        {"multiply without alpha", true, false, false, multiplyOnly},
        {"add with alpha", false, true, true, addOnlyWithAlpha},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        swfwriter::ColourTransform c;
        c.hasMultiply = row.hasMultiply;
        c.redMultiply = row.expected.redMultiply;
        c.greenMultiply = row.expected.greenMultiply;
        c.blueMultiply = row.expected.blueMultiply;
        c.alphaMultiply = 999;   // never written without alpha or multiply
        c.hasAdd = row.hasAdd;
        c.redAdd = row.expected.redAdd;
        c.greenAdd = row.expected.greenAdd;
        c.blueAdd = row.expected.blueAdd;
        c.alphaAdd = row.expected.alphaAdd;
        swfwriter::BitWriter w;
        w.colourTransform(c, row.withAlpha);
        swfInput in = over(w.data());
        swfColourTransform t = in.colourTransform(row.withAlpha);
        EXPECT_EQ(t.alphaMultiply, row.expected.alphaMultiply);
        EXPECT_EQ(t.alphaAdd, row.expected.alphaAdd);
        EXPECT_EQ(t.redMultiply, row.expected.redMultiply);
        EXPECT_EQ(t.redAdd, row.expected.redAdd);
        EXPECT_EQ(t.greenMultiply, row.expected.greenMultiply);
        EXPECT_EQ(t.greenAdd, row.expected.greenAdd);
        EXPECT_EQ(t.blueMultiply, row.expected.blueMultiply);
        EXPECT_EQ(t.blueAdd, row.expected.blueAdd);
        EXPECT_EQ(in.position(), w.data().size());
    }
}

TEST(SwfInput, ReadsPastTheLimitFailAndStayFailed)
{
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6};
    swfInput in = over(bytes);
    in.setLimit(3);
    EXPECT_EQ(in.ui16(), 0x0201);
    EXPECT_EQ(in.ui16(), 0);   // would cross the limit
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.ui8(), 0);    // still failed although a byte is left
    in.clearFailure();
    EXPECT_EQ(in.ui8(), 3);
    // A limit beyond the data is clamped to it.
    in.setLimit(100);
    in.skip(3);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.ub(1), 0u);
    EXPECT_TRUE(in.failed());
}

TEST(SwfInput, StringsNeedTheirTerminatorBeforeTheLimit)
{
    const std::vector<uint8_t> bytes = {'a', 'b', 0, 'c', 'd'};
    swfInput in = over(bytes);
    EXPECT_EQ(in.string(), "ab");
    EXPECT_EQ(in.position(), 3u);
    EXPECT_EQ(in.string(), "");
    EXPECT_TRUE(in.failed());
}

TEST(SwfInput, SeekingPastTheLimitFailsOnlyTheNextRead)
{
    const std::vector<uint8_t> bytes = {1, 2};
    swfInput in = over(bytes);
    in.seek(10);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.ui8(), 0);
    EXPECT_TRUE(in.failed());
    in.skip(static_cast<size_t>(-1));   // no wrap-around past the end
    EXPECT_TRUE(in.failed());
}

} // namespace
