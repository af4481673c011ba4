#include "scenes/ribbonstack/RibbonStackScene.h"
#include "scenes/ribbonstack/StackRibbon.h"
#include "scenes/ribbonstack/TitleProjection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

using show::Vec3;

namespace {

StackRibbon freshRibbon(float height = 0.5f)
{
    std::srand(1);
    return StackRibbon(height);
}

} // namespace

TEST(StackRibbonTest, ASectionTooSoonReplacesTheNewestEntry)
{
    StackRibbon ribbon = freshRibbon();
    ribbon.update(1.0f);
    ASSERT_TRUE(ribbon.lastKept());
    const int write = ribbon.writeIndex();
    const Vec3 keptLeft = ribbon.entry(write - 1).left;

    // 0.03 s later: written at the write index, which does not move, so the
    // next section writes over it.
    ribbon.update(1.03f);
    EXPECT_FALSE(ribbon.lastKept());
    EXPECT_EQ(ribbon.writeIndex(), write);
    EXPECT_FLOAT_EQ(ribbon.entry(write).time, 7.03f);
    ribbon.update(1.04f);
    EXPECT_EQ(ribbon.writeIndex(), write);
    EXPECT_FLOAT_EQ(ribbon.entry(write).time, 7.04f);
    EXPECT_EQ(ribbon.entry(write - 1).left.x, keptLeft.x);

    // More than 0.05 s after the kept one: kept, and the ring moves on.
    ribbon.update(1.06f);
    EXPECT_TRUE(ribbon.lastKept());
    EXPECT_EQ(ribbon.writeIndex(), (write + 1) % StackRibbon::ringSize);
}

TEST(StackRibbonTest, SectionsLieAcrossThePathAtHalfWidth)
{
    StackRibbon ribbon = freshRibbon(1.0f);
    for (float t = 0.0f; t < 3.0f; t += 0.1f)
        ribbon.update(t);
    for (int age = 1; age < 40; ++age) {
        SCOPED_TRACE(age);
        const StackRibbon::Entry& e = ribbon.entry(ribbon.writeIndex() - age);
        EXPECT_NEAR((e.left - e.right).length(), 2 * StackRibbon::halfWidth, 1e-4);
        EXPECT_NEAR(e.up.length(), 1.0f, 1e-4);
        EXPECT_NEAR(e.up.dot(e.left - e.right), 0.0f, 1e-4);
        // The top ribbon runs at y = 5, give or take its jitter.
        EXPECT_NEAR((e.left + e.right).y / 2, 5.0f, 0.1f);
    }
}

TEST(StackRibbonTest, AHeadThatDoesNotMoveKeepsItsUpVector)
{
    StackRibbon ribbon = freshRibbon();
    ribbon.update(2.0f);
    const Vec3 up = ribbon.entry(ribbon.writeIndex() - 1).up;
    // The same position twice: no direction, so no side to build on.
    ribbon.addSection(8.0f, 8.0f);
    const StackRibbon::Entry& still = ribbon.entry(ribbon.writeIndex());
    EXPECT_FLOAT_EQ(still.up.x, up.x);
    EXPECT_FLOAT_EQ(still.up.z, up.z);
    ribbon.update(2.5f);
    const StackRibbon::Entry& next = ribbon.entry(ribbon.writeIndex() - 1);
    EXPECT_NEAR(next.up.length(), 1.0f, 1e-4);
    EXPECT_GT((next.left - next.right).length(), 0.4f);
}

TEST(StackRibbonTest, EntriesNotYetWrittenSitOnThePathNotAtTheOrigin)
{
    StackRibbon ribbon = freshRibbon(0.0f);
    // Construction lays 99 kept sections; the rest of the ring is unwritten.
    for (int i = 0; i < StackRibbon::ringSize; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(ribbon.entry(i).left.y, -5.0f, 0.5f);
    }
}

TEST(TitleProjectionTest, NoWordOutsideTheFourWindows)
{
    for (float t = -1.0f; t < 30.0f; t += 0.05f) {
        SCOPED_TRACE(t);
        const std::vector<int> words = titleWordsAt(t);
        if (t <= 5.0f || t >= 26.0f) {
            EXPECT_TRUE(words.empty());
        }
        bool unitOne = false;
        for (int w : words) {
            EXPECT_GT(t, titleWords[w].start);
            EXPECT_LT(t, titleWords[w].end);
            if (titleWords[w].unit == 1) {
                EXPECT_FALSE(unitOne) << "two words on texture unit 1";
                unitOne = true;
            }
        }
    }
    EXPECT_TRUE(titleWordsAt(5.0f).empty());
    EXPECT_EQ(titleWordsAt(10.0f), (std::vector<int>{1}));
    EXPECT_EQ(titleWordsAt(12.5f), (std::vector<int>{1, 2, 3}));
}

TEST(TitleProjectionTest, TheWordSweepsFromOneSideToTheOther)
{
    const TitleWord& word = titleWords[0];
    // Half way through its window the projector looks straight down -z from
    // (x, 0, z): a point 5 units in front of it lands on the picture's centre.
    const float middle = (word.start + word.end) / 2;
    const show::Mat4 projector = projectorMatrix(word, middle);
    const float x = word.xAtZero - 3 * middle;
    EXPECT_NEAR(projector.at(0, 0), 1.0f, 1e-5);
    EXPECT_NEAR(projector.at(0, 3), x, 1e-5);
    const show::Mat4 texture = titleTextureMatrix(projector);
    const Vec3 ahead(-x, 0.0f, -word.z - 5.0f);
    float st[4];
    for (int r = 0; r < 4; ++r)
        st[r] = texture.at(r, 0) * ahead.x + texture.at(r, 1) * ahead.y + texture.at(r, 2) * ahead.z + texture.at(r, 3);
    EXPECT_NEAR(st[0] / st[3], 0.5f, 1e-4);
    EXPECT_NEAR(st[1] / st[3], 0.5f, 1e-4);
    // At the window's ends the projector has turned a quarter each way.
    EXPECT_NEAR(projectorMatrix(word, word.start + 1e-3f).at(0, 2), 1.0f, 1e-3);
    EXPECT_NEAR(projectorMatrix(word, word.end - 1e-3f).at(0, 2), -1.0f, 1e-3);
}

TEST(TitleProjectionTest, OnlyPointsInFrontOfTheProjectorAreKept)
{
    // Behind the projector q turns negative and the divided coordinates
    // mirror the word; the front plane keeps exactly the points with q > 0.
    // Stack points near the heads, early in a window (in front) and late
    // (behind), for every word.
    int front = 0, behind = 0;
    for (const TitleWord& word : titleWords) {
        for (float share : {0.2f, 0.45f, 0.7f, 0.9f}) {
            const float t = word.start + share * (word.end - word.start);
            const show::Mat4 projector = projectorMatrix(word, t);
            const show::Mat4 texture = titleTextureMatrix(projector);
            const std::array<double, 4> plane = titleFrontPlane(projector);
            for (float dx : {-12.0f, -4.0f, 0.0f}) {
                for (float z : {-5.0f, 5.0f}) {
                    SCOPED_TRACE(testing::Message() << word.fileName << " t " << t << " dx " << dx << " z " << z);
                    const Vec3 p(3.0f * t + dx, 2.0f, z);
                    const float q = texture.at(3, 0) * p.x + texture.at(3, 1) * p.y + texture.at(3, 2) * p.z +
                                    texture.at(3, 3);
                    const double side = plane[0] * p.x + plane[1] * p.y + plane[2] * p.z + plane[3];
                    EXPECT_EQ(side > 0.0, q > 0.0f);
                    (q > 0.0f ? front : behind) += 1;
                }
            }
        }
    }
    // Both sides were sampled.
    EXPECT_GT(front, 10);
    EXPECT_GT(behind, 10);
}

TEST(TitleProjectionTest, AWordFallsFullOnTheStackOnlyWhileItsProjectorFacesIt)
{
    // Facing the stack in the window's middle, turned 45 degrees a quarter of
    // the window either side of it, side on at its ends; past them the
    // turned projector gives nothing rather than less than nothing.
    for (const TitleWord& word : titleWords) {
        SCOPED_TRACE(word.fileName);
        const float middle = (word.start + word.end) / 2, length = word.end - word.start;
        EXPECT_NEAR(titleFacing(projectorMatrix(word, middle)), 1.0f, 1e-5);
        EXPECT_NEAR(titleFacing(projectorMatrix(word, middle - length / 4)), 0.70711f, 1e-4);
        EXPECT_NEAR(titleFacing(projectorMatrix(word, middle + length / 4)), 0.70711f, 1e-4);
        EXPECT_NEAR(titleFacing(projectorMatrix(word, word.start)), 0.0f, 1e-4);
        EXPECT_EQ(titleFacing(projectorMatrix(word, word.end + 0.1f * length)), 0.0f);
    }
}

TEST(TitleProjectionTest, TheEyeIsThePointTheViewSendsToTheOrigin)
{
    // A camera's view, then the same with the stack turned up the z axis as
    // the scene turns it, and scaled: the eye in the stack's coordinates.
    const Vec3 eye(25.5f, 1.5f, 14.0f);
    const show::Mat4 view = show::Mat4::lookAt(eye, {20.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    const show::Mat4 turned = view * show::Mat4::rotation(90.0f, 1.0f, 0.0f, 0.0f) * show::Mat4::scaling(2.0f, 2.0f, 2.0f);
    struct Case {
        const show::Mat4& m;
        Vec3 want;
    };
    for (const Case& c : {Case{view, eye}, Case{turned, Vec3(eye.x / 2.0f, eye.z / 2.0f, -eye.y / 2.0f)}}) {
        float m[16];
        std::copy(c.m.m, c.m.m + 16, m);
        const Vec3 got = eyeOf(m);
        EXPECT_NEAR(got.x, c.want.x, 1e-4f);
        EXPECT_NEAR(got.y, c.want.y, 1e-4f);
        EXPECT_NEAR(got.z, c.want.z, 1e-4f);
    }
}

TEST(TitleProjectionTest, WordsShareADrawOnlyWhereUnitsStrengthsAndClipsAllow)
{
    // Words 1, 2, 3 sit on units 2, 3, 1; words 0 and 3 share unit 1.
    using Lit = RibbonStackScene::LitWord;
    auto word = [](int index, float strength, bool clipped = false, unsigned lightBehind = 0u) {
        return Lit{index, show::Mat4::identity(), strength, {0, 0, 1, 1}, clipped, lightBehind};
    };
    struct Case {
        const char* what;
        std::vector<Lit> lit;
        std::vector<std::vector<int>> passes;   // word indices per draw
    };
    const Case cases[] = {
        {"together, in unit order", {word(1, 0.4f), word(2, 0.3f), word(3, 0.3f)}, {{3, 1, 2}}},
        {"the alpha would pass one", {word(1, 0.6f), word(2, 0.5f)}, {{1}, {2}}},
        {"one unit", {word(0, 0.1f), word(3, 0.1f)}, {{0}, {3}}},
        {"a clip that cuts no one's light", {word(1, 0.5f, true), word(2, 0.3f)}, {{1, 2}}},
        {"word 2's light behind word 1", {word(1, 0.5f, true), word(2, 0.3f, false, 1u << 1)}, {{1}, {2}}},
        {"word 1's light behind word 2", {word(1, 0.5f, false, 1u << 2), word(2, 0.3f, true)}, {{1}, {2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<int>> got;
        for (const auto& pass : RibbonStackScene::passesOf(c.lit)) {
            got.emplace_back();
            for (const Lit* w : pass)
                got.back().push_back(w->index);
        }
        EXPECT_EQ(got, c.passes);
    }
}
