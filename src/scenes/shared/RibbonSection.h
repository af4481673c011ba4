// RibbonSection: the cross-section rule every ribbon of the show shares. From
// a point on the path, the direction the path runs there and the up vector
// of the previous section it builds a side vector across the strip, a new up
// vector and the strip's two edge points. Carrying the up vector from section
// to section lets the strip twist smoothly as the path turns.
//
// Pure arithmetic on values; drawing and the choice of which vector a ribbon
// carries on are left to the ribbon.
#pragma once

#include "core/ShowMath.h"

struct RibbonSection {
    show::Vec3 left;   // point + side x half width
    show::Vec3 right;  // point - side x half width
    show::Vec3 side;   // unit, across the strip
    show::Vec3 up;     // unit, perpendicular to side and direction
    show::Vec3 normal; // side x up: the reversed direction, not a face normal
};

// side = normalize(direction x previousUp), up = normalize(side x direction).
// A zero direction, or one parallel to previousUp, has no side: side, up and
// normal stay zero and both edges fall on the point, never NaN.
RibbonSection ribbonSection(const show::Vec3& point, const show::Vec3& direction, const show::Vec3& previousUp,
                            float halfWidth);
