#include "scenes/ShowPlacement.h"
#include "scenes/ribbonstack/RibbonStackScene.h"

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace {

class RibbonStackSceneTest : public ShowResourcesTest {
protected:
    void SetUp() override
    {
        ShowResourcesTest::SetUp();
        testing::internal::CaptureStdout();
        scene = std::make_unique<RibbonStackScene>(resources.get());
        placeAsInShow(*scene, 5);
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        scene.reset();
        ShowResourcesTest::TearDown();
    }

    // Mean red and blue of the frame, 0-255.
    static std::pair<double, double> meanRedBlue()
    {
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        double red = 0, blue = 0;
        for (size_t i = 0; i < pixels.size(); i += 4)
            red += pixels[i], blue += pixels[i + 2];
        return {red / (640 * 480), blue / (640 * 480)};
    }

    std::unique_ptr<RibbonStackScene> scene;
};

} // namespace

TEST_F(RibbonStackSceneTest, RedBarsStandBehindGlowingRibbons)
{
    for (float t = 0.0f; t <= 6.0f; t += 0.5f)
        EXPECT_EQ(scene->update(t), 0);
    const auto [red, blue] = meanRedBlue();
    EXPECT_GT(red, 120.0);      // the bars fill most of the view
    EXPECT_GT(blue, 10.0);      // the ribbons and their glow are not red
}

TEST_F(RibbonStackSceneTest, TheRibbonsCoverMostOfTheBarsWhileTheWordsPass)
{
    // Where only the bars show, the picture is flat red; the camera keeps
    // close enough to the stack that the ribbons hide most of them. Averaged
    // over the words' seconds, so no one ribbon path decides it.
    std::vector<uint8_t> pixels(640 * 480 * 4);
    long flatRed = 0, seen = 0;
    for (int quarter = 0; quarter <= 80; ++quarter) {
        const float t = quarter * 0.25f;
        scene->update(t);
        if (quarter < 24 || quarter % 8 != 0)
            continue;
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (size_t i = 0; i < pixels.size(); i += 4)
            flatRed += pixels[i] > 200 && pixels[i + 1] < 40 && pixels[i + 2] < 40;
        seen += 640 * 480;
    }
    EXPECT_LT(double(flatRed) / double(seen), 0.45);
}

TEST_F(RibbonStackSceneTest, TheLastFourBeatsFadeToBlack)
{
    const float lastBeats = scene->timeOfBeat(4.0f);
    scene->update(scene->duration - lastBeats - 0.5f);
    const double before = meanRedBlue().first;
    EXPECT_EQ(scene->update(scene->duration - 0.01f), 0);
    const double atEnd = meanRedBlue().first;
    EXPECT_GT(before, 100.0);
    EXPECT_LT(atEnd, 2.0);
    EXPECT_EQ(scene->update(scene->duration), 1);
}

TEST_F(RibbonStackSceneTest, NoTitleOutsideItsWindowReachesTheScreen)
{
    // Two scenes built alike, one without title pictures: their frames may
    // differ only while a word's window is open.
    testing::internal::CaptureStdout();
    std::srand(7);
    RibbonStackScene with(resources.get());
    std::srand(7);
    RibbonStackScene without(resources.get());
    testing::internal::GetCapturedStdout();
    placeAsInShow(with, 5);
    placeAsInShow(without, 5);
    GLTexture pictures[titleWordCount];
    std::swap(pictures, without.titleTextures);
    auto frameAt = [](RibbonStackScene& scene, float t) {
        scene.update(t);
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
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
    ResourceManager own(false, false);
    own.dataDir = folder.path().string() + "/";
    own.setObjectFactory(createSharedObject);

    testing::internal::CaptureStdout();
    RibbonStackScene cut(&own);
    const std::string said = testing::internal::GetCapturedStdout();
    placeAsInShow(cut, 5);
    EXPECT_NE(said.find("cannot load the title picture title1.png\n"), std::string::npos) << said;
    // The missing pictures have their own "File not found" line, no second one.
    EXPECT_EQ(said.find("cannot load the title picture title0.png"), std::string::npos) << said;
    EXPECT_EQ(cut.update(10.0f), 0);
}

TEST_F(RibbonStackSceneTest, AWordShowsWhileItsProjectorFacesTheStackAndNeverFromBehind)
{
    // Two scenes built alike, one without its title pictures: the pixels the
    // word brightens. LIGHT alone is in its window from 16 s on; at 17 s its
    // projector faces the stack, at 20.75 s the heads lie behind it, where the
    // word would land turned round.
    testing::internal::CaptureStdout();
    std::srand(7);
    RibbonStackScene with(resources.get());
    std::srand(7);
    RibbonStackScene without(resources.get());
    testing::internal::GetCapturedStdout();
    placeAsInShow(with, 5);
    placeAsInShow(without, 5);
    GLTexture pictures[titleWordCount];
    std::swap(pictures, without.titleTextures);
    // Both run a frame every quarter second from before LIGHT's window, so
    // their ribbons trail much as in the show.
    auto frame = [](RibbonStackScene& scene, float t) {
        scene.update(t);
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
