// OrbitRibbon: one of the glowing ribbons that trail round the funk sphere.
// Its path is a closed B-spline through 100 points on wide random orbits
// (radius 120 to 1120 around the sphere); every draw adds one cross-section
// to a ring of 100, so the ribbon is the last 100 frames of its flight. The
// colour of an entry follows the direction of its side vector.
//
// All ribbons share one clock: the time of the previous draw, whichever
// ribbon made it. The first ribbon of a frame thus steps from the previous
// frame's time, the others from the current one, as the ribbons always have.
// CPU path and ring; draw() draws through the vendor layer on the current
// context with the colour and blending the caller set up.
#pragma once

#include "scenes/shared/ControlPath.h"
#include "scenes/shared/TrailRing.h"

class OrbitRibbon {
public:
    static constexpr int pointCount = 100;
    static constexpr int ringSize = 100;
    static constexpr float halfWidth = 2.0f;
    static constexpr float lookAhead = 0.3f;

    // Makes its random draws: two start angles, then three per point.
    OrbitRibbon();

    // Adds the cross-section for time t (path parameter t / 2) and draws the
    // trail, newest entry first.
    void draw(float t);
    // Adds the cross-section only.
    void advance(float t);

    const TrailRing& trail() const { return ring; }
    const ControlPath& path() const { return path_; }

    // Forgets the shared clock, as at the start of the process.
    static void resetSharedClock() { clockStarted = false; }

private:
    ControlPath path_;
    TrailRing ring{ringSize, halfWidth};
    bool trailStarted = false;

    static inline float previousTime = 0.0f;
    static inline bool clockStarted = false;
};
