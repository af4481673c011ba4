#include "scenes/funksphere/BezierLattice.h"
#include "scenes/funksphere/SubdividedSphere.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using show::Vec3;

namespace {

SphereMesh mergedSphere(int level)
{
    SphereMesh mesh = subdividedOctahedron(level);
    mergeEqualVertices(mesh);
    return mesh;
}

// The slow walk: compare every vertex with all the ones kept so far.
SphereMesh mergedByWalk(SphereMesh mesh)
{
    std::vector<Vec3> kept;
    std::vector<uint32_t> remap;
    for (const Vec3& v : mesh.vertices) {
        size_t found = kept.size();
        for (size_t k = 0; k < kept.size() && found == kept.size(); ++k)
            if (kept[k].x == v.x && kept[k].y == v.y && kept[k].z == v.z)
                found = k;
        if (found == kept.size())
            kept.push_back(v);
        remap.push_back(static_cast<uint32_t>(found));
    }
    for (uint32_t& i : mesh.indices)
        i = remap[i];
    mesh.vertices = kept;
    return mesh;
}

} // namespace

TEST(SubdividedSphere, CountsPerLevel)
{
    const struct { int level, triangles, splitVertices, mergedVertices; } rows[] = {
        {0, 8, 6, 6},
        {1, 32, 48, 18},
        {4, 2048, 3072, 1026},   // the funk sphere: V = F / 2 + 2 once closed
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.level);
        SphereMesh mesh = subdividedOctahedron(row.level);
        EXPECT_EQ(mesh.triangleCount(), row.triangles);
        EXPECT_EQ(static_cast<int>(mesh.vertices.size()), row.splitVertices);
        mergeEqualVertices(mesh);
        EXPECT_EQ(static_cast<int>(mesh.vertices.size()), row.mergedVertices);
        EXPECT_EQ(mesh.triangleCount(), row.triangles);
    }
}

TEST(SubdividedSphere, MergeMatchesTheWalkOverAllKeptVertices)
{
    for (int level : {1, 3, 4}) {
        SCOPED_TRACE(level);
        const SphereMesh split = subdividedOctahedron(level);
        SphereMesh fast = split;
        mergeEqualVertices(fast);
        const SphereMesh slow = mergedByWalk(split);
        ASSERT_EQ(fast.vertices.size(), slow.vertices.size());
        for (size_t i = 0; i < fast.vertices.size(); ++i)
            EXPECT_EQ((fast.vertices[i] - slow.vertices[i]).length(), 0.0f) << i;
        EXPECT_EQ(fast.indices, slow.indices);
    }
}

TEST(SubdividedSphere, NegativeZeroMergesWithZeroAsEqualFloatsDo)
{
    SphereMesh mesh;
    mesh.vertices = {{0.0f, 1, 0}, {-0.0f, 1, 0}, {0.5f, 0, 0}, {0.5f, 0, -0.0f}};
    mesh.indices = {1, 3, 2};
    mergeEqualVertices(mesh);
    EXPECT_EQ(mesh.vertices.size(), 2u);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 1}));
}

TEST(SubdividedSphere, EveryEdgeIsSharedByExactlyTwoTrianglesRunningOppositeWays)
{
    const SphereMesh mesh = mergedSphere(4);
    std::map<std::pair<uint32_t, uint32_t>, int> directed;
    for (size_t t = 0; t < mesh.indices.size(); t += 3)
        for (int c = 0; c < 3; ++c)
            ++directed[{mesh.indices[t + c], mesh.indices[t + (c + 1) % 3]}];
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
    }
    EXPECT_EQ(directed.size(), 3u * 2048u);   // 3072 edges, each in both directions
}

TEST(SubdividedSphere, VerticesLieOnTheUnitSphere)
{
    for (const Vec3& v : mergedSphere(4).vertices)
        EXPECT_NEAR(v.length(), 1.0f, 1e-5f);
}

TEST(BezierLattice, TheRestLatticeMapsLatticeCoordinatesOntoTheCube)
{
    const BezierLattice volume;
    const struct { Vec3 uvw, expected; } rows[] = {
        {{0, 0, 0}, {-1, -1, -1}},
        {{1, 1, 1}, {1, 1, 1}},
        {{0.5f, 0.25f, 1}, {0, -0.5f, 1}},
        {{0.9f, 0.1f, 0.4f}, {0.8f, -0.8f, -0.2f}},
    };
    for (const auto& row : rows) {
        const Vec3 p = volume.evaluate(row.uvw.x, row.uvw.y, row.uvw.z);
        EXPECT_LE((p - row.expected).length(), 1e-5f) << p.x << ", " << p.y << ", " << p.z;
    }
}

TEST(BezierLattice, PointsAreOrderedXFromKYFromJZFromI)
{
    const BezierLattice volume;
    const auto& rest = volume.restPoints();
    EXPECT_LE((rest[1] - Vec3(-1.0f / 3, -1, -1)).length(), 1e-6f);
    EXPECT_LE((rest[4] - Vec3(-1, -1.0f / 3, -1)).length(), 1e-6f);
    EXPECT_LE((rest[16] - Vec3(-1, -1, -1.0f / 3)).length(), 1e-6f);
    EXPECT_LE((rest[63] - Vec3(1, 1, 1)).length(), 1e-6f);
}

TEST(BezierLattice, ScaleFactorsNeverGoBelowZero)
{
    float lowest = 1e9f, highest = 0;
    for (int n = 0; n < BezierLattice::pointCount; ++n)
        for (float t = 0; t < 60; t += 0.0137f) {
            const float s = BezierLattice::scaleFactor(n, t);
            lowest = std::min(lowest, s);
            highest = std::max(highest, s);
        }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LT(lowest, 0.05f);      // the pulse does reach the centre
    EXPECT_GT(highest, 40.0f);     // and swells far out (at most 48)
    EXPECT_LE(highest, 48.0f);
}

TEST(BezierLattice, PulseScalesEveryPointAboutTheCentre)
{
    BezierLattice volume;
    volume.pulse(2.5f);
    for (int n = 0; n < BezierLattice::pointCount; ++n) {
        const Vec3 expected = volume.restPoints()[n] * BezierLattice::scaleFactor(n, 2.5f);
        EXPECT_LE((volume.points()[n] - expected).length(), 1e-5f) << n;
    }
}

TEST(FunkSphereDeform, SummedNormalsAreSmoothAndPointOutwards)
{
    const SphereMesh mesh = mergedSphere(4);
    std::vector<Vec3> lattice;
    for (const Vec3& p : mesh.vertices)
        lattice.emplace_back((p.x + 1) / 2, (p.y + 1) / 2, (p.z + 1) / 2);
    const BezierLattice rest;
    std::vector<Vec3> positions, normals;
    deformMesh(rest, lattice, mesh.indices, positions, normals);
    for (size_t i = 0; i < positions.size(); ++i) {
        // A shared corner sums four to six faces, so its normal follows the
        // sphere's own, not one face's tilt.
        EXPECT_GT(normals[i].length(), 3.5f) << i;
        EXPECT_GT(normals[i].normalized().dot(positions[i].normalized()), 0.999f) << i;
    }
}

TEST(FunkSphereDeform, ACollapsedLatticeGivesZeroNormalsNotNaN)
{
    const SphereMesh mesh = mergedSphere(1);
    std::vector<Vec3> lattice(mesh.vertices.size(), Vec3(0.5f, 0.5f, 0.5f));
    std::vector<Vec3> positions, normals;
    deformMesh(BezierLattice(), lattice, mesh.indices, positions, normals);
    for (const Vec3& n : normals)
        EXPECT_EQ(n.length(), 0.0f);
}
