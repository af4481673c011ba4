#include "effects/ScriptReader.h"
#include "effects/ScriptTimeline.h"
#include "effects/TestEffect.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Effects of the type "Test", logging the order in which they draw.
std::vector<const Effect*> drawOrder;

class LoggingEffect : public TestEffect {
public:
    LoggingEffect() { describe(testEffectDescription()); }
    int update(float localTime) override
    {
        drawOrder.push_back(this);
        return TestEffect::update(localTime);
    }
};

std::unique_ptr<Effect> testFactory(const char* typeName)
{
    if (std::string(typeName) == "Test")
        return std::make_unique<LoggingEffect>();
    return nullptr;
}

std::unique_ptr<ScriptTimeline> load(const std::string& xml)
{
    return std::make_unique<ScriptTimeline>(testFactory, reinterpret_cast<const uint8_t*>(xml.data()),
                                            xml.size(), nullptr);
}

LoggingEffect& effectOf(const ScriptTimeline& timeline, size_t instance)
{
    return static_cast<LoggingEffect&>(*timeline.effects.at(instance));
}

TEST(ScriptTimeline, EffectsTakeStartEndAndInitialAssignments)
{
    const auto timeline = load("<script>"
                               "<effect filename=\"Test\" start=\"512\" end=\"25600\" instance=\"9\" name=\"n\">"
                               "<rootkey>count=3;caption=\"a b\";x=1.5;</rootkey></effect>"
                               "<effect filename=\"Test\" end=\"1024\"/>"
                               "</script>");
    ASSERT_EQ(timeline->effects.size(), 2u);
    const LoggingEffect& first = effectOf(*timeline, 0);
    EXPECT_FLOAT_EQ(first.start, 2.0f);
    EXPECT_FLOAT_EQ(first.end, 100.0f);
    EXPECT_EQ(first.count, 3);
    EXPECT_EQ(first.caption, "a b");
    EXPECT_FLOAT_EQ(first.findVar("x")->value, 1.5f);
    EXPECT_FLOAT_EQ(effectOf(*timeline, 1).start, 0.0f);
    EXPECT_FLOAT_EQ(timeline->length, 100.0f);
    EXPECT_EQ(timeline->effectTypes.at(1), "Test");
}

TEST(ScriptTimeline, KeysAreMappedAndPrepared)
{
    const auto timeline = load("<script><effect filename=\"Test\" end=\"4096\">"
                               "<var name=\"x\">"
                               "<interpkey time=\"1:1:1\" value=\"0\" tension=\"40\" bias=\"60\" continuity=\"55\" type=\"Linear\"/>"
                               "<interpkey time=\"1:2:129\" value=\"0.5\" type=\"Step\"/>"
                               "<interpkey time=\"2:1:1\" value=\"1\"/>"
                               "</var>"
                               "<var name=\"undeclared\"><interpkey time=\"1:1:1\" value=\"1\"/></var>"
                               "<interpkey time=\"1:1:1\" value=\"1\"/>"
                               "</effect></script>");
    ASSERT_EQ(timeline->effects.size(), 1u);
    const LoggingEffect& effect = effectOf(*timeline, 0);
    const EffectVar* x = effect.findVar("x");
    ASSERT_NE(x, nullptr);
    ASSERT_EQ(x->keys.size(), 3u); // keys outside a var, or for undeclared vars, are dropped
    EXPECT_EQ(effect.vars.count("undeclared"), 0u);

    const VarKey& k0 = x->keys[0];
    EXPECT_EQ(k0.type, keyLinear);
    EXPECT_FLOAT_EQ(k0.time, 0.0f);
    EXPECT_FLOAT_EQ(k0.value, 0.0f);
    EXPECT_NEAR(k0.tension, -1.0f, 1e-6);
    EXPECT_NEAR(k0.bias, 1.0f, 1e-6);
    EXPECT_NEAR(k0.continuity, 0.5f, 1e-6);
    EXPECT_EQ(x->keys[1].type, keyStep);
    EXPECT_FLOAT_EQ(x->keys[1].time, 1.5f);
    EXPECT_FLOAT_EQ(x->keys[1].value, 1.0f); // 0.5 of the range [0, 2]
    EXPECT_FLOAT_EQ(x->keys[2].time, 4.0f);
    EXPECT_FLOAT_EQ(x->keys[2].value, 2.0f);
    EXPECT_EQ(x->keys[2].type, keyTCB);
    EXPECT_FLOAT_EQ(x->keys[2].tension, 0.0f);
    // finishLoad prepared the tangents: the first key runs straight at the
    // Step key after it, (1 - tension) x (1 - 0).
    EXPECT_NEAR(k0.outTangent, 2.0f, 1e-5);
}

TEST(ScriptTimeline, BarBeatTickPositions)
{
    struct Row {
        const char* text;
        float beats;
    };
    const Row rows[] = {{"1:1:1", 0.0f}, {"2:1:1", 4.0f}, {"1:2:129", 1.5f}, {"3:4:65", 11.25f},
                        {"1:1:257", 1.0f}, {"2", 4.0f}, {"", 0.0f}, {"x:2:1", 0.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_FLOAT_EQ(barBeatTickToBeats(row.text), row.beats);
    }
}

TEST(ScriptTimeline, EventsApplyStrictlyAfterTheirTime)
{
    const auto timeline = load("<script><effect filename=\"Test\" end=\"4096\"/>"
                               "<event t=\"2048\"><cmd command=\"add\" layer=\"3\" instance=\"0\"/></event>"
                               "</script>");
    timeline->advance(8.0f);
    EXPECT_EQ(timeline->layers[3], nullptr);
    timeline->advance(8.001f);
    EXPECT_EQ(timeline->layers[3], timeline->effects[0].get());
}

TEST(ScriptTimeline, EventsApplyInFileOrderEvenWhenOutOfTimeOrder)
{
    const auto timeline = load("<script><effect filename=\"Test\"/>"
                               "<event t=\"1024\"><cmd command=\"add\" layer=\"0\" instance=\"0\"/></event>"
                               "<event t=\"256\"><cmd command=\"add\" layer=\"1\" instance=\"0\"/></event>"
                               "</script>");
    timeline->advance(2.0f); // past the second event's time, not the first's
    EXPECT_EQ(timeline->layers[0], nullptr);
    EXPECT_EQ(timeline->layers[1], nullptr);
    timeline->advance(4.5f);
    EXPECT_NE(timeline->layers[0], nullptr);
    EXPECT_NE(timeline->layers[1], nullptr);
    EXPECT_EQ(timeline->nextEvent, 2u);
}

TEST(ScriptTimeline, LayersDrawInOrderWithLocalTimes)
{
    drawOrder.clear();
    const auto timeline = load("<script>"
                               "<effect filename=\"Test\" start=\"256\" end=\"2560\"/>"
                               "<effect filename=\"Test\" start=\"512\" end=\"1280\"/>"
                               "<event t=\"0\"><cmd command=\"add\" layer=\"7\" instance=\"0\"/>"
                               "<cmd command=\"add\" layer=\"2\" instance=\"1\"/>"
                               "<cmd command=\"add\" layer=\"99\" instance=\"1\"/></event>"
                               "</script>");
    timeline->advance(3.0f);
    EXPECT_EQ(timeline->update(3.0f), 0);
    const LoggingEffect& first = effectOf(*timeline, 0);
    const LoggingEffect& second = effectOf(*timeline, 1);
    ASSERT_EQ(drawOrder.size(), 3u);
    EXPECT_EQ(drawOrder[0], &second); // layer 2
    EXPECT_EQ(drawOrder[1], &first);  // layer 7
    EXPECT_EQ(drawOrder[2], &second); // layer 99
    ASSERT_EQ(first.updates.size(), 1u);
    EXPECT_FLOAT_EQ(first.updates[0], 2.0f);
    EXPECT_FLOAT_EQ(first.advances.at(0), 2.0f);
    EXPECT_FLOAT_EQ(second.updates.at(0), 1.0f);
    // Effects stay on their layers past their end; the script ends at its length.
    EXPECT_EQ(timeline->update(10.0f), 1);
    EXPECT_EQ(first.updates.size(), 2u);
}

TEST(ScriptTimeline, RemoveAndTextCommands)
{
    const auto timeline = load("<script><effect filename=\"Test\"/>"
                               "<event t=\"0\"><cmd command=\"add\" layer=\"5\" instance=\"0\"/></event>"
                               "<event t=\"256\"><cmd command=\"text\" instance=\"0\">count=4;caption=\"x y\";</cmd>"
                               "<cmd command=\"remove\" layer=\"5\"/><cmd command=\"jump\" layer=\"1\" instance=\"0\"/>"
                               "</event></script>");
    timeline->advance(0.5f);
    EXPECT_NE(timeline->layers[5], nullptr);
    const LoggingEffect& effect = effectOf(*timeline, 0);
    EXPECT_EQ(effect.count, 0); // text is only sent when its event applies
    timeline->advance(1.5f);
    EXPECT_EQ(effect.count, 4);
    EXPECT_EQ(effect.caption, "x y");
    for (Effect* layer : timeline->layers)
        EXPECT_EQ(layer, nullptr);
}

TEST(ScriptTimeline, OutOfRangeLayersAndInstancesAreIgnored)
{
    const auto timeline = load("<script><effect filename=\"Test\"/>"
                               "<event t=\"0\">"
                               "<cmd command=\"add\" layer=\"100\" instance=\"0\"/>"
                               "<cmd command=\"add\" layer=\"-1\" instance=\"0\"/>"
                               "<cmd command=\"add\" layer=\"4\" instance=\"1\"/>"
                               "<cmd command=\"add\" layer=\"5\" instance=\"-2\"/>"
                               "<cmd command=\"add\" layer=\"6\"/>"
                               "<cmd command=\"remove\" layer=\"1000\"/>"
                               "<cmd command=\"text\" instance=\"7\">count=1;</cmd>"
                               "<cmd command=\"add\" layer=\"0\" instance=\"0\"/>"
                               "</event></script>");
    timeline->advance(1.0f);
    EXPECT_EQ(timeline->layers[0], timeline->effects[0].get());
    for (int layer = 1; layer < ScriptTimeline::layerCount; ++layer)
        EXPECT_EQ(timeline->layers[layer], nullptr) << "layer " << layer;
}

TEST(ScriptTimeline, AnUnknownEffectIsSkippedWithItsContents)
{
    const auto timeline = load("<script>"
                               "<effect filename=\"Test\"><rootkey>count=1;</rootkey></effect>"
                               "<effect filename=\"Inverse\"><rootkey>count=2;</rootkey>"
                               "<var name=\"x\"><interpkey time=\"1:1:1\" value=\"1\"/></var></effect>"
                               "<effect filename=\"Test\" end=\"256\"/>"
                               "</script>");
    ASSERT_EQ(timeline->effects.size(), 2u);
    const LoggingEffect& first = effectOf(*timeline, 0);
    EXPECT_EQ(first.count, 1);
    EXPECT_TRUE(first.findVar("x")->keys.empty());
    EXPECT_FLOAT_EQ(effectOf(*timeline, 1).end, 1.0f); // instance 1 is the next known effect
}

TEST(ScriptTimeline, TextIsAppliedWholeHoweverTheReaderSplitsIt)
{
    // The rootkey text spans lines and the 256-byte block boundary; the text
    // command is written over several indented lines.
    std::string padding(230, ' ');
    const auto timeline = load("<script><effect filename=\"Test\">" + padding +
                               "<rootkey>\n    caption=\"across the block boundary\";\n    count=2;\n</rootkey>"
                               "</effect><event t=\"0\">\n  <cmd command=\"text\" instance=\"0\">\n"
                               "    speed=2.5;\n    axis=1,2,3;\n  </cmd>\n</event></script>");
    ASSERT_EQ(timeline->effects.size(), 1u);
    const LoggingEffect& effect = effectOf(*timeline, 0);
    EXPECT_EQ(effect.caption, "across the block boundary");
    EXPECT_EQ(effect.count, 2);
    timeline->advance(1.0f);
    EXPECT_FLOAT_EQ(effect.speed, 2.5f);
    EXPECT_FLOAT_EQ(effect.axis[2], 3.0f);
}

TEST(ScriptTimeline, NothingIsReadAfterTheScriptEnds)
{
    const auto timeline = load("<root><script><effect filename=\"Test\" end=\"256\"/></script>"
                               "<effect filename=\"Test\" end=\"99999\"/>"
                               "<event t=\"0\"/></root>");
    EXPECT_EQ(timeline->effects.size(), 1u);
    EXPECT_TRUE(timeline->events.empty());
    EXPECT_FLOAT_EQ(timeline->length, 1.0f);
}

TEST(ScriptTimeline, ACutOffScriptKeepsWhatWasRead)
{
    const auto timeline = load("<script><effect filename=\"Test\" end=\"512\">"
                               "<var name=\"y\"><interpkey time=\"1:1:1\" value=\"0\"/>"
                               "<interpkey time=\"1:2:1\" value=\"1\"/></var>");
    ASSERT_EQ(timeline->effects.size(), 1u);
    // The unfinished effect is still finished: its keys have tangents.
    EXPECT_FLOAT_EQ(effectOf(*timeline, 0).findVar("y")->keys[0].outTangent, 1.0f);
    EXPECT_FLOAT_EQ(timeline->length, 2.0f);
}

} // namespace
