#include "effects/CopyScreen.h"
#include "effects/Effect.h"
#include "effects/JitterEffect.h"
#include "effects/JitterTexture.h"
#include "effects/OffsetWarpFilter.h"
#include "effects/SharedKeys.h"
#include "effects/TvOffsetGrid.h"
#include "effects/FilterTestSupport.h"
#include "programs/NvExtensions.h"

#include <cmath>
#include <cstdlib>

namespace {

// The same offset everywhere.
class ConstantGrid : public OffsetTexture {
public:
    ConstantGrid(float dx, float dy) : OffsetTexture(8, 8), x(dx), y(dy) {}
    void regenerate(float) override
    {
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                dx(column, row) = x;
                dy(column, row) = y;
            }
        uploadOffsets();
    }
    float x, y;
};

std::array<uint8_t, 3> ramp(int x, int y)
{
    return {static_cast<uint8_t>(x % 200 + 20), static_cast<uint8_t>(y % 200 + 20), 60};
}

std::array<uint8_t, 3> halves(int x, int)
{
    return x < 320 ? std::array<uint8_t, 3>{255, 0, 0} : std::array<uint8_t, 3>{0, 0, 255};
}

class OffsetWarpTest : public FilterTest {};

} // namespace

TEST_F(OffsetWarpTest, RectangleCopyForScreensAndPlaneCopyForSquares)
{
    ASSERT_TRUE(nv::textureShadersAvailable());
    OffsetWarpFilter screen(resources.get(), 640, 480);
    EXPECT_TRUE(screen.useRectangle);
    EXPECT_EQ(screen.copy->target, static_cast<unsigned>(GL_TEXTURE_RECTANGLE));
    EXPECT_NE(screen.program, 0u);
    OffsetWarpFilter square(resources.get(), 512, 512);
    EXPECT_FALSE(square.useRectangle);
    EXPECT_EQ(square.copy->target, static_cast<unsigned>(GL_TEXTURE_2D));
}

TEST_F(OffsetWarpTest, SoftwareAndTextureShaderPathsMoveThePictureAlike)
{
    for (int size : {640, 512}) {
        SCOPED_TRACE(size);
        const int height = size == 640 ? 480 : 512;
        OffsetWarpFilter filter(resources.get(), size, height);
        filter.ownGrid(std::make_unique<ConstantGrid>(12.0f / size, -8.0f / height));
        const std::pair<int, int> points[] = {{100, 100}, {250, 300}, {400, 50}, {10, 470}};
        std::vector<std::array<uint8_t, 4>> seen[2];
        for (bool shader : {true, false}) {
            filter.useTextureShader = shader;
            drawPicture(ramp);
            glColor4f(1, 1, 1, 1);
            filter.update(0.0f);
            for (auto [x, y] : points)
                seen[shader].push_back(testsupport::readPixel(x, y));
        }
        for (size_t i = 0; i < seen[0].size(); ++i) {
            const auto [x, y] = points[i];
            SCOPED_TRACE(testing::Message() << x << "," << y);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(seen[0][i][c], seen[1][i][c], 1);
            if (size == 640 && y < 470) { // the screen's own size: moved by exactly (12, -8) pixels
                EXPECT_NEAR(seen[0][i][0], ramp(x + 12, y)[0], 1);
                EXPECT_NEAR(seen[0][i][1], ramp(x, y - 8)[1], 1);
            }
        }
    }
}

TEST_F(OffsetWarpTest, JitterDrawsOnlyAboveOneHundredth)
{
    for (bool shader : {true, false}) {
        SCOPED_TRACE(shader ? "texture shader" : "strips");
        std::unique_ptr<Effect> effect = createEffect("Jitter");
        ASSERT_NE(effect, nullptr);
        effect->setParams("divAmt=100;width=16;height=16;");
        auto* jitter = static_cast<JitterEffect*>(effect.get());
        jitter->useTextureShader = shader;
        ASSERT_EQ(effect->setParam("jitter", "0.005"), 0);
        effect->finishLoad();
        ASSERT_NE(jitter->grid, nullptr);
        EXPECT_EQ(jitter->grid->columns, 16);

        drawPicture(halves);
        effect->update(0.0f);
        int changed = 0;
        for (int x = 0; x < 640; x += 4)
            changed += (x < 320) != (testsupport::readPixel(x, 200)[0] == 255) ? 1 : 0;
        EXPECT_EQ(changed, 0) << "0.005 leaves the frame alone";

        // The shake is random: whatever the generator's state, it moves the
        // edge somewhere along its length.
        std::srand(1);
        effect->setParam("jitter", "0.5");
        effect->update(0.0f);
        for (int y = 40; y < 440; y += 8)
            for (int x = 300; x < 340; ++x)
                changed += (x < 320) != (testsupport::readPixel(x, y)[0] > 128) ? 1 : 0;
        EXPECT_GT(changed, 0) << "0.5 shakes the edge";
        // Redrawn from the copy, not left cleared: far from the edge the halves stay.
        EXPECT_GT(testsupport::readPixel(160, 240)[0], 200);
        EXPECT_GT(testsupport::readPixel(480, 240)[2], 200);
    }
}

TEST_F(OffsetWarpTest, JitterTextureFillsWithinReachAndDecays)
{
    std::srand(7);
    JitterTexture texture(4, 4);
    texture.strength = 100;
    texture.decayRate = 1.0f;
    texture.regenerate(2.0f); // first call: no time passed
    const float d = 100 * 0.0005f;
    bool nonZero = false;
    for (float v : texture.offsets) {
        EXPECT_GE(v, -d);
        EXPECT_LE(v, d * (1 + 2 * 99.9f / 900));
        nonZero = nonZero || v != 0.0f;
    }
    EXPECT_TRUE(nonZero);
    EXPECT_EQ(texture.strength, 100);
    texture.regenerate(2.1f); // 0.1 s x 1 x 250 = 25
    EXPECT_EQ(texture.strength, 75);
    texture.strength = 1;
    texture.regenerate(2.1f);
    EXPECT_EQ(texture.strength, 0);
    texture.regenerate(2.2f);
    for (float v : texture.offsets)
        EXPECT_EQ(v, 0.0f);
}

TEST_F(OffsetWarpTest, TvOffsetsFollowTheFormula)
{
    const int nx = 5, ny = 3;
    // Phases where cos(5a) is 0: the wave amplitude w stays small, so the
    // value carried from entry to entry does not amplify rounding.
    for (float a : {0.3141593f, 0.9424778f, 1.5707963f}) {
        SCOPED_TRACE(a);
        std::srand(11);
        TvOffsetGrid grid(nx, ny, 0.05f);
        grid.s = 0.5f;
        grid.sx = 2.0f;
        grid.regenerate(a);
        std::srand(11);
        // In floats, as the grid computes: v carries over, so rounding grows.
        const float m = static_cast<float>(std::rand() % 1000) * 0.05f / 1000.0f;
        const float w = (m + std::cos(5.0f * a)) * 2.0f * 3.14159f;
        float v = 0;
        for (int i = 0; i < ny; ++i) {
            const float g = -1.0f + 2.0f * static_cast<float>(i) / (nx - 1);
            for (int k = 0; k < nx; ++k) {
                const float r = std::sqrt(v * v + g * g) / std::sqrt(2.0f) * 3.14159f;
                const float c = (std::cos(2.0f * a + r) + 1.0f) / 2.0f * w;
                v = (std::sin(3.0f * a + r) + 1.0f) / 2.0f * w;
                EXPECT_NEAR(grid.dx(k, i), k == nx - 1 ? 0.0f : c, 1e-3) << k << "," << i;
                EXPECT_NEAR(grid.dy(k, i), v * 0.5f, 1e-3) << k << "," << i;
            }
        }
    }
}

TEST_F(OffsetWarpTest, SharedJitterPairIsMadeTogether)
{
    void* simple = resources->getObject("SimpleDSDT");
    ASSERT_NE(simple, nullptr);
    auto* jitter = resources->get(shared::jitter);
    ASSERT_NE(jitter, nullptr);
    EXPECT_EQ(static_cast<OffsetWarpFilter*>(simple)->grid, jitter);
    EXPECT_EQ(jitter->columns, 32);
    EXPECT_FLOAT_EQ(jitter->decayRate, 0.99f);
    EXPECT_EQ(resources->getObject("SimpleDSDT"), simple);
}

TEST_F(OffsetWarpTest, TvDrawsOnlyWhileItsStrengthIsAboveOneHundredth)
{
    std::unique_ptr<Effect> effect = createEffect("TV");
    ASSERT_NE(effect, nullptr);
    effect->setParams("width=8;height=8;maxn=0.02;");
    ASSERT_EQ(effect->setParam("t", "0.3"), 0);
    ASSERT_EQ(effect->setParam("interp", "0.005"), 0);
    effect->finishLoad();
    auto* tv = static_cast<OffsetWarpFilter*>(effect.get());
    ASSERT_NE(tv->grid, nullptr);
    EXPECT_EQ(tv->grid->columns, 8);
    drawPicture(ramp);
    effect->update(0.0f);
    EXPECT_EQ(testsupport::readPixel(200, 200)[0], ramp(200, 200)[0]);
    EXPECT_FLOAT_EQ(static_cast<TvOffsetGrid*>(tv->grid)->s, 0.005f);

    effect->setParam("interp", "0.5");
    effect->update(0.0f);
    int moved = 0;
    for (int x = 20; x < 620; x += 40)
        moved += testsupport::readPixel(x, 200)[0] != ramp(x, 200)[0] ? 1 : 0;
    EXPECT_GT(moved, 0);
}
