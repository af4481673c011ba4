#include "scenes/metaballs/VolumeSlices.h"

#include <gtest/gtest.h>

#include <cmath>

using show::Vec3;

namespace {

// Checks the polygon lies in its plane inside the cube, carries position +
// 0.5 as texture coordinate and turns counter-clockwise at every vertex (so
// is convex); returns its area.
float checkedArea(const SlicePolygon& polygon, const Vec3& axis, float distance)
{
    Vec3 twiceArea;
    for (int i = 0; i < polygon.count; ++i) {
        const Vec3 p = polygon.vertices[i].position, t = polygon.vertices[i].texCoord;
        const Vec3 next = polygon.vertices[(i + 1) % polygon.count].position;
        const Vec3 after = polygon.vertices[(i + 2) % polygon.count].position;
        EXPECT_NEAR(p.dot(axis), distance, 2e-4);
        EXPECT_LE(std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z))), 0.5f + 1e-6f);
        EXPECT_NEAR((t - p - Vec3(0.5f, 0.5f, 0.5f)).length(), 0.0f, 1e-6);
        EXPECT_GT((next - p).cross(after - next).dot(axis), 0.0f);
        twiceArea = twiceArea + p.cross(next);
    }
    return 0.5f * twiceArea.dot(axis.normalized());
}

} // namespace

TEST(VolumeSlices, CrossSectionsHaveTheirKnownShapes)
{
    const struct { Vec3 axis; float distance; int count; float area; } rows[] = {
        {{0, 0, 1}, 0.0f, 4, 1.0f},                       // square through the middle
        {{0, 0, 20}, -10.0f, 4, 1.0f},                    // the back face, axis not unit
        {{1, 1, 0}, 0.0f, 4, std::sqrt(2.0f)},            // diagonal rectangle
        {{1, 1, 0}, 1.0f, 0, 0.0f},                       // touches an edge only
        {{1, 1, 1}, 0.0f, 6, 3.0f * std::sqrt(3.0f) / 4}, // regular hexagon
        {{1, 1, 1}, 1.0f, 3, std::sqrt(3.0f) / 8},        // corner triangle
        {{1, 1, 1}, -1.5f, 0, 0.0f},                      // touches a corner only
        {{2, 1, 0.5f}, 0.5f, 5, 1.0740412f},              // pentagon
        {{0, 0, 0}, 0.0f, 0, 0.0f},                       // no axis, no plane
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.axis.x << " " << row.axis.y << " " << row.axis.z << " @ " << row.distance);
        const SlicePolygon polygon = sliceCube(row.axis, row.distance);
        ASSERT_EQ(polygon.count, row.count);
        EXPECT_NEAR(checkedArea(polygon, row.axis, row.distance), row.area, 1e-5);
    }
}

TEST(VolumeSlices, SlicesSweptThroughTheCubeAddUpToItsVolume)
{
    for (const Vec3& axis : {Vec3(0, 1, 0), Vec3(2, 1, 0.5f), Vec3(-0.3f, 0.8f, -0.52f)}) {
        const Vec3 unit = axis.normalized();
        double volume = 0.0;
        for (float distance = -0.9995f; distance < 1.0f; distance += 0.001f)
            volume += checkedArea(sliceCube(unit, distance), unit, distance) * 0.001;
        EXPECT_NEAR(volume, 1.0, 2e-3) << axis.x << " " << axis.y << " " << axis.z;
    }
}

TEST(VolumeSlices, StackRunsFromNearestToFarthestThroughTheWholeCube)
{
    const show::Mat4 scale = show::Mat4::scaling(20, 20, 20);
    const VolumeSlices front = VolumeSlices::facing(show::Mat4::lookAt({0, 0, 25}, {}, {0, 1, 0}) * scale);
    EXPECT_EQ(front.slices[0].vertices[0].position.z, 0.5f); // the face towards the eye
    EXPECT_EQ(front.slices[31].vertices[0].position.z, -0.5f + 1.0f / 32);
    const VolumeSlices corner = VolumeSlices::facing(show::Mat4::lookAt({20, 20, 20}, {}, {0, 1, 0}) * scale);
    EXPECT_EQ(corner.slices[0].count, 0); // touches the nearest corner only
    EXPECT_EQ(corner.slices[1].count, 3);
    EXPECT_EQ(corner.slices[16].count, 6);
}
