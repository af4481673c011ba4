// MetaballCloud: the GL side of the metaball volume. It owns the volume's
// 32 x 32 x 32 RGBA 3-D texture and the display list of the 30 nested shells,
// uploads the rebuilt texels whole every frame, and draws the cloud: the
// shells for the soft outer glow, then camera-facing slices through the cube
// for the body.
//
// Drawing leaves blending as the caller set it (the scene adds light) and
// the 3-D texture target disabled. Construct, draw and destroy with the same
// context current; the texture and the list die with the object.
#pragma once

#include "core/GLObjects.h"
#include "scenes/metaballs/MetaballVolume.h"

class MetaballCloud {
public:
    explicit MetaballCloud(ShapeMask mask);

    // Evaluates the balls for scene time `tau` (seconds) and uploads the
    // texels.
    void rebuild(float tau, VolumeMorph& morph);
    // The shells, then the slices under the current model-view scaled by 20.
    void draw() const;
    // The debug tuning keys; see MetaballTuning.
    void key(int code) { volume.tuning.key(code); }

    MetaballVolume volume;

private:
    void drawSlices() const;

    GLTexture texture;
    GLDisplayList shellList;
};
