#include "effects/EffectData.h"
#include "effects/OverlayImage.h"
#include "effects/ScriptPlayer.h"
#include "scenes/opening/ScriptScene.h"
#include "effects/TestEffect.h"
#include "pack/PackBuilder.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::readPixel;

std::unique_ptr<Effect> testFactory(const char* typeName)
{
    if (std::string(typeName) != "Test")
        return nullptr;
    auto effect = std::make_unique<TestEffect>();
    effect->describe(testEffectDescription());
    return effect;
}

class ScriptSceneTest : public GLTest {
protected:
    testsupport::EffectData data;
};

TEST_F(ScriptSceneTest, PlaysItsEventsOnTheBeatClockUntilItsPlaceEnds)
{
    const std::string path = data.write("intro.script",
                                        "<script><effect filename=\"LetterBox\" start=\"0\" end=\"25600\">"
                                        "<rootkey>CutAmtY=0.25;</rootkey></effect>"
                                        "<effect filename=\"LetterBox\" end=\"12800\"/>"
                                        "<event t=\"2048\"><cmd command=\"add\" layer=\"10\" instance=\"0\"/></event>"
                                        "</script>");
    data.resources.screenWidth = 800;
    data.resources.screenHeight = 600;
    ScriptScene scene(path.c_str(), &data.resources);
    ASSERT_EQ(scene.timeline->effects.size(), 2u);
    EXPECT_EQ(scene.timeline->effects[0]->resources, &data.resources);
    EXPECT_FLOAT_EQ(scene.timeline->length, 100.0f);
    scene.place(0.0f, 95.0f);  // the row a script of 100 beats would have

    // The event at beat 8 waits for the first frame past it.
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(scene.update(scene.timeOfBeat(7.99f)), 0);
    EXPECT_EQ(readPixel(320, 10)[0], 255);
    EXPECT_EQ(scene.update(scene.timeOfBeat(8.5f)), 0);
    EXPECT_EQ(readPixel(320, 10)[0], 0);
    EXPECT_EQ(readPixel(320, 240)[0], 255);

    EXPECT_EQ(scene.update(scene.duration - 0.01f), 0);
    EXPECT_EQ(scene.update(scene.duration), 1);
}

TEST_F(ScriptSceneTest, AMissingScriptEndsAtOnce)
{
    ScriptScene scene("data/absent.script", &data.resources);
    EXPECT_TRUE(scene.timeline->effects.empty());
    EXPECT_EQ(scene.update(0.0f), 1);
}

TEST_F(ScriptSceneTest, TheOpeningsMomentsDoNotRunIntoEachOther)
{
    for (const char* script : {"intro.script", "image.script"})
        data.write(script, testsupport::readAll(std::string(GLINT_SOURCE_DIR) + "/data/" + script));
    testing::internal::CaptureStdout();
    ScriptScene scene("data/intro.script", &data.resources);
    testing::internal::GetCapturedStdout();
    const ScriptTimeline& timeline = *scene.timeline;
    // The value of `var` of the first effect of `type` (and picture) at a
    // beat of the script.
    const auto valueAt = [&](const std::string& type, const std::string& picture, const char* var, float beat) {
        for (size_t i = 0; i < timeline.effects.size(); ++i) {
            const Effect& effect = *timeline.effects[i];
            const auto* overlay = dynamic_cast<const OverlayImage*>(&effect);
            if (timeline.effectTypes[i] == type && (picture.empty() || (overlay && overlay->filename == picture))) {
                if (beat < effect.start || beat >= effect.end)
                    return 0.0f;
                const EffectVar* v = effect.findVar(var);
                return v ? v->evaluate(beat - effect.start) : -1.0f;
            }
        }
        ADD_FAILURE() << "no " << type << " " << picture;
        return -1.0f;
    };
    for (float beat = 0.0f; beat < 56.0f; beat += 0.25f) {
        SCOPED_TRACE(beat);
        // The TV disturbance belongs to the hits (and the build from 48): it
        // must not creep up over the stretches between them.
        const bool hit = beat < 2.0f || (beat >= 16.0f && beat < 17.0f) || (beat >= 32.0f && beat < 33.5f);
        if (!hit && beat < 48.0f) {
            EXPECT_LE(valueAt("TV", "", "interp", beat), 0.01f);
        }
        // The title and the glowing logo never lie on top of each other.
        const float title = valueAt("OverlayImage", "title0.png", "a", beat);
        const float logo = valueAt("FallingParticles", "", "imageAlpha", beat);
        EXPECT_FALSE(title > 0.05f && logo > 0.05f) << title << " " << logo;
    }
}

class ScriptPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.write("nested.script", "<script><effect filename=\"Test\" end=\"2560\"/>"
                                    "<event t=\"512\"><cmd command=\"add\" layer=\"0\" instance=\"0\"/></event>"
                                    "<event t=\"2048\"><cmd command=\"remove\" layer=\"0\"/></event>"
                                    "</script>");
    }
    testsupport::EffectData data;
};

TEST_F(ScriptPlayerTest, WithoutKeysTheNestedScriptPlaysAtItsOwnPace)
{
    ScriptPlayer player(&data.resources, testFactory);
    player.setParams("filename=data/nested.script;");
    player.finishLoad();
    ASSERT_TRUE(player.nested);
    const EffectVar& t = *player.findVar("t");
    ASSERT_EQ(t.keys.size(), 2u);
    EXPECT_EQ(t.keys[1].type, keyLinear);
    EXPECT_FLOAT_EQ(t.keys[1].time, 8.0f);
    EXPECT_FLOAT_EQ(t.keys[1].value, 1.0f);

    player.advance(1.5f);
    EXPECT_EQ(player.nested->layers[0], nullptr);
    player.advance(2.5f);
    ASSERT_NE(player.nested->layers[0], nullptr);
    EXPECT_EQ(player.update(3.0f), 0);
    const auto& nestedEffect = static_cast<const TestEffect&>(*player.nested->effects[0]);
    ASSERT_EQ(nestedEffect.updates.size(), 1u);
    EXPECT_FLOAT_EQ(nestedEffect.updates[0], 3.0f);
    // Past the key of t the nested time stays at the last event's time, so
    // that event (strictly after its time) never comes: the effect stays.
    player.advance(20.0f);
    EXPECT_NE(player.nested->layers[0], nullptr);
    EXPECT_EQ(player.update(20.0f), 0); // nested length 10 not reached at T = 8
}

TEST_F(ScriptPlayerTest, PlayingFromThePackReadsTheNestedScriptsEntry)
{
    PackBuild build;
    ASSERT_TRUE(buildPack((data.directory.path() / "data").string(), {"nested.script", "scriptplayer.xml"},
                          data.directory.file("pmx.d"), build));
    std::filesystem::remove(data.directory.path() / "data" / "nested.script");
    const PackDirectory directory = build.table.directory();
    ResourceManager fromPack(true, true, directory);
    ScriptPlayer player(&fromPack, testFactory);
    player.setParams("filename=data/nested.script;");
    player.finishLoad();
    ASSERT_TRUE(player.nested);
    EXPECT_EQ(player.nested->effects.size(), 1u);
    EXPECT_FLOAT_EQ(player.nested->lastEventTime(), 8.0f);
}

TEST_F(ScriptPlayerTest, ANestedScriptCutShortIsNamedInItsParseError)
{
    data.write("cut.script", "<script><effect filename=\"Test\" end=\"2560\"/><event t=\"5");
    ScriptPlayer player(&data.resources, testFactory);
    player.setParams("filename=data/cut.script;");
    testing::internal::CaptureStderr();
    player.finishLoad();
    const std::string notes = testing::internal::GetCapturedStderr();
    EXPECT_EQ(notes.rfind("data/cut.script: line 1: ", 0), 0u) << notes;
    // What was read before the cut stays.
    ASSERT_TRUE(player.nested);
    EXPECT_EQ(player.nested->effects.size(), 1u);
}

TEST_F(ScriptPlayerTest, KeysOfTScaleThePlayback)
{
    ScriptPlayer player(&data.resources, testFactory);
    player.setParams("filename=data/nested.script;");
    VarKey from, to;
    from.type = to.type = keyLinear;
    to.time = 2.0f;
    to.value = 1.0f;
    player.findVar("t")->keys = {from, to};
    player.finishLoad();
    EXPECT_EQ(player.findVar("t")->keys.size(), 2u);
    player.advance(0.6f); // T = 0.3 x 8 = 2.4: past the first event
    EXPECT_NE(player.nested->layers[0], nullptr);
}

TEST_F(ScriptPlayerTest, AScriptThatPlaysItselfStopsNesting)
{
    data.write("self.script", "<script><effect filename=\"ScriptPlayer\" end=\"256\">"
                              "<rootkey>filename=data/self.script;</rootkey></effect></script>");
    ScriptTimeline timeline(showEffectFactory({&data.resources, 640, 480}), "data/self.script", &data.resources);
    int depth = 0;
    const ScriptTimeline* level = &timeline;
    while (level != nullptr && !level->effects.empty()) {
        level = static_cast<const ScriptPlayer&>(*level->effects[0]).nested.get();
        ++depth;
    }
    EXPECT_EQ(depth, ScriptPlayer::maxNesting + 1);
}

} // namespace
