// CubeLogo: the glowing object inside the shadow room, a logo built from
// small boxes, one for each bright pixel (red above 100) of "k16.jpg", lying
// in one plane and turning slowly about the vertical. A space key press gives
// it a push that tumbles every box about its own centre until the push has
// died away (0.05 per second).
//
// It draws itself with one of two material blocks: "shadowobject.cfg"
// normally, "shadowGlow.cfg" (the specular-only look) while `glow` is set,
// which the room does only during its glow pass. A missing picture, or one
// with more than 512 bright pixels, gives a logo without boxes (the latter
// with a message naming it); missing blocks keep the GL defaults.
//
// Owns its boxes and the mesh that draws them all at once (LogoMesh); make
// and delete it while a context sharing the mesh's buffers is current.
#pragma once

#include "core/ShowMath.h"
#include "effects/MaterialState.h"
#include "scenes/shadow/LogoMesh.h"

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
    // The same boxes with one quad a face and no material of their own: a
    // depth map needs only the faces' planes, not the fine grid that
    // per-vertex lighting wants.
    void drawCaster() const;
    // Moves every box and the whole logo on to `t` seconds; the push decays
    // with the time since the last update (time running back counts as none).
    void update(float t);
    // Space pushes the boxes; other keys do nothing.
    void key(int code);
    // The block, in the logo's own frame, that holds every box, tumbling or
    // not: from `low` to `high` on each axis. An empty logo gives the point
    // at its centre.
    void bounds(float (&low)[3], float (&high)[3]) const;
    // Where the logo's own frame stands in the model-view it is drawn under.
    show::Mat4 placement() const;

    std::vector<LogoCube> cubes;
    float pulse = 0.0f;
    show::Mat4 orientation = show::Mat4::identity();
    MaterialState normalState;
    MaterialState glowState;
    bool glow = false;

private:
    // No boxes at all, and a message naming `picture`, when there would be
    // more than a logo may have.
    void addCubes(const unsigned char* rgb, int width, int height, const char* picture);
    // Hands the boxes' matrices to the mesh.
    void placeMesh();
    void drawMesh(const LogoMesh& boxes) const;

    LogoMesh mesh{4};         // each face a 4 x 4 grid, lit evenly per vertex
    LogoMesh casterMesh{1};   // one quad a face
    std::vector<show::Mat4> matrices;   // kept between frames, so placing allocates nothing
    bool meshAtRest = false;            // the mesh holds the boxes without their tumble

    float lastUpdate = 0.0f;
    bool updated = false;
};
