#include "effects/CombinerFilter.h"
#include "effects/FilterTestSupport.h"
#include "effects/JitterTexture.h"
#include "effects/KeyEffects.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"

#include <cmath>

namespace {

class KeyEffectsTest : public FilterTest {
protected:
    void SetUp() override
    {
        FilterTest::SetUp();
        keys = static_cast<KeyEffects*>(resources->get(shared::keyEffects));
        ASSERT_NE(keys, nullptr);
    }

    KeyEffects* keys = nullptr;
};

} // namespace

TEST_F(KeyEffectsTest, OneObjectThatTheCallbacksReach)
{
    WarpGrid scene(resources.get()); // a later scene finds the same object
    EXPECT_EQ(resources->getObject("KeyEffects"), static_cast<Scene*>(keys));
}

TEST_F(KeyEffectsTest, DTwiceRestartsTheFade)
{
    EXPECT_EQ(resources->getObject("KeyEffects"), keys);
    keys->onKey('d', 0, 0);
    keys->update(10.0f);
    keys->update(10.45f);
    EXPECT_NEAR(keys->colourFade->intensity, 1.0f - 0.45f / 0.9f, 1e-4);
    keys->onKey('d', 0, 0);
    EXPECT_FLOAT_EQ(keys->colourFade->intensity, 1.0f);
}

TEST_F(KeyEffectsTest, WhiteThenDarkIsOneFullBlackFade)
{
    keys->onKey('w', 0, 0);
    keys->update(1.0f);
    keys->update(1.3f);
    EXPECT_LT(keys->colourFade->intensity, 1.0f);
    keys->onKey('d', 0, 0);
    fill(0.6f, 0.6f, 0.6f);
    keys->update(1.3f);
    const auto pixel = testsupport::readPixel(320, 240);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[2], 0);
}

TEST_F(KeyEffectsTest, IntensityAtOneHundredthDrawsNothing)
{
    keys->whiten(0.01f, 1.0f);
    fill(0.2f, 0.4f, 0.6f);
    keys->update(3.0f);
    EXPECT_NEAR(testsupport::readPixel(100, 100)[0], 51, 1);
    EXPECT_EQ(keys->colourFade->intensity, 0.0f);
    keys->whiten(0.5f, 1.0f);
    keys->update(3.0f);
    EXPECT_GT(testsupport::readPixel(100, 100)[0], 140);
}

TEST_F(KeyEffectsTest, ScriptCommandsTakeArgumentsOrDefaults)
{
    runKeyEffectCommand(keys, "capture", {"capture"});
    EXPECT_FLOAT_EQ(keys->afterimage->intensity, 0.75f);
    EXPECT_FLOAT_EQ(keys->afterimage->rate, 2.0f);
    runKeyEffectCommand(keys, "inverse", {"inverse", "0.5"});
    EXPECT_FLOAT_EQ(keys->inverseAccent->intensity, 0.5f);
    EXPECT_FLOAT_EQ(keys->inverseAccent->rate, 1.0f);
    runKeyEffectCommand(keys, "pull", {"pull", "0.8", "0.25"});
    EXPECT_FLOAT_EQ(keys->pullAccent->intensity, 0.8f);
    EXPECT_FLOAT_EQ(keys->pullAccent->rate, 4.0f);
    runKeyEffectCommand(keys, "jitter", {"jitter", "99.9"});
    EXPECT_EQ(keys->jitterTexture->strength, 99);
    EXPECT_FLOAT_EQ(keys->jitterTexture->decayRate, 2.0f);
    runKeyEffectCommand(keys, "whiten", {"whiten", "1", "0"}); // no length: ends at once
    keys->update(5.0f);
    keys->update(5.01f);
    EXPECT_EQ(keys->colourFade->intensity, 0.0f);
    runKeyEffectCommand(nullptr, "darken", {"darken"});
    runKeyEffectCommand(keys, "unknown", {"unknown", "1"});
}

TEST_F(KeyEffectsTest, CaptureFreezesTheFrameAndFadesOutAdditively)
{
    fill(0.25f, 0.0f, 0.0f);
    keys->update(0.0f);
    runKeyEffectCommand(keys, "capture", {"capture"});
    fill(0.0f, 0.0f, 0.0f);
    keys->update(0.1f);
    EXPECT_NEAR(testsupport::readPixel(320, 240)[0], 0.25 * 0.75 * 255, 3);
    EXPECT_NEAR(keys->afterimage->intensity, 0.55f, 1e-4);
    keys->update(0.4f);
    EXPECT_EQ(keys->afterimage->intensity, 0.0f);
}

TEST_F(KeyEffectsTest, BlackAndWhiteAndInverseAccentsOfAKnownFrame)
{
    fill(0.8f, 0.2f, 0.4f);
    keys->onKey('b', 0, 0);
    keys->update(0.0f);
    auto pixel = testsupport::readPixel(320, 240);
    const double grey = (0.3 * 0.8 + 0.59 * 0.2 + 0.11 * 0.4) * 255;
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(pixel[c], grey, 3) << c;
    keys->update(2.0f); // faded out

    fill(0.8f, 0.2f, 0.4f);
    keys->inverse(0.5f, 1.0f); // halfway the inverse is complete
    // Blending a scene left on does not fade the accent by its own alpha (0 here).
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    keys->update(2.0f);
    glDisable(GL_BLEND);
    pixel = testsupport::readPixel(10, 470);
    EXPECT_NEAR(pixel[0], 0.2 * 255, 3);
    EXPECT_NEAR(pixel[1], 0.8 * 255, 3);
    EXPECT_NEAR(pixel[2], 0.6 * 255, 3);
}

TEST_F(KeyEffectsTest, JitterAndBlurKeysRunTheSharedFilters)
{
    keys->onKey('j', 0, 0);
    EXPECT_EQ(keys->jitterTexture->strength, 250);
    keys->update(1.0f);
    keys->update(1.5f);
    EXPECT_LT(keys->jitterTexture->strength, 250);
    // A second shake long after the first decays from its own first frame.
    keys->update(30.0f);
    ASSERT_EQ(keys->jitterTexture->strength, 0);
    keys->onKey('j', 0, 0);
    keys->update(60.0f);
    EXPECT_EQ(keys->jitterTexture->strength, 250);
    keys->update(60.05f);
    EXPECT_GT(keys->jitterTexture->strength, 200);
    keys->onKey('k', 0, 0);
    EXPECT_FLOAT_EQ(keys->blurAmount, 50.0f);
    keys->update(60.55f);
    EXPECT_NEAR(keys->blurAmount, 50.0f - 0.05f, 1e-4);
    ASSERT_NE(keys->blur, nullptr);
    EXPECT_EQ(keys->blur->spread, 1); // the last pass
}

TEST_F(KeyEffectsTest, EachKeyStartsItsOwnAccent)
{
    const struct {
        int key;
        KeyAccent* started;
    } rows[] = {
        {'c', keys->afterimage.get()},   {'d', keys->colourFade.get()}, {'i', keys->inverseAccent.get()},
        {'w', keys->colourFade.get()},
    };
    KeyAccent* accents[] = {keys->afterimage.get(), keys->colourFade.get(), keys->inverseAccent.get(),
                                  keys->pullAccent.get()};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<char>(row.key));
        for (KeyAccent* accent : accents)
            accent->intensity = 0.0f;
        keys->onKey(row.key, 0, 0);
        for (KeyAccent* accent : accents)
            EXPECT_EQ(accent->intensity > 0.0f, accent == row.started);
    }
}

TEST_F(KeyEffectsTest, ThePullGrowsWithTheAccentsIntensity)
{
    WarpGrid* grid = resources->get(shared::pullWarp);
    ASSERT_NE(grid, nullptr);
    for (float intensity : {0.3f, 0.5f}) {
        SCOPED_TRACE(intensity);
        keys->pull(intensity, 1.0f);
        keys->update(7.0f);
        EXPECT_NEAR(grid->strength, std::sin(intensity * 3.14159f) + 1.0f, 1e-4);
    }
}
