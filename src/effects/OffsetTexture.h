// OffsetTexture: a grid of 2-D offsets (dx, dy), kept in memory row by row
// and, where the program-text layer runs texture shaders, as a GL_DSDT_NV
// texture (linear filtering, repeating) that an offset-texture lookup
// reads. Derived grids fill the offsets in `regenerate`. Owns its texture.
#pragma once

#include "core/GLObjects.h"

#include <vector>

class OffsetTexture {
public:
    OffsetTexture(int columns, int rows);
    virtual ~OffsetTexture() = default;
    OffsetTexture(const OffsetTexture&) = delete;
    OffsetTexture& operator=(const OffsetTexture&) = delete;

    // Fills the offsets for `amount` (a time or a phase, by type).
    virtual void regenerate(float amount) = 0;
    // Loads the offsets into the texture.
    void uploadOffsets();

    float& dx(int column, int row) { return offsets[(row * columns + column) * 2]; }
    float& dy(int column, int row) { return offsets[(row * columns + column) * 2 + 1]; }

    int columns;
    int rows;
    unsigned format;
    std::vector<float> offsets; // columns x rows pairs, all 0 at construction
    bool upload;
    unsigned target;
    GLTexture texture;
};
