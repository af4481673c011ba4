// CreditsOverlay: the credits of the funk sphere scene. For the credit the
// animation last chose with "setName", the credited person's name picture is
// drawn through a rippling warp grid (two ring waves whose centres circle the
// screen pull the picture towards the middle), and the picture of that
// person's role runs as a steady banner across the middle.
//
// Credits 0, 2 and 3 are the three people (music, code, support); credit 1
// has no pictures and draws the grid and banner with nothing bound, as the
// animation's numbering has it. Credits 4 and 5 have no people: they draw
// nothing, rather than a stale or empty slot, as does any other index.
//
// Only the grid cells whose texture coordinates reach the lit part of the
// name picture are drawn: the rest would add black.
//
// The owner sets width and height (the surface drawn on), alpha and
// frequency before each draw, on a current context; the overlay owns its
// eight picture textures. A picture that cannot be loaded is reported and
// its part of the credit is left out.
#pragma once

#include "core/GLObjects.h"
#include "effects/WarpGrid.h"
#include "scenes/funksphere/TexelCoverage.h"
#include "swf/swfMovie.h"

#include <array>
#include <vector>

class CreditsOverlay : public WarpGrid {
public:
    static constexpr int slotCount = 4;

    CreditsOverlay(ResourceManager* resources, int columns, int rows);
    CreditsOverlay(const CreditsOverlay&) = delete;
    CreditsOverlay& operator=(const CreditsOverlay&) = delete;

    // The ripple for angle a: texture coordinates of every grid point.
    void computeWarp(float a) override;
    // The chosen credit at time t: its name through the ripple, its banner.
    void draw(float t);
    int update(float time) override;

    // The animation's "setName": argument 1, a decimal integer, becomes the
    // credit index; a command without it changes nothing.
    static int setName(swfMovie& movie, const swfArguments& arguments);

    // The credit shown, shared by every overlay (the animation picks it).
    static inline int creditIndex = 0;
    float frequency = 1.0f;
    float alpha = 1.0f;

private:
    struct Slot {
        GLTexture name;   // none: nothing bound
        GLTexture role;
        TexelCoverage nameCoverage;
    };
    GLTexture loadPicture(const char* cfg, const char* key);
    void drawLitCells(const TexelCoverage& coverage);
    void drawBanner(GLuint role) const;

    std::array<Slot, slotCount> slots{};
    std::vector<float> cells;   // the drawn corners (s, t, x, y), kept between frames
};
