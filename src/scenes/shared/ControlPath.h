// ControlPath: a closed uniform cubic B-spline through 3-D control points, the
// spine the show's ribbons follow. In parameter mode t counts control points
// (the curve passes near its points, not through them); in arc-length mode s
// runs from 0 to the point count in proportion to distance along the curve,
// so equal steps of s cover equal lengths. Both wrap, the path being closed.
//
// CPU geometry only, no GL. The path owns copies of its points and its
// arc-length table. Append every point before building the table; an empty
// path stays at the origin in either mode.
#pragma once

#include "core/ShowMath.h"

#include <vector>

class ControlPath {
public:
    static constexpr int samplesPerSegment = 100;

    void append(const show::Vec3& point);
    // The point at t in the current mode; any finite t names a point.
    show::Vec3 position(float t) const;
    // Measures the curve at samplesPerSegment samples per control point.
    void buildArcTable();
    // Arc-length mode needs the table built first.
    void setArcLengthMode(bool on);

    bool empty() const { return points.empty(); }
    int pointCount() const { return static_cast<int>(points.size()); }
    const show::Vec3& point(int i) const { return points[i]; }

private:
    struct ArcSample {
        float s;
        show::Vec3 point;
    };

    show::Vec3 parameterPosition(float t) const;
    show::Vec3 arcLengthPosition(float s) const;
    int findArcSample(float s) const;

    std::vector<show::Vec3> points;
    // point count x samplesPerSegment samples, then the closing return to the
    // first sample at s = point count.
    std::vector<ArcSample> arcTable;
    bool arcLengthMode = false;
};
