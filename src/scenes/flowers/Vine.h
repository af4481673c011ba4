// Vine: one of the forty glowing vines that spiral out around the flower.
// Its path rises from the flower's root along a short helix, then wanders
// over a sphere of radius 60; it is followed in arc-length mode, so a vine
// moves at an even speed. Each draw lays one cross-section at the vine's
// head (so the trail grows by one entry per rendered frame) and draws the
// 40 newest as a strip fading from the head, coloured by the way the strip
// faces. Random draws at construction: the start angle, then for the
// sphere a start longitude, a start latitude and one step per point.
#pragma once

#include "core/ShowMath.h"
#include "scenes/shared/ControlPath.h"
#include "scenes/shared/TrailRing.h"

class Vine {
public:
    static constexpr int trailLength = 40;
    static constexpr float lookAhead = 0.3f;

    Vine();

    // Adds the section for the head at arc length `time` / 2 and draws the
    // trail with colour and alpha per vertex; blending is the caller's.
    void draw(float time);

    // The colour a section facing `side` gets.
    static show::Vec3 sectionColour(const show::Vec3& side);

    const TrailRing& trail() const { return ring; }
    const ControlPath& path() const { return spine; }

private:
    ControlPath spine;
    TrailRing ring;
    float lastTime = -1.0f;
};
