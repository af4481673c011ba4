#include "scenes/shared/ControlPath.h"

#include <cassert>
#include <cmath>

using show::Vec3;

namespace {

// Brings t into [0, period): the path is closed, so a negative or large time
// still lands on it. A t that is not a number lands at 0.
float wrapInto(float t, float period)
{
    float wrapped = std::fmod(t, period);
    if (wrapped < 0.0f)
        wrapped += period;
    // Also catches a tiny negative t rounding up to exactly `period`.
    return wrapped < period ? wrapped : 0.0f;
}

Vec3 mix(float f, const Vec3& a, const Vec3& b)
{
    return {show::lerp(f, a.x, b.x), show::lerp(f, a.y, b.y), show::lerp(f, a.z, b.z)};
}

} // namespace

void ControlPath::append(const Vec3& point)
{
    assert(arcTable.empty() && "a point appended after the arc-length table would not be measured");
    points.push_back(point);
}

Vec3 ControlPath::position(float t) const
{
    if (points.empty())
        return Vec3();
    return arcLengthMode ? arcLengthPosition(t) : parameterPosition(t);
}

void ControlPath::setArcLengthMode(bool on)
{
    assert((!on || !arcTable.empty() || points.empty()) && "build the arc-length table before measuring by it");
    arcLengthMode = on;
}

Vec3 ControlPath::parameterPosition(float t) const
{
    const int n = static_cast<int>(points.size());
    const float wrapped = wrapInto(t, static_cast<float>(n));
    const int i = static_cast<int>(wrapped);
    const float u = wrapped - static_cast<float>(i);
    const float u2 = u * u;
    const float u3 = u2 * u;
    const float b0 = (1.0f - u) * (1.0f - u) * (1.0f - u) / 6.0f;
    const float b1 = (3.0f * u3 - 6.0f * u2 + 4.0f) / 6.0f;
    const float b2 = (-3.0f * u3 + 3.0f * u2 + 3.0f * u + 1.0f) / 6.0f;
    const float b3 = u3 / 6.0f;
    return points[i] * b0 + points[(i + 1) % n] * b1 + points[(i + 2) % n] * b2 + points[(i + 3) % n] * b3;
}

void ControlPath::buildArcTable()
{
    arcTable.clear();
    const int n = static_cast<int>(points.size());
    if (n == 0)
        return;
    // Sample the closed curve once round and back to its start, so the table
    // covers the last stretch too and s reaches the point count there.
    const int sampleCount = n * samplesPerSegment;
    std::vector<Vec3> samples(sampleCount + 1);
    std::vector<float> distance(sampleCount + 1, 0.0f);
    for (int k = 0; k <= sampleCount; ++k) {
        samples[k] = parameterPosition(static_cast<float>(k) / samplesPerSegment);
        if (k > 0)
            distance[k] = distance[k - 1] + (samples[k] - samples[k - 1]).length();
    }
    const float total = distance[sampleCount];
    arcTable.reserve(sampleCount + 1);
    for (int k = 0; k <= sampleCount; ++k) {
        // A path collapsed onto one point has no length to divide by: all its
        // samples sit at s = 0, where the search takes the first of them.
        const float s = total > 0.0f ? n * distance[k] / total : 0.0f;
        arcTable.push_back({s, samples[k]});
    }
}

// The index i whose entries bracket s (s_i <= s <= s_i+1), for s in
// [0, point count]; i + 1 always lies inside the table.
int ControlPath::findArcSample(float s) const
{
    const int last = static_cast<int>(arcTable.size()) - 2;
    int index = last / 2;
    int step = index;
    for (;;) {
        step /= 2;
        // The steps add up to less than half the table: the index stays inside.
        const int next = arcTable[index].s > s ? index - step : index + step;
        if (next == index)
            break;
        index = next;
    }
    while (index > 0 && arcTable[index].s > s)
        --index;
    while (index < last && arcTable[index + 1].s < s)
        ++index;
    return index;
}

Vec3 ControlPath::arcLengthPosition(float s) const
{
    const float wrapped = wrapInto(s, static_cast<float>(points.size()));
    const int i = findArcSample(wrapped);
    const ArcSample& a = arcTable[i];
    const ArcSample& b = arcTable[i + 1];
    // Where the curve stands still two entries share one s: take the first.
    const float f = b.s > a.s ? show::remap(wrapped, a.s, b.s, 0.0f, 1.0f) : 0.0f;
    return mix(f, a.point, b.point);
}
