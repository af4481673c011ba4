#include "scenes/ribbonstack/StackRibbon.h"

#include "programs/NvExtensions.h"
#include "scenes/shared/RibbonSection.h"

#include <algorithm>
#include <cmath>

using show::Vec3;

StackRibbon::StackRibbon(float height)
{
    for (int k = 0; k < controlPoints; ++k) {
        const float x = 6.0f * k + show::random(-1.0f, 1.0f);
        const float y = show::remap(height, 0.0f, 1.0f, -5.0f, 5.0f) + show::random(-0.05f, 0.05f);
        const float z = show::remap(static_cast<float>(std::rand() % 1000), 0.0f, 999.0f, -5.0f, 5.0f);
        spine.append(Vec3(x, y, z));
    }
    for (int j = 0; j < 100; ++j) {
        const float t = show::remap(static_cast<float>(j), 0.0f, 100.0f, 0.0f, leadTime);
        addSection(previousTime, t);
        previousTime = t;
    }
}

void StackRibbon::update(float t)
{
    kept = false;
    const float shifted = t + leadTime;
    addSection(previousTime, shifted);
    previousTime = shifted;
}

void StackRibbon::addSection(float t0, float t1)
{
    t0 = std::max(t0, 0.0f);
    t1 = std::max(t1, 0.0f);
    const Vec3 a = spine.position(std::fmod(t0 / 2.0f, 200.0f));
    const Vec3 b = spine.position(std::fmod(t1 / 2.0f, 200.0f));
    const Entry& previous = entry(write - 1);
    const RibbonSection section = ribbonSection(b, b - a, previous.up, halfWidth);

    Entry& slot = ring[write];
    slot.left = section.left;
    slot.right = section.right;
    slot.normal = section.normal;
    // A head that has not moved has no side: it keeps the carried up vector,
    // or every later section would be built on a zero one and collapse.
    slot.up = section.side.length() > 0.0f ? section.up : previous.up;
    slot.time = t1;
    if (!anyAdded) {
        // Entries not yet written sit on the first section instead of
        // stretching the strip back to the origin.
        for (Entry& e : ring)
            e = slot;
        anyAdded = true;
    }
    if (t1 - previous.time > minSectionGap) {
        write = (write + 1) % ringSize;
        kept = true;
    }
}

void StackRibbon::draw() const
{
    const int count = kept ? ringSize - 1 : ringSize;
    nv::glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < count; ++i) {
        const Entry& e = entry(write + 1 + i);
        glNormal3f(e.normal.x, e.normal.y, e.normal.z);
        glVertex3f(e.left.x, e.left.y, e.left.z);
        glVertex3f(e.right.x, e.right.y, e.right.z);
    }
    glEnd();
}
