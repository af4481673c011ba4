#include "effects/CombinerFilter.h"
#include "effects/CopyScreen.h"
#include "effects/Effect.h"
#include "effects/RCFilter.h"
#include "effects/SharedKeys.h"
#include "effects/FilterTestSupport.h"

#include <cstdlib>
#include <string>

namespace {

// Every column its own red value, every row its own green value.
std::array<uint8_t, 3> ramp(int x, int y)
{
    return {static_cast<uint8_t>(x % 200 + 20), static_cast<uint8_t>(y % 200 + 20), 90};
}

std::array<uint8_t, 3> noise(int x, int y)
{
    const unsigned h = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
    return {static_cast<uint8_t>(h % 251), static_cast<uint8_t>((h / 251) % 251), static_cast<uint8_t>((h / 63001) % 251)};
}

class CombinerFilterTest : public FilterTest {};

} // namespace

TEST_F(CombinerFilterTest, TapTableForEveryDirection)
{
    struct Case {
        int direction;
        float s[4], t[4];
    } cases[] = {
        {CombinerFilter::center, {-1, 1, 0, 0}, {0, 0, -2, 2}},
        {CombinerFilter::left, {-3, -2, -1, 0}, {0, 0, 0, 0}},
        {CombinerFilter::right, {3, 2, 1, 0}, {0, 0, 0, 0}},
        {CombinerFilter::up, {0, 0, 0, 0}, {-6, -4, -2, 0}},
        {CombinerFilter::down, {0, 0, 0, 0}, {6, 4, 2, 0}},
        {7, {-1, 1, 0, 0}, {0, 0, -2, 2}}, // unknown: centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        CombinerFilter::Tap taps[4];
        CombinerFilter::tapOffsets(c.direction, 1.0f, 2.0f, taps);
        for (int unit = 0; unit < 4; ++unit) {
            EXPECT_FLOAT_EQ(taps[unit].s, c.s[unit]) << "unit " << unit;
            EXPECT_FLOAT_EQ(taps[unit].t, c.t[unit]) << "unit " << unit;
        }
    }
}

TEST_F(CombinerFilterTest, RCFilterLeftSpreadTwoSamplesSixFourTwoAndZeroTexelsLeft)
{
    std::unique_ptr<Effect> effect = createEffect("RCFilter");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->setParams("type=left;spread=2;clear=1;filename=avg.rcp;"), 4);
    effect->finishLoad();
    auto* rc = static_cast<RCFilter*>(effect.get());
    ASSERT_NE(rc->filter, nullptr);
    EXPECT_EQ(rc->filter->direction, CombinerFilter::left);
    EXPECT_EQ(rc->filter->spread, 2);
    EXPECT_TRUE(rc->filter->takeCopy);

    const int expectedShift[4] = {6, 4, 2, 0};
    for (int unit = 0; unit < 4; ++unit) {
        SCOPED_TRACE(unit);
        const std::string program = "!!RC1.0\nout.rgb = tex" + std::to_string(unit) + ";\n";
        rc->filter->loadProgram(program.c_str());
        drawPicture(ramp);
        effect->update(0.0f);
        for (int x : {50, 133, 301}) {
            const auto pixel = testsupport::readPixel(x, 100);
            EXPECT_EQ(pixel[0], ramp(x - expectedShift[unit], 100)[0]) << "x " << x;
            EXPECT_EQ(pixel[1], ramp(x, 100)[1]) << "x " << x;
        }
    }
}

TEST_F(CombinerFilterTest, TypeWordsAreExactAndOthersMeanCentre)
{
    const std::pair<const char*, int> cases[] = {{"right", CombinerFilter::right}, {"up", CombinerFilter::up},
                                                 {"down", CombinerFilter::down}, {"Left", CombinerFilter::center},
                                                 {"sideways", CombinerFilter::center}};
    for (const auto& [word, direction] : cases) {
        SCOPED_TRACE(word);
        std::unique_ptr<Effect> effect = createEffect("RCFilter");
        effect->setParams((std::string("type=") + word + ";").c_str());
        effect->finishLoad();
        EXPECT_EQ(static_cast<RCFilter*>(effect.get())->filter->direction, direction);
    }
}

TEST_F(CombinerFilterTest, BlurAveragesTheFourTapsLikeTheProcessor)
{
    auto* blur = resources->get(shared::blur640x480);
    ASSERT_NE(blur, nullptr);
    EXPECT_EQ(resources->getObject("Blur640x480"), blur);
    EXPECT_EQ(blur->copy, resources->getObject("CopyScreen640x480c"));
    auto* small = resources->get(shared::blur320x240);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width, 320);
    EXPECT_EQ(small->copy, resources->getObject("CopyScreen320x240"));

    for (int spread : {1, 3}) {
        SCOPED_TRACE(spread);
        drawPicture(noise);
        glColor4f(1, 1, 1, 1);
        blur->direction = CombinerFilter::center;
        blur->spread = spread;
        blur->update();
        for (auto [x, y] : {std::pair{100, 100}, {320, 240}, {17, 401}, {600, 33}}) {
            const auto pixel = testsupport::readPixel(x, y);
            for (int c = 0; c < 3; ++c) {
                const int sum = noise(x - spread, y)[c] + noise(x + spread, y)[c] + noise(x, y - spread)[c] +
                                noise(x, y + spread)[c];
                EXPECT_NEAR(pixel[c], sum / 4.0, 2.0) << "at " << x << "," << y << " channel " << c;
            }
        }
    }
}

TEST_F(CombinerFilterTest, TapsPastTheEdgeReadTheEdgeAndTheSharedCopyKeepsItsFilter)
{
    auto* blur = resources->get(shared::blur640x480);
    ASSERT_NE(blur, nullptr);
    blur->loadProgram("!!RC1.0\nout.rgb = tex0;\n");
    drawPicture(ramp);
    glColor4f(1, 1, 1, 1);
    blur->direction = CombinerFilter::right;
    blur->spread = 4;
    blur->update();
    // Unit 0 reads 12 texels to the right: the last column stands in for
    // everything past it, as the copy's clamped edge has it.
    EXPECT_EQ(testsupport::readPixel(600, 50)[0], ramp(612, 50)[0]);
    for (int x : {630, 635, 639})
        EXPECT_EQ(testsupport::readPixel(x, 50)[0], ramp(639, 50)[0]) << "x " << x;

    blur->copy->bind();
    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(blur->copy->target, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(blur->copy->target, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    GLint sampler = -1;
    glGetIntegerv(GL_SAMPLER_BINDING, &sampler);
    EXPECT_EQ(sampler, 0);
}

TEST_F(CombinerFilterTest, APassHeldToAScissorBoxMatchesTheWholePassInsideIt)
{
    auto* blur = resources->get(shared::blur640x480);
    ASSERT_NE(blur, nullptr);
    glColor4f(1, 1, 1, 1);
    const int x = 200, y = 150, w = 120, h = 90;
    auto boxPixels = [&] {
        std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    for (int direction : {CombinerFilter::left, CombinerFilter::right, CombinerFilter::up, CombinerFilter::down}) {
        SCOPED_TRACE(direction);
        blur->direction = direction;
        blur->spread = 4;
        drawPicture(noise);
        blur->update();
        const std::vector<uint8_t> whole = boxPixels();

        // Leave something else in the copy first: the boxed pass must not
        // read any of it.
        drawPicture(ramp);
        blur->update();
        drawPicture(noise);
        glScissor(x, y, w, h);
        glEnable(GL_SCISSOR_TEST);
        blur->update();
        glDisable(GL_SCISSOR_TEST);
        EXPECT_EQ(boxPixels(), whole);
    }
}
