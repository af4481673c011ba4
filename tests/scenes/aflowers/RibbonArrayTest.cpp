#include "scenes/aflowers/RibbonArray.h"

#include "3dsbuilder/SceneBuilder.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// "line.3ds": the object "Ribbon" running straight along x, ten units a
// frame, from the origin at frame 0 to (1500, 0, 0) at frame 150.
std::string straightLine()
{
    builder3ds::SceneBuilder builder(150);
    builder3ds::Object ribbon;
    ribbon.name = "Ribbon";
    ribbon.mesh = builder3ds::boxMesh({1, 1, 1});
    ribbon.position = {{0, {0, 0, 0}}, {150, {1500, 0, 0}}};
    EXPECT_TRUE(builder.addObject(ribbon)) << builder.error();
    const std::vector<uint8_t> bytes = builder.bytes();
    return std::string(bytes.begin(), bytes.end());
}

class RibbonArrayTest : public ::testing::Test {
protected:
    RibbonArrayTest()
    {
        const auto source = std::filesystem::path(GLINT_SOURCE_DIR) / "data" / "ribbonarray.xml";
        directory.write("data/ribbonarray.xml", testsupport::readAll(source.string()));
        directory.write("data/line.3ds", straightLine());
        directory.makeCurrent();
        std::srand(1);
    }

    testsupport::TempDirectory directory;
    ResourceManager resources{false, true};
};

} // namespace

TEST_F(RibbonArrayTest, SamplesTheObjectUpToTenTimesTheEndAndJittersEachStrand)
{
    RibbonArray array(&resources);
    EXPECT_EQ(array.setParams("numRibbons=3;filename=line.3ds;pathname=Ribbon;t_3dsStart=0;t_3dsEnd=15;"), 5);
    array.finishLoad();
    ASSERT_EQ(array.strands.size(), 3u);
    for (const auto& strand : array.strands) {
        // The first sample gives only a direction.
        ASSERT_EQ(strand->path.pointCount(), 15);
        // A straight path has no bend to spread the strands across: after
        // the second sample each strand lies within its jitter of the
        // object, sampled every tenth of the way to frame 150.
        for (int i = 2; i < 16; ++i) {
            SCOPED_TRACE(i);
            const show::Vec3 p = strand->path.point(i - 1);
            EXPECT_NEAR(p.x, 100.0f * i, 10.0f);
            EXPECT_NEAR(p.y, 0.0f, 10.0f);
            EXPECT_NEAR(p.z, 0.0f, 10.0f);
        }
    }
}

TEST_F(RibbonArrayTest, WithoutAPathNameTheStrandsHaveNoPathAndLayNothing)
{
    RibbonArray array(&resources);
    array.setParams("numRibbons=2;filename=line.3ds;");
    array.finishLoad();
    ASSERT_EQ(array.strands.size(), 2u);
    EXPECT_EQ(array.strands[0]->path.pointCount(), 0);
    array.advance(0.0f);
    array.advance(3.0f);
    EXPECT_FLOAT_EQ(array.strands[0]->lastTime(), 0.0f);
}
