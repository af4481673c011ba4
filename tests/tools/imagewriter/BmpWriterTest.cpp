// The bitmap writer: a picture read back from its bytes the way the format
// defines them (bottom row first, blue-green-red, rows padded to four
// bytes) is the picture given, for widths that need padding and that do not.
#include "imagewriter/ImageWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

uint32_t little(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<size_t>(i)];
    return value;
}

TEST(BmpWriterTest, PixelsReadBackFromTheFormatsLayout)
{
    for (int width : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE("width " + std::to_string(width));
        constexpr int height = 3;
        std::vector<uint8_t> rgb;
        for (int i = 0; i < width * height * 3; ++i)
            rgb.push_back(static_cast<uint8_t>(i * 37 + 11));
        const std::vector<uint8_t> bmp = imagewriter::encodeBmp(width, height, rgb);

        const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + rowBytes * height);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(little(bmp, 2, 4), bmp.size());
        EXPECT_EQ(little(bmp, 10, 4), 54u);
        EXPECT_EQ(little(bmp, 18, 4), static_cast<uint32_t>(width));
        EXPECT_EQ(little(bmp, 22, 4), static_cast<uint32_t>(height));
        EXPECT_EQ(little(bmp, 28, 2), 24u);
        EXPECT_EQ(little(bmp, 34, 4), rowBytes * height);
        for (int y = 0; y < height; ++y) {
            const size_t row = 54 + static_cast<size_t>(height - 1 - y) * rowBytes;
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    EXPECT_EQ(bmp[row + static_cast<size_t>(x) * 3 + static_cast<size_t>(2 - c)],
                              rgb[(static_cast<size_t>(y) * width + x) * 3 + static_cast<size_t>(c)]);
            for (size_t pad = static_cast<size_t>(width) * 3; pad < rowBytes; ++pad)
                EXPECT_EQ(bmp[row + pad], 0);
        }
    }
}

TEST(BmpWriterTest, APixelBufferOfTheWrongSizeIsRefused)
{
    EXPECT_THROW(imagewriter::encodeBmp(2, 2, std::vector<uint8_t>(11)), std::invalid_argument);
    EXPECT_THROW(imagewriter::encodeBmp(0, 2, {}), std::invalid_argument);
}

} // namespace
