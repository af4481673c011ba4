#include "scenes/SceneFixture.h"
#include "scenes/ribbonstack/RibbonStackScene.h"

#include "resources/TempDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int ribbonStackRow = 5;

class RibbonStackSceneTest : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        scene = &buildScene<RibbonStackScene>(ribbonStackRow);
    }

    // Mean red and blue of the frame, 0-255.
    static std::pair<double, double> meanRedBlue()
    {
        const std::vector<uint8_t> pixels = readScreen(rgba);
        double red = 0, blue = 0;
        for (size_t i = 0; i < pixels.size(); i += 4)
            red += pixels[i], blue += pixels[i + 2];
        return {red / (640 * 480), blue / (640 * 480)};
    }

    // Two scenes built alike from the same random draws; the second without
    // the title pictures of `words`, which are set aside until the test ends.
    struct TitlePair {
        RibbonStackScene& with;
        RibbonStackScene& without;
    };
    TitlePair titlePair(std::initializer_list<int> words)
    {
        std::srand(7);
        RibbonStackScene& with = buildScene<RibbonStackScene>(ribbonStackRow);
        std::srand(7);
        RibbonStackScene& without = buildScene<RibbonStackScene>(ribbonStackRow);
        for (int word : words)
            setAside[word] = std::move(without.titleTextures[word]);
        return {with, without};
    }

    RibbonStackScene* scene = nullptr;
    GLTexture setAside[titleWordCount];
};

} // namespace

TEST_F(RibbonStackSceneTest, RedBarsStandBehindGlowingRibbons)
{
    for (float t = 0.0f; t <= 6.0f; t += 0.5f)
        EXPECT_EQ(play(*scene, t), 0);
    const auto [red, blue] = meanRedBlue();
    EXPECT_GT(red, 80.0);       // the bars show across the view
    EXPECT_GT(blue, 10.0);      // the ribbons and their glow are not red
}

TEST_F(RibbonStackSceneTest, TheRibbonsCoverMostOfTheBarsWhileTheWordsPass)
{
    // Where only the bars show, the picture is flat red; the camera keeps
    // close enough to the stack that the ribbons hide most of them. Averaged
    // over the words' seconds, so no one ribbon path decides it.
    long flatRed = 0, seen = 0;
    for (int quarter = 0; quarter <= 80; ++quarter) {
        const float t = quarter * 0.25f;
        play(*scene, t);
        if (quarter < 24 || quarter % 8 != 0)
            continue;
        const std::vector<uint8_t> pixels = readScreen(rgba);
        for (size_t i = 0; i < pixels.size(); i += 4)
            flatRed += pixels[i] > 200 && pixels[i + 1] < 40 && pixels[i + 2] < 40;
        seen += 640 * 480;
    }
    EXPECT_LT(double(flatRed) / double(seen), 0.45);
}

TEST_F(RibbonStackSceneTest, TheLastFourBeatsFadeToBlack)
{
    const float lastBeats = scene->timeOfBeat(4.0f);
    play(*scene, scene->duration - lastBeats - 0.5f);
    const double before = meanRedBlue().first;
    // The black comes over evenly: two beats before the end half of the
    // light is gone, against a scene built alike whose end lies far off.
    std::srand(1);
    RibbonStackScene& unfaded = buildScene<RibbonStackScene>(ribbonStackRow);
    unfaded.duration += 100.0f;
    play(unfaded, scene->duration - lastBeats - 0.5f);
    play(unfaded, scene->duration - lastBeats / 2.0f);
    const double light = meanRedBlue().first;
    play(*scene, scene->duration - lastBeats / 2.0f);
    const double halfway = meanRedBlue().first;
    EXPECT_NEAR(halfway / light, 0.5, 0.05);
    EXPECT_EQ(play(*scene, scene->duration - 0.01f), 0);
    const double atEnd = meanRedBlue().first;
    EXPECT_GT(before, 100.0);
    EXPECT_LT(atEnd, 2.0);
    // (At the scene's show time the sum loses the last bits of its length.)
    EXPECT_EQ(play(*scene, scene->duration + 0.001f), 1);
}

TEST_F(RibbonStackSceneTest, NoTitleOutsideItsWindowReachesTheScreen)
{
    // Two scenes built alike, one without title pictures: their frames may
    // differ only while a word's window is open.
    auto [with, without] = titlePair({0, 1, 2, 3});
    auto frameAt = [](RibbonStackScene& scene, float t) {
        play(scene, t);
        return readScreen(rgba);
    };
    for (float t : {2.0f, 4.9f, 6.0f, 10.0f, 20.0f, 26.5f}) {
        SCOPED_TRACE(t);
        const bool differ = frameAt(with, t) != frameAt(without, t);
        EXPECT_EQ(differ, !titleWordsAt(t).empty());
    }
}

TEST_F(RibbonStackSceneTest, ATitlePictureThatCannotBeDecodedIsNamedAndItsWordStaysUnseen)
{
    testsupport::TempDirectory folder;
    // Half of a real title picture: the PNG ends inside its data.
    std::ifstream whole("data/title1.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100u);
    folder.write("title1.png", bytes.substr(0, bytes.size() / 2));

    RibbonStackScene& cut = buildScene<RibbonStackScene>(ribbonStackRow, &resourcesReading(folder.path()));
    EXPECT_NE(loadNotes.find("cannot load the title picture title1.png\n"), std::string::npos) << loadNotes;
    // The missing pictures have their own "File not found" line, no second one.
    EXPECT_EQ(loadNotes.find("cannot load the title picture title0.png"), std::string::npos) << loadNotes;
    EXPECT_EQ(play(cut, 10.0f), 0);
}

TEST_F(RibbonStackSceneTest, AWordShowsWhileItsProjectorFacesTheStackAndNeverFromBehind)
{
    // Two scenes built alike, one without its title pictures: the pixels the
    // word brightens. LIGHT alone is in its window from 16 s on; at 17 s its
    // projector faces the stack, at 20.75 s the heads lie behind it, where the
    // word would land turned round.
    auto [with, without] = titlePair({0, 1, 2, 3});
    // Both run a frame every quarter second from before LIGHT's window, so
    // their ribbons trail much as in the show.
    auto frame = [](RibbonStackScene& scene, float t) {
        play(scene, t);
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    struct Case {
        float time;
        double atLeast, atMost;   // share of the frame the word brightens
    };
    const Case cases[] = {{17.0f, 0.03, 1.0}, {20.75f, 0.0, 0.001}};
    const Case* next = cases;
    for (int quarter = 40; quarter <= 83; ++quarter) {
        const float t = quarter * 0.25f;
        const std::vector<uint8_t> a = frame(with, t), b = frame(without, t);
        if (t != next->time)
            continue;
        SCOPED_TRACE(t);
        long lit = 0;
        for (size_t i = 0; i < a.size(); i += 4)
            lit += (a[i] + a[i + 1] + a[i + 2]) - (b[i] + b[i + 1] + b[i + 2]) > 120;
        const double share = double(lit) / (640.0 * 480.0);
        EXPECT_GE(share, next->atLeast);
        EXPECT_LE(share, next->atMost);
        ++next;
    }
}

TEST_F(RibbonStackSceneTest, TheBarsBehindTheWordsAreNoFlatWall)
{
    // Colours in cells of 32 levels a channel, so a red lightly tinted by the
    // glow still counts as the same flat red; no one cell may take a third
    // of the frame in the middle of WOVEN's or LIGHT's window.
    std::vector<uint8_t> pixels(640 * 480 * 4);
    for (int quarter = 0; quarter <= 76; ++quarter) {
        const float t = quarter * 0.25f;
        play(*scene, t);
        if (t != 10.5f && t != 19.0f)
            continue;
        SCOPED_TRACE(t);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::map<int, long> cells;
        for (size_t i = 0; i < pixels.size(); i += 4)
            ++cells[pixels[i] / 32 * 64 + pixels[i + 1] / 32 * 8 + pixels[i + 2] / 32];
        long largest = 0;
        for (const auto& cell : cells)
            largest = std::max(largest, cell.second);
        EXPECT_LT(double(largest) / (640.0 * 480.0), 1.0 / 3.0);
    }
}

TEST_F(RibbonStackSceneTest, AWordStaysInViewWhileTheLastWordsWindowOpens)
{
    // Two scenes built alike, one without the third word's picture: the
    // pixels that word brightens at 12.5 s, when the last word's window has
    // opened beside it.
    ASSERT_EQ(titleWordsAt(12.5f), (std::vector<int>{1, 2, 3}));
    auto [with, without] = titlePair({2});
    std::vector<uint8_t> a, b;
    for (int quarter = 40; quarter <= 50; ++quarter) {
        play(with, quarter * 0.25f);
        a = readScreen(rgba);
        play(without, quarter * 0.25f);
        b = readScreen(rgba);
    }
    long lit = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        lit += (a[i] + a[i + 1] + a[i + 2]) - (b[i] + b[i + 1] + b[i + 2]) > 120;
    EXPECT_GT(double(lit) / (640.0 * 480.0), 0.03);
}

TEST_F(RibbonStackSceneTest, EachWordReadsWholeInTheMiddleOfTheViewNeitherHiddenNorBurntToWhite)
{
    // Two scenes built alike, one without the title pictures: the pixels the
    // words brighten at a moment when the camera rides with each word's
    // projector.
    auto [with, without] = titlePair({0, 1, 2, 3});
    struct Case {
        const char* word;
        float time;
    };
    const Case cases[] = {{"WOVEN", 9.75f}, {"FROM", 11.75f}, {"LIGHT", 19.0f}};
    const Case* next = cases;
    for (int quarter = 32; quarter <= 76 && next != std::end(cases); ++quarter) {
        const float t = quarter * 0.25f;
        play(with, t);
        const std::vector<uint8_t> a = readScreen(rgb);
        play(without, t);
        const std::vector<uint8_t> b = readScreen(rgb);
        if (t != next->time)
            continue;
        SCOPED_TRACE(next->word);
        ++next;
        std::vector<bool> lit(640 * 480);
        int left = 640, right = -1, top = 480, bottom = -1;
        long count = 0, white = 0;
        double litLight = 0.0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const size_t i = (size_t(y) * 640 + x) * 3;
                if (a[i] + a[i + 1] + a[i + 2] - (b[i] + b[i + 1] + b[i + 2]) <= 120)
                    continue;
                lit[size_t(y) * 640 + x] = true;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
                ++count;
                white += a[i] >= 250 && a[i + 1] >= 250 && a[i + 2] >= 250;
                litLight += a[i] + a[i + 1] + a[i + 2];
            }
        ASSERT_GT(count, 0);
        // Light in the rest of the word's box: what the letters stand out from.
        double restLight = 0.0;
        long rest = 0;
        // Lit runs down each column of the box: a whole letter has one to
        // three (an E's bars); cut into slats it has many.
        std::vector<int> runs;
        for (int x = left; x <= right; ++x) {
            int n = 0;
            for (int y = top; y <= bottom; ++y) {
                const size_t p = size_t(y) * 640 + x;
                n += lit[p] && (y == top || !lit[p - 640]);
                if (!lit[p]) {
                    const size_t i = p * 3;
                    restLight += a[i] + a[i + 1] + a[i + 2];
                    ++rest;
                }
            }
            if (n > 0)
                runs.push_back(n);
        }
        std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
        // Large and in the middle of the view, where the camera looks.
        EXPECT_GT(double(count) / (640.0 * 480.0), 0.08);
        EXPECT_GT(right - left, 300);
        EXPECT_NEAR((left + right) / 2.0, 320.0, 60.0);
        EXPECT_NEAR((top + bottom) / 2.0, 240.0, 60.0);
        EXPECT_LE(runs[runs.size() / 2], 3);
        EXPECT_GT(litLight / double(count) - restLight / double(rest), 150.0);
        EXPECT_LT(double(white) / double(count), 0.1);
    }
    EXPECT_EQ(next, std::end(cases));
}

TEST_F(RibbonStackSceneTest, AWordLandsAlikeWhetherOrNotAnotherWordWasThrownBeforeIt)
{
    // Two words thrown over much the same ribbons and bars, the first
    // clipped to the side its projector faces: the second's light (the
    // frame with it less the frame without it) is the same with the first
    // thrown before it as without, to a level of rounding, nowhere cut away
    // by the first's depth or its clip.
    struct Case {
        float time;
        int first, second;
    };
    for (const Case& c : {Case{11.75f, 1, 2}, Case{9.75f, 0, 1}}) {
        SCOPED_TRACE(c.time);
        ASSERT_EQ(titleWordsAt(c.time), (std::vector<int>{c.first, c.second}));
        std::vector<std::vector<uint8_t>> frames;
        for (std::initializer_list<int> unthrown : {std::initializer_list<int>{}, {c.second}, {c.first}, {c.first, c.second}}) {
            std::srand(7);
            RibbonStackScene& scene = buildScene<RibbonStackScene>(ribbonStackRow);
            // A word without light to add is not thrown at all.
            for (int word : unthrown)
                scene.titleLight[word] = LitBox{};
            for (int quarter = int(c.time * 4.0f) - 7; quarter <= int(c.time * 4.0f); ++quarter)
                play(scene, quarter * 0.25f);
            frames.push_back(readScreen(rgb));
        }
        long lit = 0, cut = 0;
        for (size_t i = 0; i < frames[0].size(); ++i) {
            const int afterFirst = frames[0][i] - frames[1][i], alone = frames[2][i] - frames[3][i];
            lit += alone > 8;
            cut += frames[0][i] < 255 && std::abs(afterFirst - alone) > 2;
        }
        EXPECT_GT(lit, 10000);
        EXPECT_EQ(cut, 0);
    }
}

TEST_F(RibbonStackSceneTest, WordsThrownInOneDrawAddTheLightEachAddsAlone)
{
    // At 12.5 s FROM and LIGHT share a draw (WOVEN, clipped, has its own):
    // the frame's light over the frame without words is, to the rounding of
    // a level or two, the sum of each word's light alone.
    ASSERT_EQ(titleWordsAt(12.5f), (std::vector<int>{1, 2, 3}));
    auto frameWith = [&](std::initializer_list<int> thrown) {
        std::srand(7);
        RibbonStackScene& scene = buildScene<RibbonStackScene>(ribbonStackRow);
        for (int word = 0; word < titleWordCount; ++word)
            if (std::find(thrown.begin(), thrown.end(), word) == thrown.end())
                scene.titleLight[word] = LitBox{};
        for (int quarter = 40; quarter <= 50; ++quarter)
            play(scene, quarter * 0.25f);
        return readScreen(rgb);
    };
    const std::vector<uint8_t> none = frameWith({}), both = frameWith({2, 3}), from = frameWith({2}),
                               light = frameWith({3});
    long lit = 0, off = 0;
    for (size_t i = 0; i < none.size(); ++i) {
        const int sum = (from[i] - none[i]) + (light[i] - none[i]);
        lit += from[i] - none[i] > 8 && light[i] - none[i] > 8;
        off += both[i] < 255 && std::abs(both[i] - none[i] - sum) > 2;
    }
    EXPECT_GT(lit, 10000);   // both words light much of the frame
    EXPECT_EQ(off, 0);
}

TEST_F(RibbonStackSceneTest, TheFrameFillsTheBandBetweenTheBarsAndTheWordsKeepTheScissorTheyFound)
{
    // While words are thrown the frame reaches the first and last rows the
    // letterbox bars leave in view, and nothing is left held to the band
    // after; the words, each held to the pixels it can reach, leave the
    // caller's scissor box and test as they were.
    for (int quarter = 32; quarter <= 39; ++quarter)
        play(*scene, quarter * 0.25f);
    const std::vector<uint8_t> pixels = readScreen(rgb);
    for (int row : {40, 439}) {
        int unlit = 0;
        for (int x = 0; x < 640; ++x)
            unlit += pixels[size_t(row * 640 + x) * 3] == 0;
        EXPECT_EQ(unlit, 0) << "row " << row;
    }
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    glScissor(0, 0, 640, 480);
    glEnable(GL_SCISSOR_TEST);
    scene->projectTitles(9.75f);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(std::vector<GLint>(box, box + 4), (std::vector<GLint>{0, 0, 640, 480}));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glDisable(GL_SCISSOR_TEST);
}
