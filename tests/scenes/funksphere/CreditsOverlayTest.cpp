#include "effects/SharedObjects.h"
#include "imagewriter/ImageWriter.h"
#include "resources/KeyValue.h"
#include "resources/Pictures.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "resources/TextureUpload.h"
#include "scenes/funksphere/CreditsOverlay.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>
#include <png.h>

#include <cmath>
#include <fstream>
#include <memory>

namespace {

class CreditsOverlayTest : public ShowResourcesTest {
protected:
    void SetUp() override
    {
        ShowResourcesTest::SetUp();
        CreditsOverlay::creditIndex = 0;
    }
    void TearDown() override
    {
        CreditsOverlay::creditIndex = 0;
        ShowResourcesTest::TearDown();
    }

    // Grey everywhere, so additive drawing shows as a change.
    static void fillGrey()
    {
        glClearColor(0.4f, 0.4f, 0.4f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }

    static std::vector<uint8_t> blue(int pixels)
    {
        std::vector<uint8_t> rgb(static_cast<size_t>(pixels) * 3, 0);
        for (size_t i = 2; i < rgb.size(); i += 3)
            rgb[i] = 255;
        return rgb;
    }

    static std::vector<uint8_t> screen()
    {
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // How many pixels of rows [y0, y1) (from the top) differ from `before`.
    static int changedRows(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, int y0, int y1)
    {
        int changed = 0;
        for (int y = 480 - y1; y < 480 - y0; ++y)
            for (int x = 0; x < 640; ++x)
                for (int c = 0; c < 3; ++c)
                    if (before[(y * 640 + x) * 4 + c] != after[(y * 640 + x) * 4 + c]) {
                        ++changed;
                        break;
                    }
        return changed;
    }
};

} // namespace

TEST_F(CreditsOverlayTest, EachPersonsCreditShowsTheNameAboveTheSphereAndTheBannerAcrossTheMiddle)
{
    CreditsOverlay credits(resources.get(), 64, 64);
    for (int index : {0, 2, 3}) {
        SCOPED_TRACE(index);
        CreditsOverlay::creditIndex = index;
        fillGrey();
        const auto before = screen();
        credits.draw(1.0f);
        const auto after = screen();
        EXPECT_GT(changedRows(before, after, 40, 200), 2000);    // the name,
        EXPECT_LT(changedRows(before, after, 200, 280), 2000);   // clear of the sphere
        EXPECT_GT(changedRows(before, after, 290, 350), 2000);   // the banner
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_RECTANGLE, &bound);
        EXPECT_EQ(bound, 0);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE));
    }
}

TEST_F(CreditsOverlayTest, TheNameDrawsAsTheWholeGridWouldOnBothSurfaces)
{
    // The whole warp grid through the same picture and ripple, drawn the
    // plain way, is the reference; the banner rows are left out of the
    // comparison (the reference has no banner). The 512 x 512 surface is
    // the viewport over the 640 x 480 test buffer, its top 32 rows cut off.
    std::unique_ptr<char[]> cfg = resources->readFile("funksphere.cfg");
    ASSERT_NE(cfg, nullptr);
    std::unique_ptr<char[]> file = kvString(cfg.get(), "vellum");
    ASSERT_NE(file, nullptr);
    GLTexture name = createTexture(resources::textureRectangle);
    loadPictureTexture(*resources, file.get());
    CreditsOverlay credits(resources.get(), 64, 64);
    CreditsOverlay::creditIndex = 2;
    const struct { int width, height; float frequency, t; int bannerTop, bannerBottom; } rows[] = {
        {640, 480, 15.0f, 1.0f, 280, 360}, {640, 480, 0.5f, 4.0f, 280, 360},
        {512, 512, 15.0f, 2.5f, 248, 328}, {512, 512, 3.0f, 7.0f, 248, 328}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << " at " << row.t);
        credits.width = row.width;
        credits.height = row.height;
        credits.frequency = row.frequency;
        glViewport(0, 0, row.width, row.height);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(resources::textureRectangle);
        glBindTexture(resources::textureRectangle, name.get());
        glColor4f(1, 1, 1, 1);
        credits.WarpGrid::update(row.t + 5.0f);
        const auto whole = screen();
        glClear(GL_COLOR_BUFFER_BIT);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);   // as another pass may leave it
        credits.draw(row.t);
        const auto after = screen();
        EXPECT_GT(changedRows(std::vector<uint8_t>(after.size(), 0), whole, 0, row.bannerTop), 2000);
        EXPECT_EQ(changedRows(whole, after, 0, row.bannerTop), 0);
        EXPECT_EQ(changedRows(whole, after, row.bannerBottom, 480), 0);
    }
    glViewport(0, 0, 640, 480);
}

TEST_F(CreditsOverlayTest, PicturesLoadByTheirContentInTheColoursTheyShow)
{
    // A blue JPEG name whose file name says PNG, and a red banner of palette
    // colours.
    testsupport::TempDirectory folder;
    std::ofstream(folder.path() / "funksphere.cfg") << "quarkjay = \"name.png\"\nmusic = \"banner.png\"\n";
    imagewriter::writeFile((folder.path() / "name.png").string(),
                           imagewriter::encodeJpeg(640, 360, blue(640 * 360)));
    imagewriter::writeFile((folder.path() / "banner.png").string(),
                           imagewriter::encodePngRows(640, 80, PNG_COLOR_TYPE_PALETTE, 8, std::vector<uint8_t>(640 * 80, 1),
                                                      {0, 0, 0, 255, 40, 0}));
    ResourceManager own(false, false);
    own.dataDir = folder.path().string() + "/";
    CreditsOverlay credits(&own, 64, 64);
    fillGrey();
    const auto before = screen();
    credits.draw(1.0f);
    const auto after = screen();
    EXPECT_GT(changedRows(before, after, 80, 260), 2000);   // the name
    const uint8_t* banner = &after[((480 - 320) * 640 + 320) * 4];
    EXPECT_GT(banner[0], banner[1] + 80);   // red, not a grey palette index
    EXPECT_GT(banner[2], 200);              // over the name
}

TEST_F(CreditsOverlayTest, ZeroAlphaStillRipplesButLeavesThePicture)
{
    CreditsOverlay credits(resources.get(), 64, 64);
    credits.alpha = 0;
    fillGrey();
    const auto before = screen();
    credits.draw(3.0f);
    EXPECT_EQ(changedRows(before, screen(), 0, 480), 0);
    // The ripple was computed all the same: the grid's corner moved in.
    EXPECT_GT(credits.texS(0, 0), 0.0f);
}

TEST_F(CreditsOverlayTest, IndicesWithoutAPersonDrawNothing)
{
    CreditsOverlay credits(resources.get(), 64, 64);
    for (int index : {4, 5, 6, -1, 1000}) {
        SCOPED_TRACE(index);
        CreditsOverlay::creditIndex = index;
        fillGrey();
        const auto before = screen();
        credits.draw(1.0f);
        EXPECT_EQ(changedRows(before, screen(), 0, 480), 0);
    }
}

TEST_F(CreditsOverlayTest, CreditOneDrawsGridAndBannerWithNothingBound)
{
    CreditsOverlay credits(resources.get(), 64, 64);
    CreditsOverlay::creditIndex = 1;
    fillGrey();
    const auto before = screen();
    credits.draw(1.0f);
    const auto after = screen();
    // Untextured grid and banner: the whole screen is drawn over, evenly.
    EXPECT_EQ(changedRows(before, after, 0, 480), 640 * 480);
    EXPECT_EQ(after[(240 * 640 + 320) * 4], after[(10 * 640 + 10) * 4]);
}

TEST_F(CreditsOverlayTest, WithoutItsSettingsTheOverlayDrawsNothing)
{
    CreditsOverlay credits(nullptr, 64, 64);
    fillGrey();
    const auto before = screen();
    credits.draw(1.0f);
    EXPECT_EQ(changedRows(before, screen(), 0, 480), 0);
}

TEST_F(CreditsOverlayTest, RippleKeepsTheCentreAndPullsEachPointByItsDistanceToTheWaveCentres)
{
    CreditsOverlay credits(nullptr, 64, 64);
    for (int size : {640, 512}) {
        credits.width = size;
        credits.height = size == 640 ? 480 : 512;
        const float centreS = size / 2.0f, centreT = (3 * credits.height / 4) / 2.0f;
        for (float frequency : {0.5f, 15.0f})
            for (float a : {0.0f, 2.0f, 7.5f}) {
                credits.frequency = frequency;
                credits.computeWarp(a);
                EXPECT_NEAR(credits.texS(32, 32), centreS, 1e-3f);
                EXPECT_NEAR(credits.texT(32, 32), centreT, 1e-3f);
            }
    }
    // Away from the centre, worked by hand: at a = 0 the two wave centres
    // lie straight above and below the middle, at a quarter turn either
    // side of it, and a point is pulled in by the waves' sum there.
    credits.width = 640;
    credits.height = 480;
    credits.frequency = 0.5f;
    const struct { float a; int column, row; float s, t; } rows[] = {
        {0.0f, 48, 32, 387.309f, 180.0f},
        {0.0f, 32, 48, 320.0f, 277.925f},
        {0.0f, 48, 48, 394.530f, 276.474f},
        {1.5707963f, 48, 32, 385.911f, 180.0f},
        {1.5707963f, 32, 48, 320.0f, 217.861f},
        {1.5707963f, 48, 48, 388.491f, 221.923f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "a " << row.a << ", point " << row.column << ", " << row.row);
        credits.computeWarp(row.a);
        EXPECT_NEAR(credits.texS(row.column, row.row), row.s, 0.05f);
        EXPECT_NEAR(credits.texT(row.column, row.row), row.t, 0.05f);
    }
}

TEST_F(CreditsOverlayTest, SetNameTakesArgumentOneAsTheCredit)
{
    swfMovie movie;
    const struct { swfArguments arguments; int expected; } rows[] = {
        {{"setName", "2"}, 2},
        {{"setName", "3", "ignored"}, 3},
        {{"setName"}, 3},   // no argument: the credit stays
        {{"setName", "0"}, 0},
    };
    for (const auto& row : rows) {
        CreditsOverlay::setName(movie, row.arguments);
        EXPECT_EQ(CreditsOverlay::creditIndex, row.expected);
    }
}
