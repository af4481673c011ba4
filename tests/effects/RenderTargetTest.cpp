#include "effects/CircleMask.h"
#include "effects/CopyScreen.h"
#include "effects/WarpGrid.h"
#include "resources/TextureUpload.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

TEST(CircleMask, DiscOfRadius255WithBlackFrame)
{
    const auto texels = resources::circleMaskTexels();
    ASSERT_EQ(texels.size(), 512u * 512u);
    auto at = [&](int column, int row) { return texels[row * 512 + column]; };
    EXPECT_EQ(at(256, 256), 255);
    EXPECT_EQ(at(0, 256), 0);
    EXPECT_EQ(at(256, 0), 0);
    EXPECT_EQ(at(511, 256), 0);
    EXPECT_EQ(at(2, 256), 255);   // the disc reaches 254 texels left of the centre
    EXPECT_EQ(at(10, 10), 0);     // corners outside the disc
    // Row 1: half-width cos(asin(-255/256)) x 255 is about 22.5, so 233 up to, not including, 278.
    EXPECT_EQ(at(232, 1), 0);
    EXPECT_EQ(at(233, 1), 255);
    EXPECT_EQ(at(277, 1), 255);
    EXPECT_EQ(at(278, 1), 0);
}

TEST(WarpGrid, PullsTowardsTheCentreAndMapsToTexels)
{
    WarpGrid grid(nullptr);
    grid.computeWarp(0.0f);
    // Grid point (0, 0) is (-1, -1): f = 1, so it lands at (-1/8, -1/8).
    EXPECT_NEAR(grid.texS(0, 0), (-0.125f + 1) * 320, 1e-3);
    EXPECT_NEAR(grid.texT(0, 0), 420 + (-0.125f + 1) * 0.5f * -360, 1e-3);
    // A point at x = -1 + 2 * 32 / 65 on row 32 as well: pulled by its distance.
    const float p = -1.0f + 64.0f / 65.0f;
    const float f = (p * p * 2) / 2.0f;
    const float warped = p + f * (p / 8 - p);
    EXPECT_NEAR(grid.texS(32, 32), (warped + 1) * 320, 1e-3);
    EXPECT_NEAR(grid.texT(32, 32), 420 + (warped + 1) * 0.5f * -360, 1e-3);
}

using CopyScreenTest = GLTest;

TEST_F(CopyScreenTest, AWarpDrawnInLargerQuadsCoversTheScreenAndFollowsTheFineGrid)
{
    // A copy of a screen that brightens to the right and to the top, drawn
    // through the grid in quads of one, two and three cells (64 rows and
    // columns leave a last quad of one cell for three).
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_QUADS);
    glColor3f(0, 0, 0), glVertex2f(0, 0);
    glColor3f(1, 0, 0), glVertex2f(640, 0);
    glColor3f(1, 1, 0), glVertex2f(640, 480);
    glColor3f(0, 1, 0), glVertex2f(0, 480);
    glEnd();
    CopyScreen copy(640, 480, false);
    copy.copyFromScreen(0, 0, 0, 0, -1, -1);
    WarpGrid grid(nullptr);
    glColor3f(1, 1, 1);
    copy.enable();
    std::vector<unsigned char> drawn[4];
    for (int cells : {1, 2, 3}) {
        glClearColor(0, 0, 1, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        grid.cellsPerQuad = cells;
        grid.update(0.0f);
        drawn[cells].resize(640 * 480 * 3);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, drawn[cells].data());
    }
    copy.disable();
    glClearColor(0, 0, 0, 0);
    for (int cells : {2, 3}) {
        SCOPED_TRACE(cells);
        int worst = 0, uncovered = 0;
        for (size_t i = 0; i < drawn[1].size(); ++i) {
            worst = std::max(worst, std::abs(drawn[cells][i] - drawn[1][i]));
            uncovered += i % 3 == 2 && drawn[cells][i] != 0;
        }
        EXPECT_EQ(uncovered, 0);
        EXPECT_LE(worst, 2);
    }
}

TEST_F(CopyScreenTest, TargetsFollowTheSizeRule)
{
    CopyScreen square(512, 512, false);
    CopyScreen screen(640, 480, false);
    EXPECT_EQ(square.target, static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(screen.target, resources::textureRectangle);
    EXPECT_NE(square.texture, screen.texture);
}

TEST_F(CopyScreenTest, DrawFullScreenReproducesTheCopiedScreenUpright)
{
    // Bottom half green, top half red, one blue square near the top left.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 640, 240);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 240, 640, 240);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(10, 400, 20, 20);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    CopyScreen copy(640, 480, false);
    copy.copyFromScreen(0, 0, 0, 0, -1, -1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    copy.drawFullScreen(0, 0, -1, -1);

    EXPECT_EQ(testsupport::readPixel(320, 100)[1], 255);
    EXPECT_EQ(testsupport::readPixel(320, 100)[0], 0);
    EXPECT_EQ(testsupport::readPixel(320, 380)[0], 255);
    EXPECT_EQ(testsupport::readPixel(20, 410)[2], 255);
    EXPECT_FALSE(glIsEnabled(copy.target));
}

TEST_F(CopyScreenTest, LargerScreenIsCopiedWholeAtTheTexturesSize)
{
    // A 1280 x 960 screen: red in its upper right quarter, green elsewhere.
    const testsupport::LargerScreen screen(1280, 960);
    GLint screenFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &screenFramebuffer);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(640, 480, 640, 480);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    CopyScreen copy(640, 480, false);
    copy.copyFromScreen(0, 0, 0, 0, -1, -1);
    std::vector<uint8_t> texels(640 * 480 * 3);
    copy.bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(copy.target, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    auto texel = [&](int x, int y) { return &texels[(y * 640 + x) * 3]; };
    EXPECT_EQ(texel(600, 400)[0], 255);
    EXPECT_EQ(texel(600, 400)[1], 0);
    EXPECT_EQ(texel(100, 400)[1], 255);
    EXPECT_EQ(texel(600, 100)[1], 255);
    // The copy leaves the scissor and the screen as they were.
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint drawn = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
    EXPECT_EQ(drawn, screenFramebuffer);
    glDisable(GL_SCISSOR_TEST);
}
