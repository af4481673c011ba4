// TrailRing: the fixed-size ring of cross-sections a trailing ribbon leaves
// behind its moving path point. Each `add` writes one section over the oldest
// and takes its side from the newest entry's up vector, so the trail twists
// smoothly; ribbons add one section per rendered frame, so a ring of n
// entries is n frames long.
//
// CPU data only: the owning ribbon draws by walking `section(age)` from the
// newest (age 0) to the oldest (age size - 1). The ring owns its entries.
#pragma once

#include "scenes/shared/RibbonSection.h"

#include <vector>

class TrailRing {
public:
    // Every entry starts collapsed at the origin with `initialUp` as its up.
    TrailRing(int size, float halfWidth, const show::Vec3& initialUp = show::Vec3(0.0f, 1.0f, 0.0f));

    // Puts both edges of every entry on `point`, so a fresh trail starts
    // where its ribbon starts instead of streaking in from the origin.
    void fillEdges(const show::Vec3& point);
    const RibbonSection& add(const show::Vec3& point, const show::Vec3& direction);
    const RibbonSection& section(int age) const;
    int size() const { return static_cast<int>(entries.size()); }

private:
    std::vector<RibbonSection> entries;
    float halfWidth;
    int writeIndex = 0;
};
