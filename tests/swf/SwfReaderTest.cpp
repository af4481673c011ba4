#include "SwfTestMovies.h"

#include "swf/swfCharacter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;
using swftest::movieBytes;
using swftest::readInto;

namespace {

// FWS, version 6, length, RECT 0..12800 x 0..9600 with 15-bit fields, rate,
// count, then one End tag: a minimal movie written byte by byte.
std::vector<uint8_t> handWrittenMovie(uint8_t rateFraction, uint8_t rate, uint32_t length)
{
    return {'F', 'W', 'S', 6,
            static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8), 0, 0,
            // 01111 000000000000000 011001000000000 000000000000000 010010110000000
            0x78, 0x00, 0x06, 0x40, 0x00, 0x00, 0x12, 0xC0, 0x00,
            rateFraction, rate, 10, 0,
            0, 0};
}

TEST(SwfReader, HandWrittenHeader)
{
    std::vector<uint8_t> file = handWrittenMovie(0x80, 0x1E, 23);
    swfMovie movie;
    bool damaged = true;
    ASSERT_EQ(readInto(movie, file, &damaged), 1);
    EXPECT_FALSE(damaged);
    EXPECT_EQ(movie.width(), 640);
    EXPECT_EQ(movie.height(), 480);
    EXPECT_EQ(movie.frameRate(), 30.0);   // 30.5 keeps only its whole frames
    EXPECT_EQ(movie.frameCount(), 10);
    EXPECT_EQ(movie.frames().size(), 1u);
}

TEST(SwfReader, RejectedHeadersReadNothing)
{
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> compressed = handWrittenMovie(0, 30, 23);
    compressed[0] = 'C';
    std::vector<uint8_t> lowercase = handWrittenMovie(0, 30, 23);
    lowercase[1] = 'w';
    const Row rows[] = {
        {"compressed signature", compressed},
        {"wrong letter", lowercase},
        {"stated length 20", handWrittenMovie(0, 30, 20)},
        {"stated length 0", handWrittenMovie(0, 30, 0)},
        {"shorter than the signature and length", {'F', 'W', 'S', 6, 23}},
        {"empty", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        swfMovie movie;
        EXPECT_EQ(readInto(movie, row.bytes), 0);
        EXPECT_TRUE(movie.frames().empty());
        EXPECT_EQ(movie.width(), 0);
        EXPECT_EQ(movie.height(), 0);
        EXPECT_EQ(movie.frameRate(), 0.0);
        EXPECT_EQ(movie.frameCount(), 0);
    }
    swfMovie movie;
    EXPECT_EQ(swfReader(movie, nullptr, 100).result(), 0);
}

TEST(SwfReader, HeaderCutShortIsRejected)
{
    std::vector<uint8_t> file = handWrittenMovie(0, 30, 23);
    file.resize(12);   // the stated length promises more than exists
    swfMovie movie;
    EXPECT_EQ(readInto(movie, file), 0);
    EXPECT_TRUE(movie.frames().empty());
    EXPECT_EQ(movie.width(), 0);
}

TEST(SwfReader, FrameSizeIsTruncatedToWholePixels)
{
    Header header;
    header.frameSize = {-10, 12815, 0, 9619};   // 641.25 x 480.95 pixels
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(TagWriter(), header)), 1);
    EXPECT_EQ(movie.width(), 641);
    EXPECT_EQ(movie.height(), 480);
}

TEST(SwfReader, ShowFramesAppendFramesAndEventsGoToTheirFrame)
{
    TagWriter tags;
    tags.setBackgroundColor({1, 2, 3, 255});
    tags.removeObject2(1);
    tags.showFrame();
    tags.showFrame();
    tags.removeObject2(2);
    tags.removeObject2(3);
    tags.showFrame();
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    ASSERT_EQ(movie.frames().size(), 4u);   // one at the start, one per ShowFrame
    EXPECT_EQ(movie.frameCount(), 3);
    EXPECT_EQ(movie.frames()[0].events.size(), 1u);
    EXPECT_TRUE(movie.frames()[1].events.empty());
    ASSERT_EQ(movie.frames()[2].events.size(), 2u);
    EXPECT_EQ(movie.frames()[2].events[0].depth, 2);
    EXPECT_EQ(movie.frames()[2].events[1].depth, 3);
}

TEST(SwfReader, TagsWithLongLengthHeadersAndUnknownCodesKeepTheStreamInStep)
{
    TagWriter tags;
    tags.tag(77, std::vector<uint8_t>(5, 0xEE));          // unknown
    tags.tag(tagRemoveObject2, {4, 0, 0xAA, 0xBB}, true); // longer than it reads, long header
    tags.tag(37, std::vector<uint8_t>(100, 0x01));        // DefineEditText, skipped
    tags.removeObject2(5);
    swfMovie movie;
    bool damaged = true;
    ASSERT_EQ(readInto(movie, movieBytes(tags), &damaged), 1);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(movie.frames()[0].events.size(), 2u);
    EXPECT_EQ(movie.frames()[0].events[0].depth, 4);
    EXPECT_EQ(movie.frames()[0].events[1].depth, 5);
}

// Placement and removal events ---------------------------------------------

TEST(SwfReader, PlaceObject2EventsByFlags)
{
    Matrix matrix = Matrix::translation(200, -40);
    ColourTransform cx = swftest::multiplyBy(128, 64, 32, 16);
    struct Row {
        const char* name;
        bool character, hasMatrix, hasColour;
        bool expectEvent;
    };
    const Row rows[] = {
        {"character only adds nothing", true, false, false, false},
        {"character and matrix", true, true, false, true},
        {"colour transform only", false, false, true, true},
        {"both", true, true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Placement p;
        p.depth = 7;
        if (row.character)
            p.character = 3;
        if (row.hasMatrix)
            p.matrix = matrix;
        if (row.hasColour)
            p.colourTransform = cx;
        p.ratio = 9;   // trailing fields are not used
        TagWriter tags;
        tags.placeObject2(p);
        swfMovie movie;
        ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
        const auto& events = movie.frames()[0].events;
        ASSERT_EQ(events.size(), row.expectEvent ? 1u : 0u);
        if (!row.expectEvent)
            continue;
        const swfDisplayEvent& e = events[0];
        EXPECT_EQ(e.code, 26u);
        EXPECT_EQ(e.flags, (row.character ? 0x02 : 0) | (row.hasMatrix ? 0x04 : 0) | (row.hasColour ? 0x08 : 0) | 0x10);
        EXPECT_EQ(e.depth, 7);
        EXPECT_EQ(e.characterId, row.character ? 3 : 0);
        // Without a matrix the scale terms are 1, not 0x10000.
        EXPECT_EQ(e.matrix.scaleX, row.hasMatrix ? 0x10000 : 1);
        EXPECT_EQ(e.matrix.scaleY, row.hasMatrix ? 0x10000 : 1);
        EXPECT_EQ(e.matrix.translateX, row.hasMatrix ? 200 : 0);
        EXPECT_EQ(e.matrix.translateY, row.hasMatrix ? -40 : 0);
        // Without a colour transform the multipliers are 255, not 256.
        EXPECT_EQ(e.colourTransform.redMultiply, row.hasColour ? 128 : 255);
        EXPECT_EQ(e.colourTransform.greenMultiply, row.hasColour ? 64 : 255);
        EXPECT_EQ(e.colourTransform.blueMultiply, row.hasColour ? 32 : 255);
        EXPECT_EQ(e.colourTransform.alphaMultiply, row.hasColour ? 16 : 255);
        EXPECT_EQ(e.colourTransform.redAdd, 0);
    }
}

TEST(SwfReader, PlaceObjectWithAndWithoutColourTransform)
{
    ColourTransform cx = swftest::multiplyBy(100, 90, 80, 0);
    TagWriter tags;
    tags.placeObject(4, 2, Matrix::translation(20, 40));
    tags.placeObject(5, 3, Matrix::translation(-20, 0), &cx);
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    const auto& events = movie.frames()[0].events;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].code, 4u);
    EXPECT_EQ(events[0].flags, 0);
    EXPECT_EQ(events[0].characterId, 4);
    EXPECT_EQ(events[0].depth, 2);
    EXPECT_EQ(events[0].matrix.translateY, 40);
    EXPECT_EQ(events[0].colourTransform.redMultiply, 255);
    EXPECT_EQ(events[0].colourTransform.alphaMultiply, 255);
    EXPECT_EQ(events[1].matrix.translateX, -20);
    EXPECT_EQ(events[1].colourTransform.redMultiply, 100);
    EXPECT_EQ(events[1].colourTransform.blueMultiply, 80);
    EXPECT_EQ(events[1].colourTransform.alphaMultiply, 256);   // a CXFORM without alpha
}

TEST(SwfReader, BothRemovalTagsBecomeCodeFive)
{
    TagWriter tags;
    tags.removeObject(9, 4);
    tags.removeObject2(6);
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    const auto& events = movie.frames()[0].events;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].code, 5u);
    EXPECT_EQ(events[0].characterId, 9);
    EXPECT_EQ(events[0].depth, 4);
    EXPECT_EQ(events[1].code, 5u);
    EXPECT_EQ(events[1].characterId, 0);
    EXPECT_EQ(events[1].depth, 6);
    EXPECT_EQ(events[1].matrix.scaleX, 1);
    EXPECT_EQ(events[1].colourTransform.greenMultiply, 255);
}

TEST(SwfReader, SpriteFramesCountFromZeroAndExtendTheMovie)
{
    TagWriter body;
    body.showFrame();
    body.showFrame();
    body.placeObject2(swftest::placeAt(3, 1, 0, 0));
    body.showFrame();
    TagWriter tags;
    tags.removeObject2(1);
    tags.defineSprite(50, body);
    tags.showFrame();
    tags.removeObject2(2);
    swfMovie movie;
    bool damaged = true;
    ASSERT_EQ(readInto(movie, movieBytes(tags), &damaged), 1);
    EXPECT_FALSE(damaged);
    // Main start, sprite start, three sprite ShowFrames, one main ShowFrame.
    ASSERT_EQ(movie.frames().size(), 6u);
    ASSERT_EQ(movie.frames()[2].events.size(), 1u);
    EXPECT_EQ(movie.frames()[2].events[0].depth, 3);
    ASSERT_EQ(movie.frames()[0].events.size(), 1u);
    ASSERT_EQ(movie.frames()[1].events.size(), 1u);   // the main timeline's second frame
    EXPECT_EQ(movie.frames()[1].events[0].depth, 2);
}

TEST(SwfReader, SpritesNestedWithoutEndStopAtTheirLimit)
{
    TagWriter inner;
    inner.removeObject2(1);
    for (int level = 0; level < 20; ++level) {
        TagWriter outer;
        outer.defineSprite(static_cast<uint16_t>(level + 1), inner);
        inner = outer;
    }
    swfMovie movie;
    bool damaged = false;
    ASSERT_EQ(readInto(movie, movieBytes(inner), &damaged), 1);
    EXPECT_TRUE(damaged);   // the deepest sprites were left unread
    EXPECT_TRUE(movie.frames()[0].events.empty());
    EXPECT_LT(movie.frames().size(), 20u);
}

// Actions -------------------------------------------------------------------

TEST(SwfReader, DoActionCommands)
{
    using V = std::vector<ActionWriter::PushValue>;
    struct Row {
        const char* name;
        ActionWriter actions;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"fscommand in mixed case, then the command in its own Push",
         ActionWriter().push(V{std::string("FSCommand:")}).push(V{std::string("setCamera,Camera02")}).raw(0x9A, {0}),
         {"setCamera,Camera02"}},
        {"both strings in one Push yield the marker itself",
         ActionWriter().push(V{std::string("fscommand:"), std::string("setCamera,Camera02")}),
         {"fscommand:"}},
        {"pushes without the marker yield nothing",
         ActionWriter().push(V{std::string("setCamera")}).push(V{std::string("Camera02")}),
         {}},
        {"an empty string does not replace the last pushed one",
         ActionWriter().push(V{std::string("fscommand:")}).push(V{std::string("pull")}).push(V{std::string("")}),
         {"pull"}},
        {"a float first value is not a string",
         ActionWriter().push(V{1.5f, std::string("fscommand:")}).push(V{std::string("x")}),
         {}},
        {"GetURL targets whatever the url",
         ActionWriter().getURL("http://example.org/", "doK,4").getURL("", "whiten"),
         {"doK,4", "whiten"}},
        {"GetURL commands come before the fscommand one",
         ActionWriter().fscommand("jitter,2").getURL("u", "darken"),
         {"darken", "jitter,2"}},
        {"records below 0x80 carry no length",
         ActionWriter().raw(0x07).raw(0x17).getURL("u", "inverse"),
         {"inverse"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TagWriter tags;
        tags.doAction(row.actions);
        swfMovie movie;
        ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
        std::vector<std::string> commands;
        for (const swfCommand& c : movie.frames()[0].commands)
            commands.push_back(c.text);
        EXPECT_EQ(commands, row.expected);
    }
}

TEST(SwfReader, ActionRecordsResumeAfterTheirStatedLength)
{
    // A Push whose stated length covers more than its first value: the
    // rest of the record is skipped, whatever it holds.
    std::vector<uint8_t> push = {0, 'f', 's', 'c', 'o', 'm', 'm', 'a', 'n', 'd', ':', 0, 0x83, 0x83, 0x83};
    TagWriter tags;
    tags.doAction(ActionWriter().raw(0x96, push).raw(0x81, {1, 0}).push({std::string("capture")}));
    swfMovie movie;
    ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
    ASSERT_EQ(movie.frames()[0].commands.size(), 1u);
    EXPECT_EQ(movie.frames()[0].commands[0].text, "capture");
}

TEST(SwfReader, CommandsAreSplitAtCommas)
{
    struct Row {
        const char* text;
        std::vector<std::string> arguments;
    };
    const Row rows[] = {
        {"setCamera,,Camera02", {"setCamera", "Camera02"}},
        {",doK,4,", {"doK", "4"}},
        {"pull", {"pull"}},
        {",,,", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TagWriter tags;
        tags.doAction(ActionWriter().getURL("", row.text));
        swfMovie movie;
        ASSERT_EQ(readInto(movie, movieBytes(tags)), 1);
        ASSERT_EQ(movie.frames()[0].commands.size(), 1u);
        EXPECT_EQ(movie.frames()[0].commands[0].arguments, row.arguments);
    }
}

// Truncated and lying files --------------------------------------------------

std::vector<uint8_t> threeFrameMovie()
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {-200, 200, -100, 100}, {255, 0, 0, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 100, 100));
    tags.showFrame();
    tags.doAction(ActionWriter().getURL("", "doK,1"));
    tags.placeObject2(swftest::moveTo(1, 200, 100));
    tags.showFrame();
    tags.removeObject2(1);
    tags.showFrame();
    return movieBytes(tags);
}

size_t countEvents(const swfMovie& movie)
{
    size_t n = 0;
    for (const swfFrame& f : movie.frames())
        n += f.events.size() + f.commands.size();
    return n;
}

TEST(SwfReader, EveryTruncationKeepsAPrefixOfTheMovie)
{
    std::vector<uint8_t> whole = threeFrameMovie();
    swfMovie complete;
    ASSERT_EQ(readInto(complete, whole), 1);
    ASSERT_EQ(countEvents(complete), 4u);
    size_t previous = 0;
    for (size_t size = 0; size <= whole.size(); ++size) {
        SCOPED_TRACE(size);
        // The header keeps claiming the whole length: the file lies.
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
        swfMovie movie;
        bool damaged = false;
        int result = readInto(movie, cut, &damaged);
        size_t events = countEvents(movie);
        EXPECT_GE(events, previous);
        EXPECT_LE(events, 4u);
        previous = events;
        if (result == 1) {
            EXPECT_EQ(damaged, size < whole.size());
        }
    }
    EXPECT_EQ(previous, 4u);
}

TEST(SwfReader, StatedLengthShorterThanTheDataIsHonoured)
{
    std::vector<uint8_t> whole = threeFrameMovie();
    Header header;
    TagWriter first;
    first.defineShape(Shape::rectangle(1, {-200, 200, -100, 100}, {255, 0, 0, 255}));
    first.placeObject2(swftest::placeAt(1, 1, 100, 100));
    first.showFrame();
    // Claim only the bytes up to the first ShowFrame.
    uint32_t shortLength = static_cast<uint32_t>(movieBytes(first).size() - 2);
    whole[4] = static_cast<uint8_t>(shortLength);
    whole[5] = static_cast<uint8_t>(shortLength >> 8);
    swfMovie movie;
    bool damaged = false;
    ASSERT_EQ(readInto(movie, whole, &damaged), 1);
    EXPECT_TRUE(damaged);
    EXPECT_EQ(countEvents(movie), 1u);
    EXPECT_EQ(movie.frames().size(), 2u);
}

TEST(SwfReader, TagClaimingMoreThanExistsEndsReading)
{
    TagWriter tags;
    tags.removeObject2(1);
    tags.tag(tagRemoveObject2, {2, 0});
    std::vector<uint8_t> file = movieBytes(tags);
    file.pop_back();   // drop the End tag
    file.pop_back();
    file.push_back(static_cast<uint8_t>(tagRemoveObject2 << 6 | 0x3F));
    file.push_back(static_cast<uint8_t>(tagRemoveObject2 >> 2));
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 3, 0})   // 4 GiB stated
        file.push_back(b);
    swfMovie movie;
    bool damaged = false;
    ASSERT_EQ(readInto(movie, file, &damaged), 1);
    EXPECT_TRUE(damaged);
    EXPECT_EQ(movie.frames()[0].events.size(), 2u);
}

TEST(SwfReader, TagWhoseContentsRunPastItsEndIsDropped)
{
    TagWriter tags;
    tags.tag(tagPlaceObject, {1, 0, 2});   // cut inside the depth
    tags.tag(tagDoAction, {0x83, 4, 0, 'a', 0, 'b', 0});   // GetURL target without its end action
    tags.removeObject2(3);
    swfMovie movie;
    bool damaged = false;
    ASSERT_EQ(readInto(movie, movieBytes(tags), &damaged), 1);
    EXPECT_TRUE(damaged);
    ASSERT_EQ(movie.frames()[0].events.size(), 1u);
    EXPECT_EQ(movie.frames()[0].events[0].depth, 3);
    EXPECT_TRUE(movie.frames()[0].commands.empty());
}

} // namespace
