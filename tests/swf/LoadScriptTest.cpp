#include "SwfTestMovies.h"

#include "pack/PackBuilder.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "support/MessageRecorder.h"
#include "swf/swfScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfwriter;

namespace {

std::string squareMovie()
{
    TagWriter tags;
    tags.defineShape(Shape::rectangle(1, {0, 20, 0, 20}, {255, 255, 255, 255}));
    tags.placeObject2(swftest::placeAt(1, 1, 200, 400));
    tags.showFrame();
    std::vector<uint8_t> bytes = swftest::movieBytes(tags);
    return std::string(bytes.begin(), bytes.end());
}

float positionXAtFrame0(swfScript& script)
{
    float position[2] = {-1, -1};
    script.bindPosition(1, position);
    script.update(0);
    return position[0];
}

TEST(ResourceManagerScripts, LoadsFromTheDataDirectory)
{
    testsupport::TempDirectory dir;
    dir.write("data/square.swf", squareMovie());
    dir.makeCurrent();
    ResourceManager resources(false, true);
    std::unique_ptr<swfScript> script = loadScript(resources, "square.swf");
    ASSERT_NE(script->primary(), nullptr);
    EXPECT_FLOAT_EQ(positionXAtFrame0(*script), 10);

    testing::internal::CaptureStdout();
    std::unique_ptr<swfScript> missing = loadScript(resources, "missing.swf");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "cannot find data/missing.swf\n");
    EXPECT_EQ(missing->primary(), nullptr);
}

TEST(ResourceManagerScripts, AFileThatDoesNotReadWholeIsNamedWithTheReason)
{
    const std::string movie = squareMovie();
    std::string compressed = movie;
    compressed[0] = 'C';
    const struct {
        const char* name;
        std::string bytes;
        const char* note;   // what standard error says, after "NAME: "; null: nothing
    } cases[] = {
        {"whole.swf", movie, nullptr},
        {"half.swf", movie.substr(0, movie.size() / 2), "the movie is cut short or damaged; what could be read plays"},
        {"compressed.swf", compressed, "not an uncompressed SWF movie; the animation stands still"},
        {"text.swf", "fluid = 1\n", "not an uncompressed SWF movie; the animation stands still"},
    };
    testsupport::TempDirectory dir;
    for (const auto& c : cases)
        dir.write(std::string("data/") + c.name, c.bytes);
    dir.makeCurrent();
    ResourceManager resources(false, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        std::unique_ptr<swfScript> script = loadScript(resources, c.name);
        const std::string notes = testing::internal::GetCapturedStderr();
        ASSERT_NE(script->primary(), nullptr);
        EXPECT_EQ(notes, c.note ? std::string(c.name) + ": " + c.note + "\n" : "");
    }
}

TEST(ResourceManagerScripts, LoadsFromThePack)
{
    testsupport::TempDirectory dir;
    dir.write("data/square.swf", squareMovie());
    PackBuild packed;
    ASSERT_TRUE(buildPack(dir.file("data"), {"square.swf"}, dir.file("pmx.d"), packed));
    dir.makeCurrent();
    ResourceManager resources(true, true, packed.table.directory());
    resources.packName = dir.file("pmx.d");
    std::unique_ptr<swfScript> script = loadScript(resources, "SQUARE.swf");
    ASSERT_NE(script->primary(), nullptr);
    EXPECT_FLOAT_EQ(positionXAtFrame0(*script), 10);

    // The pack holds no movies of its own: one its table lacks comes from
    // the data folder beside it.
    dir.write("data/beside.swf", squareMovie());
    std::unique_ptr<swfScript> beside = loadScript(resources, "beside.swf");
    ASSERT_NE(beside->primary(), nullptr);
    EXPECT_FLOAT_EQ(positionXAtFrame0(*beside), 10);

    testsupport::MessageRecorder messages;
    testing::internal::CaptureStdout();
    std::unique_ptr<swfScript> missing = loadScript(resources, "fluid.swf");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "screwup in swfScript constructor\n");
    EXPECT_EQ(missing->primary(), nullptr);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Pack file not found");
}

} // namespace
