// LogoMesh: every box of the cube logo in one indexed triangle array held in
// buffer objects, each box placed by its own matrix on the CPU, so that the
// whole logo is one draw instead of a list call and a matrix per box (the
// room draws the logo eight times a frame). Each box is the 1 x 1 x 0.5 box
// with every face a grid of cells x cells quads, drawn as that many quad
// strips would draw it, each quad split into two triangles.
//
// Owns its buffers: make, place and delete it while a context sharing them
// is current. Drawing sets and clears the vertex and normal arrays of the
// current context.
#pragma once

#include "core/GLObjects.h"
#include "core/ShowMath.h"

#include <vector>

class LogoMesh {
public:
    // Faces of cells x cells quads (1 or more).
    explicit LogoMesh(int cells);

    // One box under each matrix (rotation and translation): positions and
    // normals turned on the CPU, then uploaded.
    void place(const std::vector<show::Mat4>& matrices);
    // All placed boxes under the current model-view, through the vendor
    // layer. Only the faces turned towards the eye of the current projection
    // and model-view are sent: the others are back faces, which the logo
    // culls anyway, and this spares their vertices' lighting and texture
    // coordinates. Culling must be on for faces seen almost edge-on, which
    // are sent in case.
    void draw() const;

private:
    // One box: its vertices (position, then normal) and its triangles.
    static constexpr int floatsPerVertex = 6;
    std::vector<float> box;
    std::vector<unsigned> triangles;

    // The faces' planes, placed: normal and offset (n . p) of face f of box
    // b at 4 * (6 * b + f).
    std::vector<float> planes;
    // Fills indexBuffer with the faces that the homogeneous eye `eye` sees.
    void chooseFaces(const float (&eye)[4]) const;

    std::vector<float> vertices;   // floatsPerVertex per vertex, box after box
    GLBuffer vertexBuffer;
    GLBuffer indexBuffer;          // the faces towards the last eye
    int boxes = 0;                 // placed
    size_t bufferBytes = 0;        // the vertex buffer's size, refilled in place while it fits
    // What the index buffer was chosen for, so passes from one eye choose once.
    mutable std::vector<unsigned> facing;
    mutable float facingEye[4] = {0, 0, 0, 0};
    mutable bool facingCurrent = false;
};
