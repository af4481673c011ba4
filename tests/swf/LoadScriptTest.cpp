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
