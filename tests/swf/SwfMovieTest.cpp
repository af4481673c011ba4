#include "SwfTestMovies.h"

#include "swf/swfCharacter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;
using swftest::movieBytes;
using swftest::readInto;

namespace {

swfShape unitShape()
{
    swfShape shape(1);
    shape.setPenBox(-100, -200, 300, 400);
    shape.setBaseColour({1, 0.5f, 0.25f, 1});
    return shape;
}

TEST(SwfCharacter, MatrixTransformsTheObjectsOwnCornersOnly)
{
    swfShape shape = unitShape();
    swfMatrix m;
    m.scaleX = 0x20000;       // 2
    m.rotateSkew0 = 0x8000;   // 0.5
    m.rotateSkew1 = 0;
    m.scaleY = 0x10000;
    m.translateX = 400;       // 20 pixels
    m.translateY = -60;       // -3 pixels
    for (int pass = 0; pass < 2; ++pass) {   // applying it again changes nothing
        SCOPED_TRACE(pass);
        shape.applyMatrix(m);
        EXPECT_FLOAT_EQ(shape.position.x, 20);
        EXPECT_FLOAT_EQ(shape.position.y, -3);
        // (a x + c y + px, b x + d y + py) of corner (-100, -200)
        EXPECT_FLOAT_EQ(shape.transformedCorners[0].x, 2 * -100 + 20);
        EXPECT_FLOAT_EQ(shape.transformedCorners[0].y, 0.5f * -100 + -200 - 3);
        EXPECT_FLOAT_EQ(shape.transformedCorners[2].x, 2 * 300 + 20);
        EXPECT_FLOAT_EQ(shape.transformedCorners[2].y, 0.5f * 300 + 400 - 3);
    }
    EXPECT_FLOAT_EQ(shape.corners[0].x, -100);
}

TEST(SwfCharacter, ColourTransformsStartFromTheBaseColour)
{
    struct Row {
        const char* name;
        swfColourTransform transform;
        swfColour expected;
    };
    swfColourTransform half;
    half.redMultiply = 128;
    swfColourTransform add;
    add.greenAdd = 64;
    add.alphaMultiply = 0;
    add.alphaAdd = -128;
    const Row rows[] = {
        {"red multiply 128", half, {0.5f, 0.5f, 0.25f, 1}},
        {"adds in 1/256", add, {1, 0.75f, 0.25f, -0.5f}},
        {"an event's default", swfColourTransform::eventDefault(), {255 / 256.f, 0.5f * 255 / 256, 0.25f * 255 / 256, 255 / 256.f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        swfShape shape = unitShape();
        shape.applyColourTransform(half);   // never compounds
        shape.applyColourTransform(row.transform);
        EXPECT_FLOAT_EQ(shape.colour.r, row.expected.r);
        EXPECT_FLOAT_EQ(shape.colour.g, row.expected.g);
        EXPECT_FLOAT_EQ(shape.colour.b, row.expected.b);
        EXPECT_FLOAT_EQ(shape.colour.a, row.expected.a);
    }
}

TEST(SwfCharacter, CloneCopiesTheDerivedPart)
{
    swfText text(6);
    text.glyphCount = 2;
    text.glyphIndices[1] = 42;
    text.fontId = 3;
    std::unique_ptr<swfCharacter> copy = text.clone();
    auto copiedText = dynamic_cast<swfText*>(copy.get());
    ASSERT_NE(copiedText, nullptr);
    EXPECT_EQ(copiedText->glyphIndices[1], 42);
    EXPECT_EQ(copiedText->fontId, 3);
    EXPECT_EQ(copiedText->id, 6);
}

// Playback of one movie ---------------------------------------------------------

// Layer 1 holds a 20 x 20 white square; frame i moves it to x = 20 i pixels.
std::vector<uint8_t> walkingSquare(int frames)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {-200, 200, -200, 200}, {255, 255, 255, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 0, 0));
    tags.showFrame();
    for (int i = 1; i < frames; ++i) {
        tags.placeObject2(swftest::moveTo(1, 400 * i, 0));
        tags.showFrame();
    }
    return movieBytes(tags);
}

TEST(SwfMovie, TimesBeyondTheFramesAndOutOfRangeAreSafe)
{
    swfMovie movie;
    ASSERT_EQ(readInto(movie, walkingSquare(3)), 1);
    movie.advance(1e12);
    EXPECT_EQ(movie.currentFrame(), INT32_MAX);
    EXPECT_FLOAT_EQ(movie.layer(1)->objects[0]->position.x, 40);
    movie.advance(std::nan(""));
    EXPECT_EQ(movie.currentFrame(), INT32_MAX);
    movie.advance(-1e12);   // restarts
    EXPECT_EQ(movie.currentFrame(), 0);
    movie.rewind();
    movie.advance(-0.5);    // before frame 0: nothing plays
    EXPECT_EQ(movie.currentFrame(), -1);
    EXPECT_TRUE(movie.layer(1)->objects.empty());
}

TEST(SwfMovie, PlacementsOnALayer)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 0, 0, 255}));
    tags.defineShape(Shape::rectangle(2, {0, 20, 0, 20}, {0, 255, 0, 255}));
    tags.placeObject2(swftest::placeAt(4, 1, 100, 0));
    tags.placeObject2(swftest::placeAt(4, 2, 200, 0));
    tags.placeObject2(swftest::placeAt(4, 77, 300, 20));   // unknown character: moves the others
    tags.placeObject2(swftest::placeAt(25, 1, 0, 0));      // depth outside 0-19: ignored
    tags.showFrame();
    tags.placeObject2(swftest::moveTo(4, 2000, 40, swftest::multiplyBy(128, 256, 256, 256)));
    tags.showFrame();
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    movie.advance(0);
    const auto& objects = movie.layer(4)->objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->id, 1);
    EXPECT_EQ(objects[1]->id, 2);
    EXPECT_FLOAT_EQ(objects[0]->position.x, 15);
    EXPECT_FLOAT_EQ(objects[1]->position.y, 1);
    movie.advance(1);
    for (const auto& object : objects) {
        EXPECT_FLOAT_EQ(object->position.x, 100);
        EXPECT_FLOAT_EQ(object->position.y, 2);
    }
    EXPECT_FLOAT_EQ(objects[0]->colour.r, 0.5f);
    EXPECT_FLOAT_EQ(objects[1]->colour.g, 1);
    // The dictionary's characters are never touched by placements.
    EXPECT_FLOAT_EQ(movie.character(1)->position.x, 0);
    EXPECT_EQ(movie.layer(20), nullptr);
}

// Commands and object callbacks ------------------------------------------------

std::vector<uint8_t> movieWithCommands(const std::vector<std::string>& commands)
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 0, 0, 255}));
    tags.placeObject2(swftest::placeAt(3, 1, 0, 0));
    tags.showFrame();
    for (const std::string& command : commands)
        tags.doAction(ActionWriter().getURL("", command));
    tags.showFrame();
    return movieBytes(tags);
}

TEST(SwfMovie, AddObjectCallbackAttachesRegisteredCallbacks)
{
    struct Row {
        const char* name;
        std::string command;
        int callsPerAdvance;
    };
    const Row rows[] = {
        {"one layer", "addObjectCallback,3,watch", 1},
        {"every layer", "addObjectCallback,666,watch", 20},
        {"every layer, unknown name", "addObjectCallback,666,nobody", 0},
        {"no name", "addObjectCallback,3", 0},
        {"layer out of range", "addObjectCallback,20,watch", 0},
        {"layer not a number reads as 0", "addObjectCallback,x,watch", 1},
        {"removal has no effect", "removeObjectCallback,3,watch", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        swfMovie movie;
        ASSERT_EQ(readInto(movie, movieWithCommands({row.command})), 1);
        int calls = 0;
        size_t objectsSeen = 0;
        movie.registerObjectCallback("watch", [&](swfMovie&, std::vector<swfCharacter*> objects) {
            ++calls;
            objectsSeen += objects.size();
        });
        movie.advance(1);   // fires the command; the callbacks run in the same advance
        EXPECT_EQ(calls, row.callsPerAdvance);
        movie.advance(1.5);
        EXPECT_EQ(calls, 2 * row.callsPerAdvance);
        // Only layer 3 holds an object.
        bool seesLayer3 = row.callsPerAdvance > 0 && row.command.find(",x,") == std::string::npos;
        EXPECT_EQ(objectsSeen, seesLayer3 ? 2u : 0u);
    }
}

} // namespace
