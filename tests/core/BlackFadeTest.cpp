#include "core/BlackFade.h"
#include "core/UnusualState.h"
#include "support/GLStateSnapshot.h"
#include "support/GLTest.h"

namespace {

class BlackFadeTest : public GLTest {};

} // namespace

TEST_F(BlackFadeTest, HalfwayHalvesTheWholePictureAndPutsBackTheStateItChanged)
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    setUnusualState();
    const auto before = testsupport::GLStateSnapshot::take();
    drawBlackFade(0.5f);
    EXPECT_EQ(testsupport::GLStateSnapshot::take().differencesFrom(before), "");
    clearUnusualState();
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {320, 240}}) {
        SCOPED_TRACE(x);
        const auto pixel = testsupport::readPixel(x, y);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], 128, 1);
    }
}
