#include "imagewriter/ImageWriter.h"
#include "pack/PackBuilder.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "resources/TextureUpload.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>
#include <png.h>

#include <string>
#include <vector>

namespace {

std::string asString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<uint8_t> solid(int width, int height, int channels, uint8_t value)
{
    return std::vector<uint8_t>(static_cast<size_t>(width) * height * channels, value);
}

// A data folder with the pictures the tests load, made current so that
// "data/" resolves into it.
class ImageLoadersTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        folder.write("data/square.jpg", asString(imagewriter::encodeJpeg(512, 512, solid(512, 512, 3, 200))));
        folder.write("data/screen.jpg", asString(imagewriter::encodeJpeg(640, 480, solid(640, 480, 3, 90))));
        folder.write("data/alpha.png", asString(imagewriter::encodePng(8, 8, 4, solid(8, 8, 4, 77))));
        folder.write("data/grey.png", asString(imagewriter::encodePng(6, 5, 1, solid(6, 5, 1, 33))));
        folder.write("data/broken.png", "\x89PNG\r\n\x1a\n not really");
        folder.makeCurrent();
    }

    GLuint boundTexture(GLenum target)
    {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(target, texture);
        textures.push_back(texture);
        return texture;
    }

    void TearDown() override { glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data()); }

    GLint internalFormat(GLenum target)
    {
        GLint format = 0;
        glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        return format;
    }
    GLint texWidth(GLenum target)
    {
        GLint width = 0;
        glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &width);
        return width;
    }

    testsupport::TempDirectory folder;
    std::vector<GLuint> textures;
};

} // namespace

TEST_F(ImageLoadersTest, JpegSizeChoosesTheTarget)
{
    ResourceManager resources(false, true);
    struct Case { const char* name; int width, height; GLenum target; };
    const Case cases[] = {{"square.jpg", 512, 512, GL_TEXTURE_2D}, {"screen.jpg", 640, 480, GL_TEXTURE_RECTANGLE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int width = 0, height = 0;
        ASSERT_EQ(jpegSize(resources, c.name, width, height), 0);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        ASSERT_EQ(resources::textureTargetFor(width, height), c.target);
        boundTexture(c.target);
        loadJpegTexture(resources, c.name);
        EXPECT_EQ(texWidth(c.target), c.width);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    int width = 0, height = 0;
    EXPECT_EQ(jpegSize(resources, "missing.jpg", width, height), -1);
}

TEST_F(ImageLoadersTest, PngFormatsFollowChannelsAndTransforms)
{
    ResourceManager resources(false, true);
    boundTexture(GL_TEXTURE_2D);
    loadPngTexture(resources, "alpha.png", 0);
    EXPECT_EQ(internalFormat(GL_TEXTURE_2D), GL_RGBA);
    boundTexture(GL_TEXTURE_2D);
    loadPngTexture(resources, "alpha.png", PNG_TRANSFORM_STRIP_ALPHA);
    EXPECT_EQ(internalFormat(GL_TEXTURE_2D), GL_RGB);
    boundTexture(GL_TEXTURE_RECTANGLE);
    loadPngTexture(resources, "grey.png", 0);
    EXPECT_EQ(internalFormat(GL_TEXTURE_RECTANGLE), GL_LUMINANCE);
}

TEST_F(ImageLoadersTest, BrokenOrMissingFilesLeaveTheBoundTextureUntouched)
{
    ResourceManager resources(false, true);
    boundTexture(GL_TEXTURE_2D);
    // A missing picture is quiet (scenes probe for them); one that is there
    // but broken is named.
    testing::internal::CaptureStderr();
    loadPngTexture(resources, "missing.png", 0);
    loadJpegTexture(resources, "missing.jpg");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    loadPngTexture(resources, "broken.png", 0);
    loadJpegTexture(resources, "broken.png");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "broken.png: the picture cannot be decoded; its texture stays empty\n"
              "broken.png: the picture cannot be decoded; its texture stays empty\n");
    EXPECT_EQ(texWidth(GL_TEXTURE_2D), 0);
    std::vector<unsigned char> pixels(512 * 512 * 3);
    EXPECT_EQ(jpegPixels(resources, "missing.jpg", pixels.data()), -1);
}

TEST_F(ImageLoadersTest, PackGivesTheSameTexelsAsTheFolder)
{
    PackBuild build;
    ASSERT_TRUE(buildPack((folder.path() / "data").string(), {"alpha.png", "square.jpg"}, folder.file("pmx.d"), build));
    const PackDirectory directory = build.table.directory();
    ResourceManager fromPack(true, true, directory);
    ResourceManager fromFolder(false, true);

    std::vector<unsigned char> packed(512 * 512 * 3), plain(512 * 512 * 3);
    ASSERT_EQ(jpegPixels(fromPack, "square.jpg", packed.data()), 0);
    ASSERT_EQ(jpegPixels(fromFolder, "square.jpg", plain.data()), 0);
    EXPECT_EQ(packed, plain);

    uint8_t texels[2][8 * 8 * 4] = {};
    ResourceManager* sources[] = {&fromPack, &fromFolder};
    for (int i = 0; i < 2; ++i) {
        boundTexture(GL_TEXTURE_2D);
        loadPngTexture(*sources[i], "alpha.png", 0);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels[i]);
    }
    EXPECT_EQ(texels[0][0], 77);
    EXPECT_EQ(std::vector<uint8_t>(texels[0], texels[0] + 256), std::vector<uint8_t>(texels[1], texels[1] + 256));
}
