// MetaballVolume: the CPU side of the metaball cloud. Each frame it evaluates
// three moving metaballs on a 32 x 32 x 32 grid into RGBA bytes (r, g, b, a in
// memory order, texel x + 32 y + 1024 z), ready to upload whole as an RGBA,
// unsigned-byte 3-D image. During a morph the cloud's opacity swells towards
// a shape mask and back.
//
// Nothing here touches GL. The volume owns its mask and its texel buffer; the
// buffer is allocated once and rewritten in place, so texels() stays valid for
// the volume's life. The morph state belongs to the scene's command handlers
// (one for the whole program) and is lent to each rebuild.
#pragma once

#include "core/ShowMath.h"
#include "scenes/metaballs/ShapeMask.h"

#include <array>
#include <vector>

// The morph into the shape mask: progress runs from 0 past 1 at `rate` per
// second of scene time, then the morph ends.
struct VolumeMorph {
    // Starts a morph lasting `seconds`. One that is not positive (an
    // unreadable duration reads as 0) has no rate and is over at once.
    void start(float seconds);

    bool active = false;
    float progress = 0.0f;
    float rate = 0.0f;
};

// Debug tuning of the cloud, each key a step of 0.1: "w" raises and "q"
// lowers the threshold, "s" and "a" the ceiling, "x" and "z" the strength.
// Other keys change nothing.
struct MetaballTuning {
    void key(int code);

    float threshold = 3.0f;
    float ceiling = 10.0f; // opacity is full where the field reaches ceiling - threshold
    float strength = 10.0f;
};

// The ball centres at scene time `tau` (seconds), in the grid's space: the
// samples run from -4 to 3.75 on every axis.
std::array<show::Vec3, 3> metaballCentres(float tau);

class MetaballVolume {
public:
    static constexpr int size = ShapeMask::size;
    static constexpr int byteCount = ShapeMask::texelCount * 4;

    explicit MetaballVolume(ShapeMask mask);

    // Rewrites every texel for scene time `tau`, advancing `morph` by the
    // time since the previous rebuild (none before the first).
    void rebuild(float tau, VolumeMorph& morph);

    const unsigned char* texels() const { return buffer.data(); }
    const unsigned char* texel(int x, int y, int z) const { return &buffer[4 * (x + size * (y + size * z))]; }

    MetaballTuning tuning;

private:
    void evaluate(const std::array<show::Vec3, 3>& balls, float height, int envelope);

    ShapeMask mask;
    std::vector<unsigned char> buffer;
    float previousTau = 0.0f;
    bool rebuilt = false;
};
