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

// Linear fog to black over the eye-space depth |z|, as the GL's fog mode
// GL_LINEAR (start 0) computes it, worked out at the vertices: the ribbons
// are one colour each, so their fogged colour is that colour times the
// factor, and interpolating it between the vertices gives what fogging each
// pixel would (a section straddling the end depth aside, where it is all but
// black either way) at a fraction of the cost per pixel.
struct DepthFog {
    float depthRow[4];   // the model-view matrix's third row: eye z of a point
    float end;

    // The fog to `end` for the model-view matrix now set.
    static DepthFog ofCurrentView(float end);

    float factor(const show::Vec3& p) const;
};

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
    // quad strip, newest first, in the ribbon's colour plus `tint`, fogged
    // by `fog` (the GL's own fog must be off).
    void drawFrame(float x, const show::Vec3& tint, const DepthFog& fog);

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
    std::vector<float> strip;   // the trail's edge points and colours as drawn, kept between frames
};
