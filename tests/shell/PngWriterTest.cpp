#include "shell/PngWriter.h"

#include "support/TestMusic.h"
#include "resources/ImageDecoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

TEST(PngWriterTest, WritesTheReadBackUprightAsRgb)
{
    mediatest::ScratchFolder folder;
    // 3 x 2 pixels as glReadPixels gives them: the bottom row first.
    const unsigned char rgba[] = {
        10, 20, 30, 0,   40, 50, 60, 9,   70, 80, 90, 255,   // bottom
        1,  2,  3,  0,   4,  5,  6,  0,   7,  8,  9,  0,     // top
    };
    std::string error;
    ASSERT_TRUE(shell::writePng(folder.path("a.png"), 3, 2, rgba, error)) << error;
    std::ifstream in(folder.path("a.png"), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    resources::DecodedImage image;
    ASSERT_TRUE(resources::decodePng(bytes.data(), bytes.size(), 0, image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(PngWriterTest, AFileThatCannotBeWrittenIsReported)
{
    mediatest::ScratchFolder folder;
    const unsigned char pixel[4] = {};
    std::string error;
    EXPECT_FALSE(shell::writePng(folder.path("no/such/folder.png"), 1, 1, pixel, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(shell::writePng(folder.path("empty.png"), 0, 1, pixel, error));
    EXPECT_FALSE(std::filesystem::exists(folder.path("empty.png")));
}
