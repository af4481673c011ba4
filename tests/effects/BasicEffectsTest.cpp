#include "effects/EffectData.h"
#include "effects/EffectFactory.h"
#include "effects/LetterBox.h"
#include "effects/OverlayImage.h"
#include "effects/PullWarp.h"
#include "effects/ScriptPlayer.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "imagewriter/ImageWriter.h"
#include "resources/TextureUpload.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testsupport::readPixel;

std::vector<uint8_t> readScreen()
{
    std::vector<uint8_t> pixels(640 * 480 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void fillRect(int x, int y, int w, int h, float r, float g, float b)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
}

std::vector<uint8_t> solidImage(int width, int height, int channels, std::vector<uint8_t> pixel)
{
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), pixel.begin(), pixel.begin() + channels);
    return pixels;
}

class EffectsTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }

    std::unique_ptr<Effect> createEffect(const char* typeName)
    {
        return ::createEffect(EffectContext{&data.resources, 640, 480}, typeName);
    }

    testsupport::EffectData data;
};

TEST_F(EffectsTest, FactoryBuildsKnownTypesOnly)
{
    EXPECT_NE(dynamic_cast<LetterBox*>(createEffect("LetterBox").get()), nullptr);
    EXPECT_NE(dynamic_cast<PullWarp*>(createEffect("PullWarp").get()), nullptr);
    EXPECT_NE(dynamic_cast<OverlayImage*>(createEffect("OverlayImage").get()), nullptr);
    EXPECT_NE(dynamic_cast<ScriptPlayer*>(createEffect("ScriptPlayer").get()), nullptr);
    const auto built = createEffect("OverlayImage");
    EXPECT_EQ(built->resources, &data.resources);

    for (const char* name : {"Inverse", "letterbox", "LetterBox ", ""}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        EXPECT_EQ(createEffect(name), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("cannot find ") + name + "\n");
    }
}

TEST_F(EffectsTest, DescriptionsDeclareTheVarsTheEffectsRead)
{
    LetterBox letterBox(&data.resources);
    PullWarp pullWarp(&data.resources);
    OverlayImage overlay(&data.resources);
    ScriptPlayer player(&data.resources, showEffectFactory({&data.resources, 640, 480}));
    const std::pair<Effect*, std::vector<const char*>> expected[] = {
        {&letterBox, {"CutAmtX", "CutAmtY"}},
        {&pullWarp, {"pull", "alpha"}},
        {&overlay, {"r", "g", "b", "a"}},
        {&player, {"t"}},
    };
    for (const auto& entry : expected) {
        EXPECT_EQ(entry.first->vars.size(), entry.second.size());
        for (const char* name : entry.second)
            EXPECT_NE(entry.first->findVar(name), nullptr) << name;
    }
    EXPECT_EQ(pullWarp.params.at("clear").type, paramInt);
    EXPECT_EQ(overlay.params.at("filename").type, paramString);
    EXPECT_EQ(player.params.at("filename").type, paramString);
}

TEST_F(EffectsTest, LetterBoxLeavesTheMiddleOfThePicture)
{
    fillRect(0, 0, 640, 480, 1, 1, 1);
    LetterBox effect(&data.resources);
    EXPECT_EQ(effect.setParams("CutAmtY=0.1;"), 1);
    effect.finishLoad();
    effect.update(0.0f);
    // Bars of 48 rows (10 % of 480) at the bottom and the top.
    const struct {
        int row;
        uint8_t value;
    } rows[] = {{0, 0}, {47, 0}, {48, 255}, {240, 255}, {431, 255}, {432, 0}, {479, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        EXPECT_EQ(readPixel(5, row.row)[0], row.value);
        EXPECT_EQ(readPixel(634, row.row)[1], row.value);
    }
}

TEST_F(EffectsTest, OverlayImageDrawsHalfTransparentOverTheFrame)
{
    imagewriter::writeFile("data/red.png", imagewriter::encodePng(640, 480, 3, solidImage(640, 480, 3, {255, 0, 0})));
    fillRect(0, 0, 640, 480, 0, 0, 1);
    OverlayImage effect(&data.resources);
    EXPECT_EQ(effect.setParams("filename=red.png;r=1;g=1;b=1;a=0.5;blendSrc=770;blendDst=771;"), 7);
    effect.finishLoad();
    ASSERT_NE(effect.texture, 0u);
    EXPECT_EQ(effect.target, resources::textureRectangle);
    effect.update(0.0f);
    for (const auto& at : {std::pair<int, int>{0, 0}, {320, 240}, {639, 479}}) {
        const auto pixel = readPixel(at.first, at.second);
        EXPECT_NEAR(pixel[0], 128, 2);
        EXPECT_EQ(pixel[1], 0);
        EXPECT_NEAR(pixel[2], 127, 2);
    }
}

TEST_F(EffectsTest, OverlayImageShowsAPowerOfTwoJpegUpright)
{
    // Top half green, bottom half red, as the file stores its rows.
    std::vector<uint8_t> rgb = solidImage(256, 128, 3, {0, 255, 0});
    const std::vector<uint8_t> red = solidImage(256, 128, 3, {255, 0, 0});
    rgb.insert(rgb.end(), red.begin(), red.end());
    imagewriter::writeFile("data/two.halves.JPG", imagewriter::encodeJpeg(256, 256, rgb));
    OverlayImage effect(&data.resources);
    effect.setParams("filename=two.halves.JPG;blendEnable=0;");
    effect.finishLoad();
    ASSERT_NE(effect.texture, 0u);
    EXPECT_EQ(effect.target, static_cast<unsigned>(GL_TEXTURE_2D));
    effect.update(0.0f);
    const auto top = readPixel(320, 400);
    const auto bottom = readPixel(320, 80);
    EXPECT_GT(top[1], 200);
    EXPECT_LT(top[0], 60);
    EXPECT_GT(bottom[0], 200);
    EXPECT_LT(bottom[1], 60);
}

TEST(OverlayImageMarks, TheBoxOfTexelsThatAreNotOpaqueWhite)
{
    struct Case {
        const char* name;
        int channels, column, row;
        std::vector<uint8_t> texel;
        ScreenBox box;
    } cases[] = {
        {"all white", 3, 0, 0, {255, 255, 255}, {0, 0, 0, 0}},
        {"one grey texel", 3, 5, 1, {255, 254, 255}, {5, 2, 1, 1}},
        {"white seen through", 4, 0, 3, {255, 255, 255, 0}, {0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resources::DecodedImage image{8, 4, c.channels, solidImage(8, 4, c.channels, {255, 255, 255, 255})};
        std::copy(c.texel.begin(), c.texel.end(), &image.pixels[(c.row * 8 + c.column) * c.channels]);
        const ScreenBox box = markedBox(image);
        EXPECT_EQ(box.x, c.box.x);
        EXPECT_EQ(box.y, c.box.y);
        EXPECT_EQ(box.width, c.box.width);
        EXPECT_EQ(box.height, c.box.height);
    }
}

TEST_F(EffectsTest, OverlayImageMarkedPartDrawsOnlyWhereThePictureIsNotWhite)
{
    // White with a black block in columns 100..139 and rows 50..79 from the top.
    std::vector<uint8_t> rgb = solidImage(640, 480, 3, {255, 255, 255});
    for (int row = 50; row < 80; ++row)
        std::fill_n(&rgb[(row * 640 + 100) * 3], 40 * 3, uint8_t{0});
    imagewriter::writeFile("data/block.png", imagewriter::encodePng(640, 480, 3, rgb));
    OverlayImage effect(&data.resources);
    effect.setParams("filename=block.png;blendEnable=0;");
    effect.finishLoad();
    ASSERT_NE(effect.texture, 0u);
    fillRect(0, 0, 640, 480, 0.6f, 0.6f, 0.6f);
    glColor4f(1, 1, 1, 1);
    effect.drawMarkedPart();
    EXPECT_EQ(readPixel(120, 480 - 65)[0], 0);      // the block
    EXPECT_EQ(readPixel(320, 240)[0], 153);         // white in the picture: not drawn
    EXPECT_EQ(readPixel(99, 480 - 65)[0], 255);     // the texel round the block is
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(EffectsTest, OverlayImageNamesThatAreNotPictures)
{
    struct Row {
        const char* name;
        const char* message;
    };
    const Row rows[] = {
        {"title.jpeg", "COverlayImage: neither PNG nor JPEG\n"},
        {"noextension", "COverlayImage: neither PNG nor JPEG\n"},
        {"missing.PNG", "File not found: data/missing.PNG\nCOverlayImage: error loading missing.PNG\n"},
        {"broken.jpg", "COverlayImage: error loading broken.jpg\n"},
    };
    data.write("broken.jpg", "not a picture");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fillRect(0, 0, 640, 480, 0, 0, 0);
        OverlayImage effect(&data.resources);
        effect.setParams((std::string("filename=") + row.name + ";r=0;g=1;b=0;a=1;").c_str());
        testing::internal::CaptureStdout();
        effect.finishLoad();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.message);
        EXPECT_EQ(effect.texture, 0u);
        // Without a picture the coloured quad is still drawn.
        effect.update(0.0f);
        EXPECT_EQ(readPixel(320, 240)[1], 255);
    }
}

class PullWarpTest : public EffectsTest {
protected:
    // A white square in the middle of a black frame.
    void drawFrame()
    {
        fillRect(0, 0, 640, 480, 0, 0, 0);
        fillRect(270, 190, 100, 100, 1, 1, 1);
    }
};

TEST_F(PullWarpTest, BelowItsThresholdsTheFrameIsUntouched)
{
    const char* settings[] = {"pull=0;alpha=1;", "pull=0.001;alpha=1;", "pull=1;alpha=0.001;", "pull=1;alpha=0;"};
    for (const char* text : settings) {
        SCOPED_TRACE(text);
        drawFrame();
        const std::vector<uint8_t> before = readScreen();
        PullWarp effect(&data.resources);
        effect.setParams(text);
        effect.setParams("clear=1;");
        effect.finishLoad();
        effect.update(0.0f);
        EXPECT_TRUE(readScreen() == before);
    }
}

TEST_F(PullWarpTest, PullingDrawsTheMiddleTowardsTheCorners)
{
    drawFrame();
    PullWarp effect(&data.resources);
    // Strength 8: the corners show the picture an eighth of the way out.
    effect.setParams("pull=4;alpha=1;blendEnable=0;");
    effect.finishLoad();
    effect.update(0.0f);
    EXPECT_EQ(readPixel(2, 477)[0], 255);
    EXPECT_EQ(readPixel(320, 240)[0], 255);
    EXPECT_FLOAT_EQ(data.resources.get(shared::pullWarp)->strength, 8.0f);
}

TEST_F(PullWarpTest, WithoutItsSharedObjectsItDrawsNothing)
{
    drawFrame();
    const std::vector<uint8_t> before = readScreen();
    PullWarp effect(nullptr);
    effect.setParams("pull=1;alpha=1;");
    effect.update(0.0f);
    EXPECT_TRUE(readScreen() == before);
}

} // namespace
