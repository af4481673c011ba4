#include "shell/LoadingDisplay.h"

#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cmath>

#include <cstdlib>

using LoadingDisplayTest = GLTest;

namespace {

// The light of the frame: the sum of every pixel's red, green and blue.
long light()
{
    std::vector<uint8_t> pixels(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    long sum = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    return sum;
}

} // namespace

TEST_F(LoadingDisplayTest, TheOrnamentGrowsWithTheStagesOnBlack)
{
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    std::srand(1);
    // Below half a stage there is no ring yet: a black frame.
    shell::drawLoadingFrame(0.4f);
    EXPECT_EQ(light(), 0);
    // Each ring adds its glow.
    shell::drawLoadingFrame(2.0f);
    const long atTwo = light();
    EXPECT_GT(atTwo, 0);
    shell::drawLoadingFrame(9.8f);
    EXPECT_GT(light(), atTwo);
    // Additive glow in blue tints: blue is the strongest channel.
    const auto centre = testsupport::readPixel(320, 240);
    EXPECT_GE(centre[2], centre[1]);
    EXPECT_GE(centre[1], centre[0]);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // Seen through 60 degrees vertically on a 4:3 screen.
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float focal = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[5], focal, 1e-4);
    EXPECT_NEAR(projection[0], focal * 3.0f / 4.0f, 1e-4);
}
