#include "swf/swfScript.h"
#include "swfwriter/SwfAnimation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;

namespace {

const char* const description = R"(# a fade and a slide
movie 640 480 25
layer 2 size 40 20
key 2 0 colour 1 0 0 1 position 100 50
key 2 4 colour 0 0 1 0.5     # position carries over
key 2 8 position 300 50
layer 7
key 7 2
remove 7 6
command 3 setCamera,,Camera02
command 5   doK,4
)";

TEST(SwfAnimation, DescriptionErrorsNameTheLine)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"layer 1\nkey 2 0", "line 2: layer not declared"},
        {"layer 20", "line 1: expected layer DEPTH (0-19)"},
        {"layer 1\nlayer 1", "line 2: layer declared twice"},
        {"layer 1 size 10", "line 1: expected size WIDTH HEIGHT"},
        {"layer 1\nkey 1 0 colour 1 0 0", "line 2: expected colour R G B A"},
        {"layer 1\nkey 1 0 position 1 x", "line 2: expected position X Y"},
        {"layer 1\nkey 1 0 size 3", "line 2: unknown key value 'size'"},
        {"layer 1\nkey 1 1.5", "line 2: expected key DEPTH FRAME"},
        {"layer 1\nremove 1 -1", "line 2: expected remove DEPTH FRAME"},
        {"command 4", "line 1: expected command FRAME TEXT"},
        {"frames 0", "line 1: expected frames COUNT (1-65535)"},
        {"movie 640 480 nan", "line 1: expected movie WIDTH HEIGHT RATE"},
        {"\n\nframes 3 4", "line 3: unexpected '4'"},
        {"tween 1 2", "line 1: unknown statement 'tween'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Animation a;
        a.width = 123;
        std::string error;
        EXPECT_FALSE(parseAnimation(row.text, a, error));
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(a.width, 123);   // untouched on error
    }
}

TEST(SwfAnimation, PlaysBackAsDescribed)
{
    Animation a;
    std::string error;
    ASSERT_TRUE(parseAnimation(description, a, error)) << error;
    std::vector<uint8_t> bytes = writeAnimation(a);
    swfScript script(bytes.data(), bytes.size());
    ASSERT_EQ(script.primary()->frameCount(), 9);
    EXPECT_EQ(script.primary()->width(), 640);
    EXPECT_EQ(script.primary()->frameRate(), 25);
    std::vector<swfArguments> calls;
    for (const char* name : {"setCamera", "doK"})
        script.registerCommand(name, [&calls](swfMovie&, const swfArguments& arguments) {
            calls.push_back(arguments);
            return 0;
        });
    float colour[4] = {}, position[2] = {};
    script.bindColour(2, colour);
    script.bindPosition(2, position);

    struct Row {
        double t;
        float colour[4];
        float position[2];
    };
    const Row rows[] = {
        {0, {1, 0, 0, 1}, {100, 50}},
        {2, {0.5f, 0, 0.5f, 0.75f}, {100, 50}},
        {3.5f, {0.125f, 0, 0.875f, 0.5625f}, {100, 50}},
        {6, {0, 0, 1, 0.5f}, {200, 50}},
        {8.5, {0, 0, 1, 0.5f}, {300, 50}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.t);
        script.update(row.t);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(colour[i], row.colour[i], 1.0f / 256);
        EXPECT_FLOAT_EQ(position[0], row.position[0]);
        EXPECT_FLOAT_EQ(position[1], row.position[1]);
    }
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], (swfArguments{"setCamera", "Camera02"}));
    EXPECT_EQ(calls[1], (swfArguments{"doK", "4"}));
    // Layer 7 lives from frame 2 until its removal on frame 6.
    EXPECT_TRUE(script.primary()->layer(7)->objects.empty());
    const swfCharacter* square = script.primary()->character(3);
    ASSERT_NE(square, nullptr);
    EXPECT_FLOAT_EQ(square->size.x, 40);
    EXPECT_FLOAT_EQ(square->size.y, 20);
}

TEST(SwfAnimation, LoopingKeepsOneObjectPerLayer)
{
    Animation a;
    AnimationLayer layer;
    layer.depth = 1;
    layer.keys = {{0, std::array<double, 4>{1, 1, 1, 1}, std::array<double, 2>{0, 0}},
                  {3, std::nullopt, std::array<double, 2>{30, 0}}};
    a.layers = {layer};
    std::vector<uint8_t> bytes = writeAnimation(a);
    swfScript script(bytes.data(), bytes.size());
    float position[2] = {};
    script.bindPosition(1, position);
    for (double t = 0; t < 20; t += 0.5)
        script.update(t);
    EXPECT_EQ(script.primary()->layer(1)->objects.size(), 1u);
    // t = 19.5 wraps to 3.5 of 4 frames; the look-ahead, at 4.5, holds the
    // last frame rather than wrapping to frame 0.
    EXPECT_FLOAT_EQ(position[0], 30);
}

} // namespace

namespace {

TEST(SwfAnimation, EvenAnEmptySmallMovieIsLongEnoughToRead)
{
    Animation a;
    a.width = 10;
    a.height = 4;
    std::vector<uint8_t> bytes = writeAnimation(a);
    EXPECT_GE(bytes.size(), 21u);
    swfMovie movie;
    EXPECT_EQ(movie.load(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(movie.width(), 10);
}

} // namespace
