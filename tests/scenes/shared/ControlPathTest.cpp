#include "scenes/shared/ControlPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using show::Vec3;

// Five points spaced unevenly round a bent loop.
static const std::vector<Vec3> loop = {{0, 0, 0}, {12, 0, 0}, {14, 3, 2}, {10, 8, 0}, {2, 6, -1}};

static ControlPath pathThrough(const std::vector<Vec3>& points, bool arcLength)
{
    ControlPath path;
    for (const Vec3& point : points)
        path.append(point);
    path.buildArcTable();
    path.setArcLengthMode(arcLength);
    return path;
}

TEST(ControlPath, WeighsFourPointsAtAndBetweenKnotsAndWrapsRoundTheLoop)
{
    const float atKnot[] = {1 / 6.f, 4 / 6.f, 1 / 6.f, 0}, halfway[] = {1 / 48.f, 23 / 48.f, 23 / 48.f, 1 / 48.f};
    const struct { float t; int first; const float* weights; } rows[] = {
        {0, 0, atKnot}, {2, 2, atKnot}, {1.5f, 1, halfway},
        // Closed: the last stretches borrow points from the start, and times outside wrap.
        {4, 4, atKnot}, {3.5f, 3, halfway}, {5, 0, atKnot}, {-0.5f, 4, halfway}, {11.5f, 1, halfway},
        {std::nanf(""), 0, atKnot}, // a time that is no number lands at the start
    };
    const ControlPath path = pathThrough(loop, false);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.t);
        Vec3 expected;
        for (int k = 0; k < 4; ++k)
            expected = expected + loop[(row.first + k) % 5] * row.weights[k];
        EXPECT_LT((path.position(row.t) - expected).length(), 1e-5f);
    }
}

TEST(ControlPath, ArcLengthStepsCoverEqualDistancesWhereParameterStepsDoNot)
{
    for (bool arcLength : {false, true}) {
        const ControlPath path = pathThrough(loop, arcLength);
        float shortest = 1e9f, longest = 0.0f;
        for (int k = 0; k < 100; ++k) {
            const float chord = (path.position(0.05f * (k + 1)) - path.position(0.05f * k)).length();
            shortest = std::fmin(shortest, chord);
            longest = std::fmax(longest, chord);
        }
        // By parameter the chords differ more than twofold; by arc length within 1%.
        EXPECT_TRUE(arcLength ? longest < 1.01f * shortest : longest > 2.0f * shortest) << arcLength;
    }
}

TEST(ControlPath, ArcLengthSearchHoldsAtBothEndsOfTheTable)
{
    const ControlPath path = pathThrough(loop, true);
    const Vec3 start = pathThrough(loop, false).position(0.0f), nearEnd = path.position(4.5f);
    const struct { float s; Vec3 expected; float tolerance; } rows[] = {
        {0, start, 1e-5f}, {5, start, 1e-5f},             // both ends are the curve's start
        {4.9999f, start, 1e-3f}, {-0.0001f, start, 1e-3f}, // just inside the closing stretch
        {-0.5f, nearEnd, 1e-4f}, {9.5f, nearEnd, 1e-4f},   // outside the table: wrapped round
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.s);
        EXPECT_LT((path.position(row.s) - row.expected).length(), row.tolerance);
    }
}

TEST(ControlPath, PathsWithoutLengthStayOnTheirPointInEitherMode)
{
    for (bool arcLength : {false, true}) {
        SCOPED_TRACE(arcLength);
        EXPECT_EQ(pathThrough({}, arcLength).position(1.5f).length(), 0.0f);
        // One point: every sample of the table, and every s, coincide.
        EXPECT_EQ(pathThrough({{0, 0, 0}}, arcLength).position(0.7f).length(), 0.0f);
    }
}
