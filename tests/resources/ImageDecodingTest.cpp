#include "imagewriter/ImageWriter.h"
#include "resources/ImageDecoding.h"
#include "resources/TextureUpload.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>
#include <png.h>

#include <gtest/gtest.h>

#include <array>

using namespace resources;

namespace {

std::vector<uint8_t> gradient(int width, int height, int channels)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels[(static_cast<size_t>(y) * width + x) * channels + c] = static_cast<uint8_t>(x * 7 + y * 3 + c * 50);
    return pixels;
}

} // namespace

TEST(ImageDecoding, GreyAndCmykJpegsComeOutAsTheirColoursInRgb)
{
    // Every row decoded, none skipped: the first and the last are checked.
    const int w = 16, h = 16;
    struct Case {
        const char* what;
        int components;
        std::vector<uint8_t> pixel;   // the file's, repeated over the picture
        std::array<int, 3> rgb;
    };
    const Case cases[] = {
        {"greyscale", 1, {200}, {200, 200, 200}},
        // Adobe's inverted inks: full magenta and yellow, no cyan, no black.
        {"CMYK red", 4, {255, 0, 0, 255}, {255, 0, 0}},
        // No ink but half the black.
        {"CMYK grey", 4, {255, 255, 255, 128}, {128, 128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> pixels;
        for (int i = 0; i < w * h; ++i)
            pixels.insert(pixels.end(), c.pixel.begin(), c.pixel.end());
        const auto file = imagewriter::encodeJpegComponents(w, h, c.components, pixels, 100);
        DecodedImage image;
        ASSERT_TRUE(decodeJpeg(file.data(), file.size(), image));
        ASSERT_EQ(image.channels, 3);
        for (size_t at : {size_t{0}, static_cast<size_t>(w * h - 1) * 3})
            for (int channel = 0; channel < 3; ++channel)
                EXPECT_NEAR(image.pixels[at + channel], c.rgb[channel], 3) << "byte " << at + channel;
        std::vector<uint8_t> callerBuffer(w * h * 3);
        ASSERT_TRUE(decodeJpegPixels(file.data(), file.size(), callerBuffer.data()));
        EXPECT_EQ(callerBuffer, image.pixels);
    }
}

TEST(ImageDecoding, PngsOfEveryKindGiveTheColoursTheyShow)
{
    using imagewriter::encodePngRows;
    const std::vector<uint8_t> palette = {0, 0, 0, 250, 20, 10, 30, 200, 40};
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        int transforms;
        std::vector<uint8_t> pixels;   // 2 x 1, as decoded
    };
    const Case cases[] = {
        {"palette", encodePngRows(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 2}, palette), 0,
         {250, 20, 10, 30, 200, 40}},
        {"palette, 2 bits a pixel", encodePngRows(2, 1, PNG_COLOR_TYPE_PALETTE, 2, {0x60}, palette), 0,
         {250, 20, 10, 30, 200, 40}},
        {"palette with transparency", encodePngRows(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 2}, palette, {255, 128}),
         0, {250, 20, 10, 128, 30, 200, 40, 255}},
        {"grey and alpha", encodePngRows(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {90, 255, 10, 0}), 0,
         {90, 255, 10, 0}},
        {"grey, 4 bits", encodePngRows(2, 1, PNG_COLOR_TYPE_GRAY, 4, {0x3f}), 0, {51, 255}},
        {"16 bits a channel",
         encodePngRows(2, 1, PNG_COLOR_TYPE_RGB, 16, {1, 2, 3, 4, 5, 6, 250, 0, 128, 0, 0, 255}), 0,
         {1, 3, 5, 250, 128, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedImage image;
        ASSERT_TRUE(decodePng(c.file.data(), c.file.size(), c.transforms, image));
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.channels * 2, static_cast<int>(c.pixels.size()));
        EXPECT_EQ(image.pixels, c.pixels);
    }
}

TEST(ImageDecoding, JpegKeepsSizeRowOrderAndColour)
{
    // Top half red, bottom half blue: the first row decoded must be red.
    const int w = 16, h = 16;
    std::vector<uint8_t> rgb(w * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(y * w + x) * 3];
            p[0] = y < 8 ? 255 : 0;
            p[2] = y < 8 ? 0 : 255;
        }
    const auto file = imagewriter::encodeJpeg(w, h, rgb, 95);
    int width = 0, height = 0;
    ASSERT_TRUE(decodeJpegSize(file.data(), file.size(), width, height));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    DecodedImage image;
    ASSERT_TRUE(decodeJpeg(file.data(), file.size(), image));
    EXPECT_EQ(image.channels, 3);
    EXPECT_GT(image.pixels[0], 200);                       // first row red
    EXPECT_GT(image.pixels[(15 * w) * 3 + 2], 200);        // last row blue
    std::vector<uint8_t> callerBuffer(w * h * 3);
    ASSERT_TRUE(decodeJpegPixels(file.data(), file.size(), callerBuffer.data()));
    EXPECT_EQ(callerBuffer, image.pixels);
}

TEST(ImageDecoding, CorruptPicturesFailQuietly)
{
    const auto jpeg = imagewriter::encodeJpeg(8, 8, gradient(8, 8, 3));
    // Large enough that the cut falls inside the scan data, where libjpeg
    // only warns and fills the rest with grey.
    const auto bigJpeg = imagewriter::encodeJpeg(64, 64, gradient(64, 64, 3));
    const auto png = imagewriter::encodePng(8, 8, 4, gradient(8, 8, 4));
    struct Case { const char* what; std::vector<uint8_t> bytes; bool isPng; };
    std::vector<Case> cases = {
        {"empty jpeg", {}, false},
        {"jpeg header only", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20), false},
        {"jpeg cut in the scan", std::vector<uint8_t>(jpeg.begin(), jpeg.end() - 60), false},
        {"jpeg cut to half its length", std::vector<uint8_t>(bigJpeg.begin(), bigJpeg.begin() + bigJpeg.size() / 2),
         false},
        {"png signature only", std::vector<uint8_t>(png.begin(), png.begin() + 8), true},
        {"png cut in the data", std::vector<uint8_t>(png.begin(), png.end() - 20), true},
        {"text", {'h', 'e', 'l', 'l', 'o', '!', '!', '!', '!'}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedImage image;
        const bool ok = c.isPng ? decodePng(c.bytes.data(), c.bytes.size(), 0, image)
                                : decodeJpeg(c.bytes.data(), c.bytes.size(), image);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST(ImageDecoding, PngChannelsFollowTheTransforms)
{
    struct Case { int channels; int transforms; int expectedChannels; };
    const Case cases[] = {
        {4, 0, 4},
        {4, PNG_TRANSFORM_STRIP_ALPHA, 3},
        {1, 0, 1},
        {2, 0, 2},
        {3, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, transforms " << c.transforms);
        const auto pixels = gradient(5, 3, c.channels);
        const auto file = imagewriter::encodePng(5, 3, c.channels, pixels);
        DecodedImage image;
        ASSERT_TRUE(decodePng(file.data(), file.size(), c.transforms, image));
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.channels, c.expectedChannels);
        // First texel of the second row, first channel, survives unchanged.
        EXPECT_EQ(image.pixels[5 * image.channels], pixels[5 * c.channels]);
    }
}

TEST(TextureTarget, PowersOfTwoGive2DOthersRectangle)
{
    EXPECT_EQ(textureTargetFor(512, 512), static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(textureTargetFor(32, 1), static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(textureTargetFor(640, 480), textureRectangle);
    EXPECT_EQ(textureTargetFor(512, 480), textureRectangle);
    EXPECT_EQ(textureTargetFor(0, 512), textureRectangle);
}

using TextureUploadTest = GLTest;

TEST_F(TextureUploadTest, FormatFollowsChannelCount)
{
    struct Case { int channels; GLint format; };
    const Case cases[] = {{1, GL_LUMINANCE}, {2, GL_LUMINANCE_ALPHA}, {3, GL_RGB}, {4, GL_RGBA}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        DecodedImage image{4, 4, c.channels, gradient(4, 4, c.channels)};
        ASSERT_TRUE(uploadImage(image));
        GLint internal = 0, filter = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(internal, c.format);
        EXPECT_EQ(filter, GL_LINEAR);
        glDeleteTextures(1, &texture);
    }
}

TEST_F(TextureUploadTest, RowsAreStoredAsTheFileHoldsThem)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(textureRectangle, texture);
    DecodedImage image{3, 2, 3, {10, 20, 30, 0, 0, 0, 0, 0, 0, 40, 50, 60, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(uploadImage(image));
    uint8_t texels[18] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(textureRectangle, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(texels[0], 10); // first file row = texture row 0
    EXPECT_EQ(texels[9], 40);
    glDeleteTextures(1, &texture);
}
