#include "scenes/shared/TrailRing.h"

#include <gtest/gtest.h>

using show::Vec3;

static const float h = 0.70710677f;

static void expectNear(const Vec3& actual, const Vec3& expected)
{
    EXPECT_LE((actual - expected).length(), 1e-5f) << actual.x << ", " << actual.y << ", " << actual.z;
}

TEST(RibbonSection, SpansTheStripAcrossDirectionAndPreviousUp)
{
    const struct { const char* name; Vec3 direction, previousUp, side, up, normal; } rows[] = {
        {"along z, up y", {0, 0, 5}, {0, 1, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {"up leaning", {1, 0, 0}, {0, 1, 1}, {0, -h, h}, {0, h, h}, {-1, 0, 0}},
        // No side to span: everything stays zero and both edges meet.
        {"zero direction", {0, 0, 0}, {0, 1, 0}, {}, {}, {}},
        {"direction along up", {0, 3, 0}, {0, 1, 0}, {}, {}, {}},
    };
    const Vec3 point(1, 2, 3);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const RibbonSection section = ribbonSection(point, row.direction, row.previousUp, 0.5f);
        expectNear(section.side, row.side);
        expectNear(section.up, row.up);
        expectNear(section.normal, row.normal);
        expectNear(section.left, point + row.side * 0.5f);
        expectNear(section.right, point - row.side * 0.5f);
    }
}

TEST(TrailRing, TurnsEachSectionByTheNewestUpAndKeepsTheLastFew)
{
    TrailRing ring(3, 1.0f, Vec3(0, 0, 1));
    ring.fillEdges({7, 7, 7});
    expectNear(ring.section(2).right, {7, 7, 7});
    // The first section reads the up of the last slot, before the ring's start.
    expectNear(ring.add({1, 0, 0}, {0, 1, 1}).up, {0, -h, h});
    ring.add({2, 0, 0}, {0, 1, 0}); // brings the up back to (0, 0, 1)
    expectNear(ring.add({3, 0, 0}, {1, 0, 0}).side, {0, -1, 0});
    ring.add({4, 0, 0}, {1, 0, 0});
    // Three entries hold the last three sections, the oldest at age 2.
    expectNear(ring.section(2).left - ring.section(2).side, {2, 0, 0});
}
