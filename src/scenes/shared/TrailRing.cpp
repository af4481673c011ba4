#include "scenes/shared/TrailRing.h"

#include <cassert>

using show::Vec3;

TrailRing::TrailRing(int size, float halfWidth, const Vec3& initialUp) : halfWidth(halfWidth)
{
    assert(size > 0 && "a trail needs at least one entry");
    RibbonSection start;
    start.up = initialUp;
    entries.assign(size, start);
}

void TrailRing::fillEdges(const Vec3& point)
{
    for (RibbonSection& entry : entries)
        entry.left = entry.right = point;
}

const RibbonSection& TrailRing::add(const Vec3& point, const Vec3& direction)
{
    RibbonSection& slot = entries[writeIndex];
    slot = ribbonSection(point, direction, section(0).up, halfWidth);
    writeIndex = (writeIndex + 1) % size();
    return slot;
}

const RibbonSection& TrailRing::section(int age) const
{
    assert(age >= 0 && age < size() && "a trail keeps only its last size() sections");
    // The newest entry sits just behind the write index; counting back from
    // slot 0 must wrap to the end of the ring, not step before its start.
    return entries[(writeIndex - 1 - age + size()) % size()];
}
