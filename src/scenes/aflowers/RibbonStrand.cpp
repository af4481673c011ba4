#include "scenes/aflowers/RibbonStrand.h"

#include "programs/NvExtensions.h"
#include "scenes/shared/RibbonSection.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cassert>
#include <cmath>

using show::Vec3;

RibbonStrand::RibbonStrand(int ringSize, float step, float width, float thickness, float ridge)
    : ring(ringSize), step(step), width(width), thickness(thickness), ridge(ridge)
{
    assert(ringSize > 1 && "a strand needs two sections to draw a face");
}

void RibbonStrand::update(float t)
{
    if (last == -1.0f) {
        last = t;
        return;
    }
    // A step that is not positive never reaches t; and sections older than
    // the ring would be overwritten before anyone sees them, so a long jump
    // lays only the last ring's worth.
    if (!(step > 0.0f) || path.empty() || !(t > last))
        return;
    const float behind = t - static_cast<float>(ringSize()) * step;
    if (last < behind)
        last = behind;
    while (last < t) {
        const float next = last + step;
        // Far out in time a step can vanish in the float's precision.
        if (!(next > last)) {
            last = t;
            break;
        }
        addSection(path.position(next), path.position(last));
        last = next;
    }
}

void RibbonStrand::addSection(const Vec3& ahead, const Vec3& at)
{
    const Vec3 direction = (ahead - at).normalized();
    const Vec3 previousUp = section(0).up;
    const RibbonSection across = ribbonSection(at, direction, previousUp, width);
    const Vec3& s = across.side;
    const Vec3& u = across.up;
    Section& slot = ring[writeIndex];
    slot.points = {at - s * width + u * thickness, at + s * width + u * thickness, at + s * (width + ridge),
                   at + s * width - u * thickness, at - s * width - u * thickness, at - s * (width + ridge)};
    // The reversed direction travels on, not the section's own up: that is
    // what keeps successive sections turning by the path's bend alone. A
    // section without a direction has none to pass on; the strand keeps the
    // one it had rather than lying flat for the rest of its life.
    const Vec3 carried = across.normal.normalized();
    slot.up = carried.length() > 0.0f ? carried : previousUp;
    writeIndex = (writeIndex + 1) % ringSize();
    laid = std::min(laid + 1, ringSize());
}

void RibbonStrand::draw() const
{
    nv::glBegin(GL_QUADS);
    for (int age = 0; age + 1 < laid; ++age) {
        const Section& newer = section(age);
        const Section& older = section(age + 1);
        glVertex3f(newer.points[0].x, newer.points[0].y, newer.points[0].z);
        glVertex3f(newer.points[1].x, newer.points[1].y, newer.points[1].z);
        glVertex3f(older.points[1].x, older.points[1].y, older.points[1].z);
        glVertex3f(older.points[0].x, older.points[0].y, older.points[0].z);
    }
    glEnd();
}

const RibbonStrand::Section& RibbonStrand::section(int age) const
{
    return ring[(writeIndex - 1 - age + 2 * ringSize()) % ringSize()];
}
