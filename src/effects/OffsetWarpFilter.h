// OffsetWarpFilter: redraws the picture drawn so far with every pixel moved
// by the offsets of an OffsetTexture (offsets in picture units: 1 is the
// picture's width or height). Where the program-text layer runs texture
// shaders, one quad goes through an offset-texture lookup ("!!TS1.0");
// elsewhere the picture is drawn as quad strips whose texture coordinates
// carry the grid's offsets. Both paths give the same picture for the same
// offsets.
//
// Owns its screen copy and display list; owns the grid unless it borrows a
// shared one (the "SimpleDSDT" filter uses the shared "Jitter" grid).
#pragma once

#include "effects/Effect.h"

#include <memory>

class CopyScreen;
class OffsetTexture;

class OffsetWarpFilter : public Effect {
public:
    OffsetWarpFilter(ResourceManager* resources, int width, int height);
    ~OffsetWarpFilter() override;

    // Regenerates the grid with `amount`, copies and clears the frame, and
    // draws it back displaced. Does nothing without a grid.
    int update(float amount) override;

    // The filter keeps `grid` alive (owned) or only uses it (borrowed).
    void ownGrid(std::unique_ptr<OffsetTexture> grid);
    void borrowGrid(OffsetTexture* grid);

    int width;
    int height;
    std::unique_ptr<CopyScreen> copy;
    // Set where texture shaders run; cleared, the software strips draw.
    bool useTextureShader;
    bool useRectangle;
    float offsetMatrix[4];
    unsigned program = 0;
    OffsetTexture* grid = nullptr;

private:
    void drawTextureShader();
    void drawStrips();

    std::unique_ptr<OffsetTexture> ownedGrid;
};
