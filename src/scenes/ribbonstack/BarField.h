// BarField: the 200 translucent red bars that stand behind the ribbon stack,
// spread along x and scattered in depth, compiled once into a display list:
// filled quads, then their outlines as separate line segments.
//
// About five bars lie over any point of the view and they add up, so each
// one is faint, fainter the further back it stands, and its outline
// brighter than its face: the sum stays below full red and varies from bar
// to bar, where near-opaque bars would add up to one flat red wall.
//
// Owns the display list; delete the field while a context sharing it is
// current. Random draws: two per bar (depth, then width), at construction.
#pragma once

#include "core/GLObjects.h"

class BarField {
public:
    static constexpr int barCount = 200;
    static constexpr float barHeight = 30.0f;
    // The field stands this far along z from the stack.
    static constexpr float depthBehindStack = -10.0f;
    // The red's alpha at the back (depth -10) and the front (depth 10).
    static constexpr float farFillAlpha = 0.03f;
    static constexpr float nearFillAlpha = 0.15f;

    BarField();

    // Lighting and depth test off, additive blending, colour white, the list
    // 10 units behind the stack. Leaves blending on, lighting and depth
    // testing off.
    int draw(float time);
    // The bars' faces as plain geometry where draw() puts them, in whatever
    // colour and state the caller set: a surface to throw light onto. The
    // nearest first (the camera looks from +z), so the depth test turns the
    // ones hidden behind them away early.
    void drawFaces() const;

    struct Bar {
        float x, y, z, width;
    };
    Bar bars[barCount];
    GLDisplayList list;
    // Bar indices from the largest z to the smallest.
    int nearestFirst[barCount];

private:
    void buildList();
};
