// PetalFlower: a procedural flower made of rings of translucent petal fans,
// used by the abstract flowers scene, the flower field and, with fewer
// rings, as the loading ornament. Each ring's petals open and close with the
// sine of time, shifted by a twist per ring, so the flower breathes.
//
// Construction draws two random numbers (time offset, then rotation offset)
// after the petals are made; the draw order is part of the show's sameness.
#pragma once

#include "core/Scene.h"

#include <vector>

// One corner of a petal's fan, as the vertex arrays take it.
struct PetalVertex {
    unsigned char colour[4];
    float position[3];
};

class PetalFan {
public:
    // Appends the petal's triangle fan for time `t`: its centre, then the
    // corners along its rim.
    void appendFan(float t, std::vector<PetalVertex>& fan) const;

    float startAngle = 0.0f;
    float span = 1.5707951f;
    int vertexCount = 15;
    float radiusKeep = 0.9f;
    float openingMin = 0.0f;
    float openingMax = 0.0f;
    float scale = 1.0f;
    float phase = 0.0f;
};

class PetalFlower : public Scene {
public:
    PetalFlower(ResourceManager* resources, int rings, int petalsPerRing);

    // Draws the flower for `time` under the current model-view matrix. Sets
    // colours; leaves blending and depth state to the caller.
    int update(float time) override;
    // Draws the flower for `time` where its placement puts it under the
    // current model-view matrix, which it leaves as it was.
    void drawPlaced(float time);

    int rings;
    int petalsPerRing;
    std::vector<PetalFan> petals; // ring by ring
    float placement[16];          // column-major, identity at construction
    float timeOffset;
    float rotationOffset;         // degrees

private:
    void drawFans() const;

    std::vector<PetalVertex> fans; // this frame's petals, one fan after another
    std::vector<int> fanStarts;
    std::vector<int> fanSizes;
};
