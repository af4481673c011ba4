#include "scenes/shared/RibbonSection.h"

using show::Vec3;

RibbonSection ribbonSection(const Vec3& point, const Vec3& direction, const Vec3& previousUp, float halfWidth)
{
    RibbonSection section;
    section.side = direction.cross(previousUp).normalized();
    section.up = section.side.cross(direction).normalized();
    section.normal = section.side.cross(section.up);
    section.left = point + section.side * halfWidth;
    section.right = point - section.side * halfWidth;
    return section;
}
