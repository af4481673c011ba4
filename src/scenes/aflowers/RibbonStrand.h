// RibbonStrand: one strand of a ribbon bundle, a flat hexagonal band that
// trails behind a point moving along its own closed path. Each step of time
// (`step` seconds) lays one cross-section at the point, so the band is as
// long as its ring of sections times the step; the newest section replaces
// the oldest. The up vector is carried from section to section, so the band
// turns smoothly with its path.
//
// Draws only the broad top face, with whatever colour, blending and
// texturing the caller has set, and only between sections it has laid: a
// young strand is as long as its life so far, not joined to the empty slots
// of its ring by one long straight bar. Owns its path and ring.
#pragma once

#include "scenes/shared/ControlPath.h"

#include <array>
#include <vector>

class RibbonStrand {
public:
    static constexpr int pointsPerSection = 6;

    struct Section {
        // p0, p1 the top face's edges, p2 and p5 the pointed sides, p3 and
        // p4 the bottom face's edges.
        std::array<show::Vec3, pointsPerSection> points{};
        show::Vec3 up{0.0f, 1.0f, 0.0f};
    };

    RibbonStrand(int ringSize, float step, float width, float thickness, float ridge);

    // Lays one section per step from the last time up to `t`. The first call
    // only marks its time; a `t` behind the last time adds nothing. A path
    // without points lays nothing.
    void update(float t);
    // The top face as quads between laid sections, newest first.
    void draw() const;

    // The section laid `age` steps ago (0 = newest).
    const Section& section(int age) const;
    float lastTime() const { return last; }
    // Sections laid so far, at most the ring's size.
    int laidCount() const { return laid; }
    int ringSize() const { return static_cast<int>(ring.size()); }

    ControlPath path;

private:
    void addSection(const show::Vec3& ahead, const show::Vec3& at);

    std::vector<Section> ring;
    int writeIndex = 0;
    int laid = 0;
    float last = -1.0f;
    float step;
    float width;
    float thickness;
    float ridge;
};
