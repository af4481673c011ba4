#include "scenes/aflowers/RibbonArray.h"

#include "3dsbuilder/SceneBuilder.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

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

TEST_F(RibbonArrayTest, SixteenStrandsLieTenApartCentredOnTheBendingPath)
{
    // "bend.3ds": the object turns through a circle of radius 500 in the
    // x-z plane, a key at every frame the array samples.
    builder3ds::SceneBuilder builder(150);
    builder3ds::Object ribbon;
    ribbon.name = "Ribbon";
    ribbon.mesh = builder3ds::boxMesh({1, 1, 1});
    std::vector<show::Vec3> samples;
    for (int i = 0; i < 16; ++i) {
        const float angle = 0.35f * static_cast<float>(i);
        samples.emplace_back(500.0f * std::cos(angle), 0.0f, 500.0f * std::sin(angle));
        ribbon.position.push_back({10 * i, {samples.back().x, samples.back().y, samples.back().z}});
    }
    ASSERT_TRUE(builder.addObject(ribbon)) << builder.error();
    const std::vector<uint8_t> bytes = builder.bytes();
    directory.write("data/bend.3ds", std::string(bytes.begin(), bytes.end()));

    RibbonArray array(&resources);
    array.setParams("numRibbons=16;filename=bend.3ds;pathname=Ribbon;t_3dsStart=0;t_3dsEnd=15;");
    array.finishLoad();
    ASSERT_EQ(array.strands.size(), 16u);
    // From the third sample on the bend lies across the plane: strand k
    // stands 10 (k - 8) units up or down from the object, within its jitter
    // of 10, so the bundle's middle is half a spacing to the first strand's
    // side of the object.
    for (int i = 2; i < 16; ++i) {
        SCOPED_TRACE(testing::Message() << "sample " << i);
        std::vector<float> across;
        for (const auto& strand : array.strands)
            across.push_back(strand->path.point(i - 1).y - samples[i].y);
        const float side = across.back() > across.front() ? 1.0f : -1.0f;
        float middle = 0.0f;
        for (size_t k = 0; k < across.size(); ++k) {
            EXPECT_NEAR(across[k], side * 10.0f * (static_cast<float>(k) - 8.0f), 10.0f) << "strand " << k;
            middle += across[k] / 16.0f;
        }
        EXPECT_NEAR(middle, -5.0f * side, 4.5f);
    }
}
