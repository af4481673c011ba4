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

TEST(PngWriterTest, AShotReplacesOnlyNothingAnEmptyFileOrAnEarlierPicture)
{
    mediatest::ScratchFolder folder;
    const unsigned char pixel[4] = {200, 100, 50, 255};
    std::string error;
    ASSERT_TRUE(shell::writePng(folder.path("earlier.png"), 1, 1, pixel, error)) << error;
    std::ofstream(folder.path("empty.png")).close();
    std::ofstream(folder.path("quillon.avi")) << "RIFF, then the rest of a video";
    std::filesystem::create_directory(folder.path("folder.png"));
    // Writing through this link fails for want of room; the link must stay.
    std::filesystem::create_symlink("/dev/full", folder.path("full.png"));
    std::filesystem::create_symlink("earlier.png", folder.path("link.png"));
    struct Case {
        const char* name;
        bool replaced;
    };
    const Case cases[] = {
        {"new.png", true}, {"earlier.png", true}, {"empty.png", true},
        {"quillon.avi", false}, {"folder.png", false}, {"full.png", false}, {"link.png", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.path(c.name);
        const auto before = std::filesystem::symlink_status(path).type();
        const bool regular = before == std::filesystem::file_type::regular;
        const uintmax_t sizeBefore = regular ? std::filesystem::file_size(path) : 0;
        error.clear();
        const unsigned char other[4] = {1, 2, 3, 255};
        EXPECT_EQ(shell::writePng(path, 1, 1, other, error), c.replaced) << error;
        if (c.replaced) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            resources::DecodedImage image;
            ASSERT_TRUE(resources::decodePng(bytes.data(), bytes.size(), 0, image));
            EXPECT_EQ(image.pixels, (std::vector<uint8_t>{1, 2, 3}));
        } else {
            EXPECT_NE(error.find("a shot never replaces it"), std::string::npos) << error;
            EXPECT_EQ(std::filesystem::symlink_status(path).type(), before);
            if (regular) {
                EXPECT_EQ(std::filesystem::file_size(path), sizeBefore);
            }
        }
    }
    // Nothing of the writer's own is left beside the pictures.
    for (const auto& entry : std::filesystem::directory_iterator(folder.path("")))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << entry.path();
}
