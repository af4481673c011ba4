#include "core/ScreenQuad.h"
#include "core/UnusualState.h"
#include "effects/Glow.h"
#include "effects/SharedKeys.h"
#include "support/GLStateSnapshot.h"
#include "support/ShowResourcesTest.h"

#include <initializer_list>
#include <utility>

namespace {

class GlowTest : public ShowResourcesTest {
protected:
    Glow smallGlow() const
    {
        return Glow(resources->get(shared::pbuffer320x240), resources->get(shared::copyScreen320x240),
                    resources->get(shared::blur320x240));
    }

    // White squares of 20 x 20 surface pixels centred on `centres`, on
    // black, as a glow's picture.
    static void drawSquares(Glow& glow, std::initializer_list<std::pair<float, float>> centres)
    {
        glow.begin();
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        setOrthoBox(0, 320, 0, 240, -1, 1);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        for (auto [x, y] : centres)
            drawQuad({x - 10, y - 10, x + 10, y + 10});
    }

    static int redAt(int x, int y) { return testsupport::readPixel(x, y)[0]; }
};

} // namespace

TEST_F(GlowTest, AddsTheBlurAroundWhatWasDrawnAndPutsBackTheStateItChanged)
{
    Glow glow = smallGlow();
    ASSERT_TRUE(glow.available());
    drawSquares(glow, {{160, 120}});
    glow.blur();
    setUnusualState();
    const auto before = testsupport::GLStateSnapshot::take();
    glow.add();
    EXPECT_EQ(testsupport::GLStateSnapshot::take().differencesFrom(before), "");
    clearUnusualState();
    // The surface is stretched over the window: the square covers 300..340 x
    // 220..260, the blur reaches 18 surface pixels (36 window pixels) further.
    EXPECT_GT(redAt(320, 240), 100);
    EXPECT_GT(redAt(320, 260 + 12), 0);
    EXPECT_EQ(redAt(320, 260 + 60), 0);
}

TEST_F(GlowTest, ABoxedGlowLeavesTheScreenOutsideItsBoxAlone)
{
    Glow glow = smallGlow();
    // A first frame glows whole; the next is held to the left square, so
    // the copy still holds the right square's glow of the frame before.
    drawSquares(glow, {{80, 120}, {240, 120}});
    glow.blur();
    drawSquares(glow, {{80, 120}, {240, 120}});
    const ScreenBox leftSquare{80 - 10 - glow.reach(), 120 - 10 - glow.reach(), 20 + 2 * glow.reach(),
                               20 + 2 * glow.reach()};
    glow.blur(&leftSquare);
    glow.add();
    EXPECT_GT(redAt(160, 240), 100);
    EXPECT_EQ(redAt(480, 240), 0);
}

TEST_F(GlowTest, StrokesHalfAsFarApartReachHalfAsFar)
{
    // The square's edge is at window row 260; a surface pixel is two rows.
    for (const int spread : {4, 2}) {
        SCOPED_TRACE(spread);
        Glow glow(resources->get(shared::pbuffer320x240), resources->get(shared::copyScreen320x240),
                  resources->get(shared::blur320x240), spread);
        EXPECT_EQ(glow.reach(), spread == 4 ? 18 : 9);
        drawSquares(glow, {{160, 120}});
        glow.blur();
        glClear(GL_COLOR_BUFFER_BIT);
        glow.add();
        EXPECT_GT(redAt(320, 260 + 12), 0);
        EXPECT_EQ(redAt(320, 260 + 28) > 0, spread == 4);
    }
}
