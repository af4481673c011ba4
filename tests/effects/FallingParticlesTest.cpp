#include "effects/FallingParticles.h"
#include "effects/OverlayImage.h"
#include "effects/FilterTestSupport.h"

#include <cmath>

namespace {

class FallingParticlesTest : public FilterTest {
protected:
    void SetUp() override
    {
        FilterTest::SetUp();
        effect = createEffect("FallingParticles");
        ASSERT_NE(effect, nullptr);
        particles = static_cast<FallingParticles*>(effect.get());
    }

    // A 1 x 1 texture of one colour for a logo.
    void solidLogo(OverlayImage& logo, uint8_t r, uint8_t g, uint8_t b)
    {
        glGenTextures(1, &logo.texture);
        logo.target = GL_TEXTURE_2D;
        logo.width = logo.height = 1;
        logo.marked = {0, 0, r == 255 && g == 255 && b == 255 ? 0 : 1, 1};
        logo.markedKnown = true;
        glBindTexture(GL_TEXTURE_2D, logo.texture);
        const uint8_t texel[4] = {r, g, b, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }

    std::unique_ptr<Effect> effect;
    FallingParticles* particles = nullptr;
};

} // namespace

TEST_F(FallingParticlesTest, SameTimeTwiceChangesNothing)
{
    effect->setParams("numParticles=20;rotationMin=1;rotationMax=3;fallSpeedMin=1;fallSpeedMax=2;");
    effect->finishLoad();
    ASSERT_EQ(particles->indices.size(), 80u);
    particles->advance(2.0f);
    const auto centres = particles->centres;
    const auto angles = particles->angles;
    particles->advance(2.0f);
    EXPECT_EQ(particles->centres, centres);
    EXPECT_EQ(particles->angles, angles);
    particles->advance(3.0f);
    for (size_t p = 0; p < 20; ++p) {
        SCOPED_TRACE(p);
        EXPECT_NEAR(particles->centres[12 * p + 1] - centres[12 * p + 1], particles->rates[3 * p + 1], 1e-4);
        EXPECT_LE(particles->rates[3 * p + 1], -1.0f);
        EXPECT_EQ(particles->centres[12 * p + 1], particles->centres[12 * p + 10]); // all four corners
        EXPECT_NEAR(particles->angles[8 * p] - angles[8 * p], particles->rates[3 * p], 1e-4);
    }
}

TEST_F(FallingParticlesTest, ImageAlphaChoosesTheMultipliedOrTheAddedLogo)
{
    effect->finishLoad();
    solidLogo(*particles->multipliedLogo, 128, 128, 128);
    solidLogo(*particles->addedLogo, 40, 0, 0);
    struct Case {
        const char* alpha;
        double r, g;
    } cases[] = {{"0", 0.6 * 128, 0.6 * 128}, {"1", 0.6 * 255 + 40, 0.6 * 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        ASSERT_EQ(effect->setParam("imageAlpha", c.alpha), 0);
        fill(0.6f, 0.6f, 0.6f);
        particles->drawLogos(0.0f);
        const auto pixel = testsupport::readPixel(320, 240);
        EXPECT_NEAR(pixel[0], c.r, 3);
        EXPECT_NEAR(pixel[1], c.g, 3);
    }
}

TEST_F(FallingParticlesTest, TheVertexProgramPlacesAndTurnsTheQuads)
{
    ASSERT_TRUE(particles->program);
    effect->setParams("numParticles=1;particleSize=2;letterboxAmt=0;col=1,1,1;specular=0;");
    effect->finishLoad();
    for (int v = 0; v < 4; ++v) {
        particles->centres[3 * v] = 0;
        particles->centres[3 * v + 1] = 0;
        particles->centres[3 * v + 2] = 0;
    }
    // A 4-unit quad 25 units away with a 45 degree view: about 93 pixels high.
    const float halfPixels = 2.0f / (25.0f * std::tan(22.5f * 3.14159f / 180.0f)) * 240.0f;
    particles->drawParticles(0.0f, particles->col);
    EXPECT_GT(testsupport::readPixel(320, 240)[0], 100);
    EXPECT_GT(testsupport::readPixel(320 + static_cast<int>(halfPixels) - 4, 240)[0], 100);
    EXPECT_EQ(testsupport::readPixel(320 + static_cast<int>(halfPixels) + 4, 240)[0], 0);
    EXPECT_EQ(testsupport::readPixel(320, 240 + static_cast<int>(halfPixels) + 4)[0], 0);

    // Turned by 60 degrees about y the quad is half as wide.
    for (int v = 0; v < 4; ++v)
        particles->angles[2 * v + 1] = 3.14159f / 3.0f;
    particles->drawParticles(0.0f, particles->col);
    EXPECT_GT(testsupport::readPixel(320 + static_cast<int>(halfPixels * 0.5f) - 4, 240)[0], 50);
    EXPECT_EQ(testsupport::readPixel(320 + static_cast<int>(halfPixels * 0.5f) + 6, 240)[0], 0);
    EXPECT_GT(testsupport::readPixel(320, 240 + static_cast<int>(halfPixels) - 4)[0], 50);
}

TEST_F(FallingParticlesTest, LetterboxBarsAndAFullFrame)
{
    effect->setParams("numParticles=50;letterboxAmt=0.25;");
    effect->finishLoad();
    particles->advance(1.0f);
    fill(1, 1, 1);
    effect->update(1.0f);
    // The bars stay black; the frame outside them has the glow and logos.
    EXPECT_EQ(testsupport::readPixel(320, 470)[0], 0);
    EXPECT_EQ(testsupport::readPixel(320, 10)[1], 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
