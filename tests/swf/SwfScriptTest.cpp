#include "SwfTestMovies.h"

#include "swf/swfScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;
using swftest::movieBytes;

namespace {

const char* const layerError = "Error in swfScript::update, requested layer has no objects\n";

// Layer 1: a white square whose frame i puts it at x = 20 i pixels, with the
// colour multipliers of `colours[i]` (red, green, blue, alpha in 1/256).
std::vector<uint8_t> animatedSquare(int frames, const std::vector<std::array<int16_t, 4>>& colours = {})
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {-200, 200, -200, 200}, {255, 255, 255, 255}));
    for (int i = 0; i < frames; ++i) {
        std::array<int16_t, 4> c = i < int(colours.size()) ? colours[size_t(i)] : std::array<int16_t, 4>{256, 256, 256, 256};
        ColourTransform cx = swftest::multiplyBy(c[0], c[1], c[2], c[3]);
        tags.placeObject2(i == 0 ? swftest::placeAt(1, 1, 0, 0, cx) : swftest::moveTo(1, 400 * i, 0, cx));
        tags.showFrame();
    }
    return movieBytes(tags);
}

struct ScriptOnBytes {
    explicit ScriptOnBytes(std::vector<uint8_t> file) : bytes(std::move(file)), script(bytes.data(), bytes.size()) {}
    std::vector<uint8_t> bytes;
    swfScript script;
};

TEST(SwfScript, LoopWrapsTimeAndInterpolatesTowardTheNextFrame)
{
    ScriptOnBytes s(animatedSquare(10));
    float position[2] = {-1, -1};
    s.script.bindPosition(1, position);
    s.script.update(23.25);   // 23.25 mod 10 = 3.25
    EXPECT_EQ(s.script.primary()->currentFrame(), 3);
    EXPECT_EQ(s.script.lookAhead()->currentFrame(), 4);
    EXPECT_FLOAT_EQ(position[0], 0.75f * 60 + 0.25f * 80);
    EXPECT_FLOAT_EQ(position[1], 0);
}

TEST(SwfScript, WithoutLoopTimePassesTheLastFrame)
{
    ScriptOnBytes s(animatedSquare(10));
    s.script.loop = false;
    float position[2] = {};
    s.script.bindPosition(1, position);
    s.script.update(23.25);
    EXPECT_EQ(s.script.primary()->currentFrame(), 23);
    EXPECT_FLOAT_EQ(position[0], 180);   // the last frame holds
}

TEST(SwfScript, ColourTweenFromRedToBlue)
{
    ScriptOnBytes s(animatedSquare(2, {{256, 0, 0, 256}, {0, 0, 256, 256}}));
    float colour[4] = {};
    s.script.bindColour(1, colour);
    s.script.update(0.5);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_FLOAT_EQ(colour[1], 0);
    EXPECT_FLOAT_EQ(colour[2], 0.5f);
    EXPECT_FLOAT_EQ(colour[3], 1);
}

TEST(SwfScript, ColourTransformOnARedShape)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 0, 0, 255}));
    tags.placeObject2(swftest::placeAt(2, 1, 0, 0, swftest::multiplyBy(128, 256, 256, 256)));
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    float colour[4] = {};
    s.script.bindColour(2, colour);
    s.script.update(0);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_FLOAT_EQ(colour[3], 1);
}

TEST(SwfScript, BindingsReadTheFirstOfSeveralObjects)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 0, 0, 255}));
    tags.defineShape(Shape::rectangle(2, {0, 20, 0, 20}, {0, 255, 0, 255}));
    tags.placeObject2(swftest::placeAt(5, 1, 100, 0));
    tags.placeObject2(swftest::placeAt(5, 2, 200, 0));
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    float colour[4] = {}, position[2] = {};
    s.script.bindColour(5, colour);
    s.script.bindPosition(5, position);
    s.script.update(0);
    EXPECT_EQ(s.script.primary()->layer(5)->objects.size(), 2u);
    EXPECT_FLOAT_EQ(colour[0], 1);
    EXPECT_FLOAT_EQ(colour[1], 0);
    EXPECT_FLOAT_EQ(position[0], 10);   // the second placement moved both
}

TEST(SwfScript, RemovalLeavesTheLastValueAndReportsTheEmptyLayer)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 255, 255, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 600, 0));
    tags.showFrame();
    tags.removeObject(1, 1);
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    float position[2] = {};
    s.script.bindPosition(1, position);
    testing::internal::CaptureStdout();
    s.script.update(0.5);   // the look-ahead's layer is empty: no interpolation toward nothing
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FLOAT_EQ(position[0], 30);
    testing::internal::CaptureStdout();
    s.script.update(1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), layerError);
    EXPECT_FLOAT_EQ(position[0], 30);
}

TEST(SwfScript, TimeGoingBackRestartsWithoutClearingAndThenCatchesUp)
{
    ScriptOnBytes s(animatedSquare(10));
    s.script.loop = false;
    float position[2] = {};
    s.script.bindPosition(1, position);
    s.script.update(5);
    EXPECT_FLOAT_EQ(position[0], 100);
    s.script.update(2.5);
    EXPECT_EQ(s.script.primary()->currentFrame(), 0);
    EXPECT_EQ(s.script.primary()->layer(1)->objects.size(), 2u);
    EXPECT_FLOAT_EQ(position[0], 0);
    s.script.update(3);
    EXPECT_EQ(s.script.primary()->currentFrame(), 3);
    EXPECT_FLOAT_EQ(position[0], 60);
}

TEST(SwfScript, CommandsFireOnceFromThePrimaryMovie)
{
    TagWriter tags;
    tags.showFrame();
    tags.showFrame();
    tags.doAction(ActionWriter().fscommand("setCamera,,Camera02"));
    tags.doAction(ActionWriter().getURL("", "nobodyListens"));
    tags.showFrame();
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    std::vector<swfArguments> calls;
    s.script.registerCommand("setCamera", [](swfMovie&, const swfArguments&) { return 0; });
    s.script.registerCommand("setCamera", [&calls](swfMovie& movie, const swfArguments& arguments) {
        calls.push_back(arguments);   // replaces the first handler
        return movie.currentFrame();
    });
    s.script.update(1.5);   // the look-ahead passes frame 2 silently
    EXPECT_TRUE(calls.empty());
    s.script.update(2.25);
    s.script.update(2.75);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (swfArguments{"setCamera", "Camera02"}));
}

TEST(SwfScript, ObjectCallbacksAttachThroughTheMovie)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 255, 255, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 0, 0));
    tags.doAction(ActionWriter().getURL("", "addObjectCallback,666,count"));
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    int calls = 0;
    s.script.registerObjectCallback("count", [&calls](swfMovie&, std::vector<swfCharacter*>) { ++calls; });
    s.script.update(0);
    EXPECT_EQ(calls, 20);   // the primary's 20 layers; the look-ahead runs no commands
}

TEST(SwfScript, RewindReplaysFromTheStart)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 255, 255, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 200, 0));
    tags.doAction(ActionWriter().getURL("", "capture"));
    tags.showFrame();
    ScriptOnBytes s(movieBytes(tags));
    int captures = 0;
    s.script.registerCommand("capture", [&captures](swfMovie&, const swfArguments&) { return ++captures; });
    float position[2] = {};
    s.script.bindPosition(1, position);
    s.script.update(0.5);
    s.script.rewind();
    EXPECT_EQ(s.script.primary()->currentFrame(), -1);
    EXPECT_EQ(s.script.lookAhead()->currentFrame(), -1);
    EXPECT_DOUBLE_EQ(s.script.primary()->currentTime(), 0);
    EXPECT_TRUE(s.script.primary()->layer(1)->objects.empty());
    EXPECT_TRUE(s.script.lookAhead()->layer(1)->objects.empty());
    position[0] = -1;
    s.script.update(0);
    EXPECT_EQ(captures, 2);
    EXPECT_FLOAT_EQ(position[0], 10);
    EXPECT_EQ(s.script.primary()->layer(1)->objects.size(), 1u);
}

TEST(SwfScript, NoSourceLeavesAnInertScript)
{
    struct Row {
        const char* name;
        std::function<std::unique_ptr<swfScript>()> make;
        std::string message;
    };
    const std::string missing = std::string(GLINT_BINARY_DIR) + "/no-such-movie.swf";
    const Row rows[] = {
        {"null path", [] { return std::make_unique<swfScript>(static_cast<const char*>(nullptr)); },
         "screwup in swfScript constructor\n"},
        {"null image", [] { return std::make_unique<swfScript>(static_cast<const void*>(nullptr), 10); },
         "screwup in swfScript constructor\n"},
        {"missing file", [&] { return std::make_unique<swfScript>(missing.c_str()); }, "cannot find " + missing + "\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::internal::CaptureStdout();
        std::unique_ptr<swfScript> script = row.make();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.message);
        EXPECT_EQ(script->primary(), nullptr);
        float colour[4] = {7, 7, 7, 7};
        testing::internal::CaptureStdout();
        script->bindColour(1, colour);
        script->registerCommand("x", [](swfMovie&, const swfArguments&) { return 0; });
        script->update(3);
        script->rewind();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(colour[0], 7);
    }
}

TEST(SwfScript, AFileThatFailsTheHeaderReportsEveryBindingOnEveryUpdate)
{
    std::vector<uint8_t> file = animatedSquare(3);
    file[0] = 'C';
    ScriptOnBytes s(file);
    ASSERT_NE(s.script.primary(), nullptr);
    EXPECT_EQ(s.script.primary()->frameCount(), 0);
    float colour[4] = {}, position[2] = {};
    s.script.bindColour(1, colour);
    s.script.bindPosition(2, position);
    testing::internal::CaptureStdout();
    s.script.update(4.5);   // no frame count to wrap at
    s.script.update(5.5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(layerError) + layerError + layerError + layerError);
    EXPECT_EQ(s.script.primary()->currentFrame(), 5);
}

TEST(SwfScript, BindingsToLayersOutsideTheMovieReportTheEmptyLayer)
{
    ScriptOnBytes s(animatedSquare(2));
    float position[2] = {3, 4};
    s.script.bindPosition(20, position);
    s.script.bindPosition(-1, position);
    testing::internal::CaptureStdout();
    s.script.update(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(layerError) + layerError);
    EXPECT_EQ(position[0], 3);
}

} // namespace
