// TrailRibbon: one of the wandering ribbons of the ribbon tunnel. Its path
// circles the camera's flight in the camera's own image plane, at a radius
// that drifts between random values every five points, so the ribbons
// together line a tunnel around the flight. Every rendered frame moves the
// ribbon's head along its path and adds one section to a trail of 150, so
// the trail is 150 frames long whatever the frame rate.
//
// Construction makes eight random draws in a fixed order: radius now, radius
// next, angle, angular step, time offset, then red, green, blue.
#pragma once

#include "core/ShowMath.h"
#include "scenes/shared/ControlPath.h"
#include "scenes/shared/TrailRing.h"

#include <vector>

class TrailRibbon {
public:
    static constexpr int trailLength = 150;
    // The path is sampled at 100 points and its time wraps at 200.
    static constexpr float timeWrap = 200.0f;

    TrailRibbon();

    // Appends the next point of the path: a point of the circle about the
    // camera, taken through `inverseCamera` (camera space to world).
    void appendPoint(const show::Mat4& inverseCamera);
    // Adds one trail section at ribbon time `x` and draws the trail as a
    // quad strip, newest first, in the ribbon's colour plus `tint`.
    void drawFrame(float x, const show::Vec3& tint);

    const TrailRing& trail() const { return ring; }
    float timeOffset() const { return offset; }
    const show::Vec3& colour() const { return ownColour; }

private:
    ControlPath path;
    TrailRing ring;
    float angle;
    float radiusNow;
    float radiusNext;
    float angularStep;
    float offset;
    show::Vec3 ownColour;
    int counter = 0;
    std::vector<float> strip;   // the trail's edge points as drawn, kept between frames
};
