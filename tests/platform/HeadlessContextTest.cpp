#include "support/GLTest.h"

#include "platform/HeadlessContext.h"

#include <epoxy/gl.h>

using HeadlessContextTest = GLTest;

TEST_F(HeadlessContextTest, ClearedColourReadsBackFromTheScreenFramebuffer)
{
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    auto pixel = testsupport::readPixel(320, 240);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_NEAR(pixel[1], 128, 1);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_EQ(pixel[3], 255);
}

TEST_F(HeadlessContextTest, IsACompatibilityContextWithTheScreenSize)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    // Immediate mode and fixed-function matrices exist only in compatibility.
    glMatrixMode(GL_PROJECTION);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(epoxy_has_gl_extension("GL_ARB_vertex_program"));
    EXPECT_TRUE(epoxy_has_gl_extension("GL_ARB_fragment_program"));
}

TEST_F(HeadlessContextTest, SharedContextSeesTexturesOfTheFirst)
{
    std::string error;
    std::unique_ptr<platform::HeadlessContext> first = platform::HeadlessContext::create(64, 64, error);
    ASSERT_TRUE(first) << error;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);

    auto shared = first->createShared(32, 16, error);
    ASSERT_TRUE(shared) << error;
    ASSERT_TRUE(shared->makeCurrent());
    EXPECT_TRUE(glIsTexture(texture));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 32);
    EXPECT_EQ(viewport[3], 16);
    shared.reset();
    first.reset();
}
