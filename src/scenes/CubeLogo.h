// CubeLogo: the glowing object inside the shadow room, a logo built from
// small boxes, one for each bright pixel (red above 100) of "k16.jpg", lying
// in one plane and turning slowly about the vertical. A space key press gives
// it a push that tumbles every box about its own centre until the push has
// died away (0.05 per second).
//
// It draws itself with one of two material blocks: "shadowobject.cfg"
// normally, "shadowGlow.cfg" (the specular-only look) while `glow` is set,
// which the room does only during its glow pass. A missing picture gives a
// logo without boxes; missing blocks keep the GL defaults.
//
// Owns its boxes; the box display list is shared by every logo of the
// process and built with the first one.
#pragma once

#include "core/ShowMath.h"
#include "effects/MaterialState.h"

#include <vector>

class ResourceManager;

class LogoCube {
public:
    // Draws its spin rate: one random draw per box, in pixel order.
    LogoCube(float x, float y, float z);

    // Back to rest: the identity turn, moved to the box's place.
    void reset();
    // Turns the box by s x its spin rate about z, y and x at once.
    void spin(float s);
    // The box list under the box's matrix.
    void draw() const;

    float position[3];
    float spinRate;
    show::Mat4 matrix;
};

class CubeLogo {
public:
    // Reads the two material blocks and the picture through `resources`.
    explicit CubeLogo(const ResourceManager& resources);
    // Boxes from an RGB picture of width x height, rows in order; for
    // pictures made in code.
    CubeLogo(const unsigned char* rgb, int width, int height);

    // The whole logo under its orientation, with the current material block.
    void draw(float t) const;
    // Moves every box and the whole logo on to `t` seconds; the push decays
    // with the time since the last update (time running back counts as none).
    void update(float t);
    // Space pushes the boxes; other keys do nothing.
    void key(int code);
    // The radius around the logo's centre that holds every box, tumbling
    // or not, whichever way the logo turns.
    float radius() const;

    // The call list every box draws: 1 x 1 x 0.5, each face a 4 x 4 grid.
    static unsigned boxList();

    std::vector<LogoCube> cubes;
    float pulse = 0.0f;
    show::Mat4 orientation = show::Mat4::identity();
    MaterialState normalState;
    MaterialState glowState;
    bool glow = false;

private:
    void addCubes(const unsigned char* rgb, int width, int height);

    float lastUpdate = 0.0f;
    bool updated = false;
};
