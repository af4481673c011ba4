// StackRibbon: one of the fourteen ribbons of the ribbon stack. It follows a
// closed path of 100 jittered control points running along x at its own
// height, and keeps a ring of 200 cross-sections behind its moving head. A
// section is kept only once it lies more than `minSectionGap` seconds after
// the newest kept one; until then each new section replaces the newest
// entry, so the trail grows with time, not with the frame rate.
//
// Each entry carries the ribbon's direction (reversed) as its "normal": the
// anisotropic shading reads it as the tangent along the strip. Drawing sets
// no state but the vertices and normals; the caller binds program, colour
// and blending. Random draws: three per control point, at construction.
#pragma once

#include "core/ShowMath.h"
#include "scenes/shared/ControlPath.h"

#include <array>

class StackRibbon {
public:
    static constexpr int ringSize = 200;
    static constexpr int controlPoints = 100;
    static constexpr float halfWidth = 0.25f;
    static constexpr float minSectionGap = 0.05f;
    // The trail laid down at construction, so the ribbon starts long.
    static constexpr float leadTime = 6.0f;

    struct Entry {
        show::Vec3 left, right;
        show::Vec3 up{0.0f, 0.0f, 1.0f};
        show::Vec3 normal;
        float time = 0.0f;
    };

    // `height` in 0..1 places the ribbon between y = -5 and y = 5.
    explicit StackRibbon(float height);

    // Adds the head's section for the local time t.
    void update(float t);
    void draw() const;

    // The section from the path position at t0 to the one at t1 (both
    // clamped at 0), written at the write index.
    void addSection(float t0, float t1);

    const Entry& entry(int index) const { return ring[(index % ringSize + ringSize) % ringSize]; }
    int writeIndex() const { return write; }
    bool lastKept() const { return kept; }

private:
    ControlPath spine;
    std::array<Entry, ringSize> ring{};
    int write = 0;
    bool kept = false;
    bool anyAdded = false;
    float previousTime = 0.0f;
};
