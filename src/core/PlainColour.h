// PlainColour: while it lives, flat coloured 2-D drawing shows exactly the
// colour it is given, whatever a scene left switched on (lighting, textures,
// depth, alpha and stencil tests, fog, culling, vertex and fragment
// programs, the emulated combiners and texture shaders). It saves the
// enable bits on the attribute stack and puts everything back when it goes.
// The letterbox bars and the author's on-screen line draw under it.
#pragma once

class PlainColour {
public:
    PlainColour();
    ~PlainColour();
    PlainColour(const PlainColour&) = delete;
    PlainColour& operator=(const PlainColour&) = delete;

private:
    bool combiners = false;
    bool textureShaders = false;
};
