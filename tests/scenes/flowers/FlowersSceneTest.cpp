#include "scenes/SceneFixture.h"
#include "scenes/flowers/FlowersScene.h"

#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"

#include <cmath>
#include <vector>

namespace {

constexpr int flowersRow = 6;

class FlowersSceneTest : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        scene = &buildScene<FlowersScene>(flowersRow);
    }

    static void fillScreen(float grey)
    {
        glClearColor(grey, grey, grey, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }

    // Draws a screen copy over the whole screen, unblended, and reads its middle.
    static std::array<uint8_t, 4> copyMiddle(CopyScreen* copy)
    {
        glDisable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
        copy->drawFullScreen(0, 0, -1, -1);
        return testsupport::readPixel(320, 240);
    }

    FlowersScene* scene = nullptr;
};

} // namespace

TEST_F(FlowersSceneTest, SetCameraTakesSlotZeroOrOneOnly)
{
    scene->setCamera({"setCamera", "1", "CamLow"});
    EXPECT_EQ(scene->cameraNames[1], "CamLow");
    scene->setCamera({"setCamera", "2", "CamHigh"});
    scene->setCamera({"setCamera", "-1", "CamHigh"});
    scene->setCamera({"setCamera", "0"});
    EXPECT_EQ(scene->cameraNames[1], "CamLow");
    EXPECT_EQ(scene->cameraNames[0], "");
    scene->setCamera({"setCamera", "0", "CamHigh"});
    EXPECT_EQ(scene->cameraNames[0], "CamHigh");
}

TEST_F(FlowersSceneTest, TheScriptChoosesCamerasAndViewOpacities)
{
    playBeat(*scene, 4);
    EXPECT_EQ(scene->cameraNames[0], "CamOrbit");
    EXPECT_EQ(scene->cameraNames[1], "CamLow");
    EXPECT_FLOAT_EQ(scene->viewOpacity(0), 1.0f);
    EXPECT_FLOAT_EQ(scene->viewOpacity(1), 0.0f);
    playBeat(*scene, 14);
    EXPECT_GT(scene->viewOpacity(0), 0.0f);
    EXPECT_GT(scene->viewOpacity(1), 0.0f);
}

TEST_F(FlowersSceneTest, AViewWithOpacityZeroIsNeitherRenderedNorComposited)
{
    CopyScreen* view1 = resources().get(shared::copyScreen640x480b);
    ASSERT_NE(view1, nullptr);
    fillScreen(1.0f);
    view1->copyFromScreen(0, 0, 0, 0, -1, -1);
    playBeat(*scene, 4);   // view 0 alone
    ASSERT_EQ(scene->viewOpacity(1), 0.0f);
    // The white copy was not composited (between the bars) ...
    const auto frame = testsupport::readPixel(5, 240);
    EXPECT_LT(frame[0], 100);
    // ... nor drawn over.
    const auto copy = copyMiddle(view1);
    EXPECT_EQ(copy[0], 255);
    EXPECT_EQ(copy[2], 255);
}

TEST_F(FlowersSceneTest, ACameraTheFileLacksLeavesItsViewCleared)
{
    CopyScreen* view0 = resources().get(shared::copyScreen640x480);
    scene->cameraNames[0] = "CamOrbit";
    scene->renderView(0, 20.0f);
    const auto drawn = copyMiddle(view0);
    EXPECT_GT(drawn[0] + drawn[1] + drawn[2], 60);   // the flower fills the middle

    fillScreen(1.0f);
    scene->cameraNames[0] = "NoSuchCamera";
    scene->renderView(0, 20.0f);
    const auto cleared = copyMiddle(view0);
    EXPECT_EQ(cleared[0], 0);
    EXPECT_EQ(cleared[1], 0);
    EXPECT_EQ(cleared[2], 0);
}

TEST_F(FlowersSceneTest, TheFirstTwoBeatsFadeInFromBlack)
{
    play(*scene, 0.0f);
    const auto first = testsupport::readPixel(320, 20);
    EXPECT_EQ(first[0] + first[1] + first[2], 0);
    playBeat(*scene, 3);
    const auto later = testsupport::readPixel(320, 20);   // the gradient's bright end
    EXPECT_GT(later[0], 40);
}

TEST_F(FlowersSceneTest, VinesGrowOneSectionPerDrawOfANewTime)
{
    Vine& vine = *scene->vines[0];
    vine.draw(2.0f);
    const show::Vec3 before = vine.trail().section(0).left;
    vine.draw(2.0f);   // the same time again adds nothing
    EXPECT_EQ(vine.trail().section(0).left.x, before.x);
    vine.draw(2.2f);
    vine.draw(2.4f);
    // Sections are laid at the previous head: the newest is at arc length 1.1.
    const RibbonSection& newest = vine.trail().section(0);
    const show::Vec3 centre = (newest.left + newest.right) * 0.5f;
    const show::Vec3 head = vine.path().position(1.1f);
    EXPECT_NEAR((centre - head).length(), 0.0f, 1e-3);
    EXPECT_NEAR((newest.left - newest.right).length(), 2.0f, 1e-3);
}

TEST_F(FlowersSceneTest, KeyRRewindsTheScript)
{
    playBeat(*scene, 20);
    ASSERT_EQ(scene->cameraNames[0], "CamHigh");
    EXPECT_EQ(scene->onKey('x', 0, 0), 0);
    EXPECT_EQ(scene->onKey('r', 0, 0), 0);
    scene->cameraNames[0].clear();
    playBeat(*scene, 1);
    EXPECT_EQ(scene->cameraNames[0], "CamOrbit");
}

TEST_F(FlowersSceneTest, OpenPetalsSeenFromAboveCloseTheGapsBetweenThem)
{
    // Straight down the axis of the open flower, orthographic, one unit to
    // three pixels, on two circles out where only the outer rings reach:
    // petals that swell to their middle overlap their neighbours there and
    // cover the circles; strips of the geometry's own width leave a fifth
    // to a third of them dark between the strips.
    Flower& flower = scene->flower;
    flower.opening = 1.0f;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-320 / 3.0, 320 / 3.0, -80, 80, -200, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    flower.draw(0.0f);
    glDisable(GL_DEPTH_TEST);
    std::vector<unsigned char> pixels(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    for (int radius : {40, 44}) {
        SCOPED_TRACE(radius);
        int dark = 0, total = 0;
        for (int step = 0; step < 720; ++step, ++total) {
            const double angle = step * 3.14159265 / 360;
            const int x = 320 + static_cast<int>(3 * radius * std::cos(angle));
            const int y = 240 + static_cast<int>(3 * radius * std::sin(angle));
            const unsigned char* p = &pixels[3 * (640 * y + x)];
            dark += p[0] + p[1] + p[2] < 30;
        }
        EXPECT_LT(dark, total / 20);
    }
}

TEST_F(FlowersSceneTest, OnALargerScreenAViewIsDrawnAtItsCopysSize)
{
    const testsupport::LargerScreen screen(1280, 960);
    fillScreen(1.0f);

    CopyScreen* view0 = resources().get(shared::copyScreen640x480);
    scene->cameraNames[0] = "CamOrbit";
    scene->renderView(0, 20.0f);
    // The screen beyond the copy's 640 x 480 is left alone ...
    EXPECT_EQ(testsupport::readPixel(1000, 800)[0], 255);
    // ... the screen's viewport and scissor are put back, and the copy holds
    // the whole view, the flower in its middle.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 960);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    glViewport(0, 0, 640, 480);
    const auto drawn = copyMiddle(view0);
    EXPECT_GT(drawn[0] + drawn[1] + drawn[2], 60);
}

TEST_F(FlowersSceneTest, PetalsAreDrawnNearestFirst)
{
    // Column-major model-views from the flower's frame (y up its axis) to
    // an eye 100 units away: looking down the axis, and looking along -x.
    const float fromAbove[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, -100, 1};
    const float fromTheSide[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -100, 1};
    Flower& flower = scene->flower;
    flower.opening = 1.0f;
    // Open, the small raised top ring is nearest from above, the flat
    // bottom ring farthest.
    const std::vector<Flower::PetalSlot> above = flower.layOut(fromAbove);
    ASSERT_EQ(above.size(), 500u);
    EXPECT_EQ(above.front().ring, 49);
    EXPECT_EQ(above.back().ring, 0);
    // From the side the widest ring's petal pointing at the eye comes
    // first and those pointing away (turned 160 and 200 degrees) last.
    const std::vector<Flower::PetalSlot> side = flower.layOut(fromTheSide);
    EXPECT_EQ(side.front().ring, 0);
    EXPECT_EQ(side.front().petal, 0);
    EXPECT_EQ(side.back().ring, 0);
    EXPECT_TRUE(side.back().petal == 4 || side.back().petal == 5) << side.back().petal;
}

TEST_F(FlowersSceneTest, ViewsAreAddedOntoTheGradientByTheirOpacities)
{
    // View 0 holds white over its upper half and black below; view 1 is
    // white all over. Each adds its opacity's share of white where white.
    CopyScreen* copies[2] = {resources().get(shared::copyScreen640x480), resources().get(shared::copyScreen640x480b)};
    fillScreen(0.0f);
    glScissor(0, 240, 640, 240);
    glEnable(GL_SCISSOR_TEST);
    fillScreen(1.0f);
    glDisable(GL_SCISSOR_TEST);
    copies[0]->copyFromScreen(0, 0, 0, 0, -1, -1);
    fillScreen(1.0f);
    copies[1]->copyFromScreen(0, 0, 0, 0, -1, -1);
    const struct {
        float opacity0, opacity1;
        int y;           // window row, 0 at the bottom
        float gradient;  // 0 at the top, 1 at the bottom
        float white;     // the share of white added
    } rows[] = {
        {0.5f, 0.0f, 470, 10 / 480.0f, 0.5f},   // near the top: view 0's white half
        {0.5f, 0.0f, 10, 470 / 480.0f, 0.0f},   // near the bottom: its black half
        {1.0f, 0.0f, 10, 470 / 480.0f, 0.0f},
        {0.0f, 0.25f, 10, 470 / 480.0f, 0.25f}, // view 1 alone
        {0.25f, 0.5f, 470, 10 / 480.0f, 0.75f}, // both
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.opacity0 << " " << row.opacity1 << " y " << row.y);
        scene->view0Colour[3] = row.opacity0;
        scene->view1Colour[3] = row.opacity1;
        scene->compose(10.0f);
        const auto pixel = testsupport::readPixel(320, row.y);
        for (int c = 0; c < 3; ++c) {
            const float base = scene->gradientStart[c] + row.gradient * (scene->gradientEnd[c] - scene->gradientStart[c]);
            EXPECT_NEAR(pixel[c], 255.0f * std::min(1.0f, base + row.white), 2.0f) << c;
        }
    }
}
