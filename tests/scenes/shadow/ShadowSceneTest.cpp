// The shadow room on the show's data in build/data: the fade from black, the
// coloured lights and their shadows, the camera cuts, the scripted pushes of
// the logo and where the lights circle.
#include "scenes/SceneFixture.h"
#include "scenes/shadow/ShadowScene.h"

#include "datagen/ShadowSceneData.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int shadowRow = 4;

class ShadowSceneTest : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        scene = &buildScene<ShadowScene>(shadowRow);
    }

    // The frame's pixels, RGBA rows from the bottom.
    std::vector<uint8_t> frame(float localTime)
    {
        play(*scene, localTime);
        return readScreen(rgba);
    }

    ShadowRunState& record() { return run.get<ShadowRunState>(); }

    ShadowScene* scene = nullptr;
};

// Pixels where one channel stands clearly above both others.
int pixelsLedBy(const std::vector<uint8_t>& pixels, int channel)
{
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const int c = pixels[i + channel];
        if (c > 60 && c > 2 * pixels[i + (channel + 1) % 3] && c > 2 * pixels[i + (channel + 2) % 3])
            ++count;
    }
    return count;
}

} // namespace

TEST_F(ShadowSceneTest, StartsFromBlackAndBeforeItsStartToo)
{
    // A time before the start plays the room's first frame: black, the
    // script on its first camera and the lights where they start.
    const auto lightsAt = [this] {
        std::vector<float> xyz;
        for (const auto& light : scene->room->lights)
            xyz.insert(xyz.end(), {light->position.x, light->position.y, light->position.z});
        return xyz;
    };
    EXPECT_EQ(brightest(frame(-3.0f), rgba), 0);
    EXPECT_EQ(record().camera, "Camera01");
    const std::vector<float> early = lightsAt();
    EXPECT_EQ(brightest(frame(0.0f), rgba), 0);
    EXPECT_EQ(early, lightsAt());
    EXPECT_GT(brightest(frame(0.4f), rgba), 0);    // rising out of the dark within the first beat
}

TEST_F(ShadowSceneTest, TheRoomShowsEachLightsColour)
{
    // Over the scene each light's colour lands somewhere in view. The
    // cameras keep the logo's face before them, and one light circles with
    // the logo behind the camera: its spot comes into view on few shots.
    int led[3] = {0, 0, 0};
    for (float beat = 2.0f; beat < 48.0f; beat += 2.0f) {
        const std::vector<uint8_t> pixels = frame(scene->timeOfBeat(beat));
        EXPECT_GT(brightest(pixels, rgba), 150) << beat;
        for (int channel = 0; channel < 3; ++channel)
            led[channel] += pixelsLedBy(pixels, channel);
    }
    for (int channel = 0; channel < 3; ++channel) {
        SCOPED_TRACE(channel);
        EXPECT_GT(led[channel], 1000);
    }
}

TEST_F(ShadowSceneTest, TheScriptCutsToTheNextCameraEveryFourBeats)
{
    frame(1.0f);
    EXPECT_EQ(record().camera, "Camera01");
    frame(scene->timeOfBeat(5.0f));
    EXPECT_EQ(record().camera, "Camera02");
    frame(scene->timeOfBeat(9.0f));
    EXPECT_EQ(record().camera, "Camera03");
}

// Share of the frame that is not dark: the walls in the lights' spots and
// the logo.
double litShare(const std::vector<uint8_t>& pixels)
{
    int lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        lit += std::max({pixels[i], pixels[i + 1], pixels[i + 2]}) > 40;
    return lit / (pixels.size() / 4.0);
}

TEST_F(ShadowSceneTest, EveryFewBeatsSomeOfTheRoomIsLitInView)
{
    // Through the whole scene the camera looks towards at least one light's
    // spot: never only the logo in the dark.
    for (float beat = 2.0f; beat < 49.0f; beat += 6.0f)
        EXPECT_GT(litShare(frame(scene->timeOfBeat(beat))), 0.08) << "scene beat " << beat;
    EXPECT_GT(litShare(frame(scene->timeOfBeat(36.0f))), 0.3);
}

// Share of the frame that is near black: every channel below 10.
double blackShare(const std::vector<uint8_t>& pixels)
{
    int black = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        black += std::max({pixels[i], pixels[i + 1], pixels[i + 2]}) < 10;
    return black / (pixels.size() / 4.0);
}

TEST_F(ShadowSceneTest, TheWallsReadBetweenTheSpots)
{
    // The light the walls throw back keeps the room in view outside the
    // three discs, on shots with a spot in view and shots without.
    for (float beat : {4.0f, 11.0f, 28.0f, 47.0f}) {
        const std::vector<uint8_t> pixels = frame(scene->timeOfBeat(beat));
        EXPECT_LT(blackShare(pixels), 0.05) << "scene beat " << beat;
    }
}

TEST_F(ShadowSceneTest, ScriptedPushesFireOnceEachWhenBeatsJump)
{
    playBeat(*scene, 22.0f);   // past scene beats 5, 13 and 21 in one frame
    EXPECT_EQ(record().pressed, (std::array<bool, 4>{true, true, true, false}));
    EXPECT_FLOAT_EQ(scene->room->logo->pulse, 0.3f);
    playBeat(*scene, 22.5f);
    EXPECT_LT(scene->room->logo->pulse, 0.3f);   // decaying, not pushed again
    playBeat(*scene, 30.0f);
    EXPECT_EQ(record().pressed, (std::array<bool, 4>{true, true, true, true}));

    // A scene built again in the same run does not press them again.
    ShadowScene& again = buildScene<ShadowScene>(shadowRow);
    playBeat(again, 31.0f);
    EXPECT_EQ(again.room->logo->pulse, 0.0f);
}

TEST_F(ShadowSceneTest, EachPushFallsOnItsBeat)
{
    // Frames a tenth of a beat either side of each push: pressed on the
    // beat, not a frame before.
    const float pushes[] = {5.0f, 13.0f, 21.0f, 29.0f};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "push at scene beat " << pushes[i]);
        playBeat(*scene, pushes[i] - 0.1f);
        EXPECT_FALSE(record().pressed[i]);
        playBeat(*scene, pushes[i] + 0.1f);
        EXPECT_TRUE(record().pressed[i]);
        EXPECT_GT(scene->room->logo->pulse, 0.0f);
    }
}

TEST_F(ShadowSceneTest, LightsCircleTheCentreAtRadiusForty)
{
    ShadowRoom& room = *scene->room;
    for (float t : {0.0f, 1.3f, 7.7f, 20.0f}) {
        room.moveLights(t);
        for (const auto& light : room.lights) {
            EXPECT_NEAR(light->position.length(), 40.0f, 1e-3f);
            EXPECT_EQ(light->target.length(), 0.0f);
            EXPECT_EQ(light->colour[3], 1.0f);
        }
        EXPECT_EQ(room.lights[0]->position.y, 0.0f);   // the first stays level
    }
}

TEST_F(ShadowSceneTest, TheLogoHasABoxForEveryPixelOfTheMark)
{
    int marked = 0;
    for (const char* row : datagen::shadowMarkRows)
        marked += static_cast<int>(std::count(row, row + std::strlen(row), '#'));
    EXPECT_EQ(static_cast<int>(scene->room->logo->cubes.size()), marked);
}

using ShadowSceneData = SceneFixture;

TEST_F(ShadowSceneData, MissingFilesAreReportedAndTheRoomStillPlays)
{
    ownData();
    testing::internal::CaptureStderr();
    ShadowScene& scene = buildScene<ShadowScene>(shadowRow);
    const int finished = play(scene, 5.0f);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(scene.room->logo->cubes.empty());
    EXPECT_NE(loadNotes.find("cannot find k16.jpg"), std::string::npos) << loadNotes;
    EXPECT_NE((loadNotes + err).find("shadowscene.3ds"), std::string::npos) << loadNotes << err;
    EXPECT_EQ(run.get<ShadowRunState>().camera, "Camera01");
}

TEST_F(ShadowSceneTest, EachLightsMapHoldsTheLogoAloneAndTheWindowIsLeftAsItWas)
{
    ShadowRoom& room = *scene->room;
    GLint framebuffer = 0, viewport[4];
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    room.prepare(5.0f);

    GLint framebufferAfter = -1, viewportAfter[4];
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebufferAfter);
    glGetIntegerv(GL_VIEWPORT, viewportAfter);
    EXPECT_EQ(framebufferAfter, framebuffer);
    EXPECT_TRUE(std::equal(viewport, viewport + 4, viewportAfter));
    float modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_EQ(modelView[12], 1.0f);
    EXPECT_EQ(modelView[14], 3.0f);

    // Each light looks at the logo in the middle of its map; the walls
    // round the edge cast nothing and are left out.
    for (const auto& light : room.lights) {
        std::vector<float> depth(static_cast<size_t>(light->mapWidth) * light->mapHeight, -1.0f);
        glBindTexture(GL_TEXTURE_2D, light->depthTexture.get());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        float nearest = 1.0f;
        for (int y = light->mapHeight / 2 - 16; y < light->mapHeight / 2 + 16; ++y)
            for (int x = light->mapWidth / 2 - 16; x < light->mapWidth / 2 + 16; ++x)
                nearest = std::min(nearest, depth[static_cast<size_t>(y) * light->mapWidth + x]);
        EXPECT_LT(nearest, 0.99f);
        EXPECT_EQ(depth[5 * light->mapWidth + 5], 1.0f);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}
