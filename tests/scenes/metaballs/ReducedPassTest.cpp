#include "core/ScreenQuad.h"
#include "scenes/metaballs/ReducedPass.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

using testsupport::readPixel;

TEST_F(GLTest, ReducedPassStretchesItsCornerOverTheWholeViewportTheRightWayUp)
{
    ReducedPass pass(4);
    // Whatever was on the screen before is covered.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    pass.begin();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 160);
    EXPECT_EQ(viewport[3], 120);
    // Red over the top half, green over the bottom, y down.
    setOrthoBox(0, 1, 1, 0, 0, 1);
    glColor4f(1, 0, 0, 1);
    drawQuad({0, 0, 1, 0.5f});
    glColor4f(0, 1, 0, 1);
    drawQuad({0, 0.5f, 1, 1});
    pass.end();

    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    for (auto [x, y, red, green] : {std::tuple{5, 470, 255, 0}, std::tuple{634, 300, 255, 0},
                                    std::tuple{5, 10, 0, 255}, std::tuple{634, 180, 0, 255}}) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        const auto pixel = readPixel(x, y);
        EXPECT_EQ(pixel[0], red);
        EXPECT_EQ(pixel[1], green);
        EXPECT_EQ(pixel[2], 0);
    }
}
