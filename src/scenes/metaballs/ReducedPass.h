// ReducedPass: draws a soft picture at a fraction of the screen's resolution
// and stretches it back over the whole viewport. The metaball cloud is made
// of dozens of full-screen translucent layers sampled from a 32-texel volume,
// so it has no detail finer than a few pixels; drawing it at a quarter of the
// width and height costs a sixteenth of the fill and looks the same.
//
// Between begin() and end() the viewport is the reduced corner of the
// current one; end() copies that corner into a texture of its own and draws
// it over the full viewport, with blending and texturing off. It sets the
// projection and model-view; the texture dies with the object.
#pragma once

#include "core/GLObjects.h"

class ReducedPass {
public:
    explicit ReducedPass(int divisor) : divisor(divisor) {}

    void begin();
    void end();

    const int divisor;

private:
    int viewport[4] = {0, 0, 0, 0};
    int width = 0;
    int height = 0;
    GLTexture texture;
    int textureWidth = 0;
    int textureHeight = 0;
};
