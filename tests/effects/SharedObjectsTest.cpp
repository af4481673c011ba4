#include "effects/CircleMask.h"
#include "effects/CopyScreen.h"
#include "effects/PBuffer.h"
#include "effects/SharedKeys.h"
#include "effects/SharedObjects.h"
#include "effects/WarpGrid.h"
#include "resources/ResourceManager.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <GL/glu.h>

namespace {

using SharedObjectsTest = ShowResourcesTest;

} // namespace

TEST_F(SharedObjectsTest, NamesGiveTheSameObjectEveryTime)
{
    void* copy = resources->getObject("CopyScreen640x480");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(resources->getObject("CopyScreen640x480"), copy);
    void* b = resources->getObject("CopyScreen640x480b");
    void* c = resources->getObject("CopyScreen640x480c");
    EXPECT_NE(b, c);
    EXPECT_NE(static_cast<CopyScreen*>(b)->texture, static_cast<CopyScreen*>(c)->texture);
    EXPECT_EQ(resources->getObject("CopyScreenb"), b);
    EXPECT_EQ(resources->getObject("PullWarp"), resources->getObject("PullWarp"));
    EXPECT_EQ(resources->getObject("copyscreen640x480"), nullptr); // names are case-sensitive
    EXPECT_EQ(resources->getObject("Nothing"), nullptr);
    EXPECT_EQ(static_cast<CopyScreen*>(resources->getObject("CopyScreen512x512"))->target,
              static_cast<unsigned>(GL_TEXTURE_2D));
    EXPECT_EQ(static_cast<CopyScreen*>(resources->getObject("CopyScreen320x240"))->target,
              static_cast<unsigned>(GL_TEXTURE_RECTANGLE));
}

TEST_F(SharedObjectsTest, MaterialDefaultsAndMask)
{
    const float* ambient = resources->get(shared::ambient);
    const float* specular = resources->get(shared::specular);
    EXPECT_FLOAT_EQ(ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(resources->get(shared::diffuse)[2], 0.2f);
    EXPECT_FLOAT_EQ(specular[1], 1.0f);
    EXPECT_FLOAT_EQ(*resources->get(shared::shininess), 10.0f);

    const MaskTexture* mask = resources->get(shared::circleMask);
    ASSERT_NE(mask, nullptr);
    glBindTexture(GL_TEXTURE_2D, mask->texture);
    std::vector<uint8_t> texels(512 * 512);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[256 * 512 + 256], 255);
    EXPECT_EQ(texels[256 * 512 + 0], 0);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
}

TEST_F(SharedObjectsTest, PBufferKeepsItsOwnStateAndSharesTextures)
{
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3, 0.1, 100);
    glEnable(GL_DEPTH_TEST);
    float projectionBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);

    auto* pbuffer = resources->get(shared::pbuffer320x240);
    ASSERT_NE(pbuffer, nullptr);
    EXPECT_EQ(pbuffer->width, 320);
    EXPECT_EQ(pbuffer->height, 240);
    auto* copy = resources->get(shared::copyScreen320x240);

    pbuffer->makeCurrent();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    pbuffer->restore();

    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    float projectionAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(projectionAfter[i], projectionBefore[i]);

    // The texture filled inside the pbuffer is visible here.
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    copy->drawFullScreen(0, 0, -1, -1);
    const auto pixel = testsupport::readPixel(320, 240);
    EXPECT_EQ(pixel[2], 255);
    EXPECT_EQ(pixel[0], 0);
}

TEST_F(SharedObjectsTest, WarpGridDrawsTheSourceTexture)
{
    auto* grid = resources->get(shared::pullWarp);
    auto* copy = resources->get(shared::copyScreen640x480);
    glClearColor(1, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    copy->enable();
    copy->bind();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    grid->update(0.0f);
    copy->disable();
    const auto centre = testsupport::readPixel(320, 240);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 255);
}
