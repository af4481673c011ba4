#include "scenes/metaballs/ShapeMask.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A light picture whose pixels take the red byte `red` gives them.
template <class Red>
std::vector<unsigned char> picture(int width, int height, Red red)
{
    std::vector<unsigned char> rgb(width * height * 3, 255);
    for (int i = 0; i < width * height; ++i)
        rgb[i * 3] = static_cast<unsigned char>(red(i % width, i / width));
    return rgb;
}

} // namespace

TEST(ShapeMask, DarkPictureMakesASlabWithSoftenedFrontAndBack)
{
    const auto rgb = picture(32, 32, [](int, int) { return 0; });
    const ShapeMask mask = ShapeMask::fromPicture(rgb.data(), 32, 32);
    // Depths 6..26 are full before smoothing; two passes leave these values.
    const int rows[][2] = {{3, 0}, {4, 3}, {5, 51}, {6, 203}, {7, 251}, {16, 255}, {26, 203}, {28, 3}, {29, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(mask.at(17, 30, row[0]), row[1]) << "depth " << row[0];
}

TEST(ShapeMask, LoneDarkPixelsSpreadWithWrapAround)
{
    const auto rgb = picture(32, 32, [](int x, int y) {
        return x == 5 && y == 9 ? 99 : x == 20 && y == 9 ? 100 : x == 0 && y == 20 ? 0 : 255;
    });
    const ShapeMask mask = ShapeMask::fromPicture(rgb.data(), 32, 32);
    EXPECT_EQ(mask.at(5, 9, 16), 79); // (2 x 127 + 4 x 31 + 2 x 127) / 8 after the second pass
    EXPECT_EQ(mask.at(9, 5, 16), 0);  // rows are y
    EXPECT_EQ(mask.at(20, 9, 16), 0); // red 100 is not dark
    EXPECT_EQ(mask.at(30, 20, 16), 3);
    EXPECT_EQ(mask.at(29, 20, 16), 0);
}

TEST(ShapeMask, OtherSizesAreSampledAndMissingPicturesGiveNothing)
{
    // The top-left quarter is dark in both pictures.
    const auto large = picture(64, 48, [](int x, int y) { return x < 32 && y < 24 ? 0 : 255; });
    const auto small = picture(32, 32, [](int x, int y) { return x < 16 && y < 16 ? 0 : 255; });
    EXPECT_EQ(ShapeMask::fromPicture(large.data(), 64, 48).texels, ShapeMask::fromPicture(small.data(), 32, 32).texels);
    EXPECT_EQ(ShapeMask::fromPicture(nullptr, 32, 32).texels, ShapeMask().texels);
    EXPECT_EQ(ShapeMask::fromPicture(small.data(), 0, 32).texels, ShapeMask().texels);
}
