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
#include "core/ShowMath.h"

#include <vector>

class BarField {
public:
    static constexpr int barCount = 200;
    static constexpr float barHeight = 30.0f;
    // The field stands this far along z from the stack.
    static constexpr float depthBehindStack = -10.0f;
    // The red's alpha at the back (depth -10) and the front (depth 10).
    static constexpr float farFillAlpha = 0.03f;
    static constexpr float nearFillAlpha = 0.15f;

    struct Bar {
        float x, y, z, width;
    };
    // The part of a bar's face that is the nearest of the faces seen from
    // some eye: x0..x1 of the bar's full height about y, at depth z.
    struct Face {
        float x0, x1, y, z;
    };

    BarField();

    // Lighting and depth test off, additive blending, colour white, the list
    // 10 units behind the stack. Leaves blending on, lighting and depth
    // testing off.
    int draw(float time);
    // draw(), with the faces' red laid once per pixel as seen from `eye`
    // (stack coordinates): each region where the same faces overlap gets
    // their summed red in one quad, the sum the blending would have reached
    // face by face. From an eye not in front of every face, draw().
    void draw(const show::Vec3& eye);

    // A region where the same faces overlap, as seen from some eye: the
    // rays (u, v, -1) from the eye with u in u0..u1 and v in v0..v1, and the
    // eight-bit red the faces there add up to.
    struct Overlap {
        float u0, u1, v0, v1;
        int red;
    };
    // The regions seen from `eye` (field coordinates, in front of every
    // face) where at least one face lies.
    std::vector<Overlap> overlaps(const show::Vec3& eye) const;
    // The faces of `bars` (sorted from the largest z to the smallest) seen
    // from `eye`, nearest first. Bars of one height standing on one line
    // and parallel to each other: from an eye in front of them (larger z)
    // and within their height a nearer bar hides a farther one over its
    // whole height, so what shows of each bar is an x range cut by the
    // shadows of the nearer ones. Each piece reaches a little under the bar
    // that cuts it, so no seam opens between them when drawn; of bars at one
    // depth, which lie in one plane, the earlier keeps the face where they
    // overlap, edge to edge. From anywhere else, the whole faces.
    static std::vector<Face> frontFaces(const std::vector<Bar>& bars, const show::Vec3& eye);
    // The field's faces seen from `eye` in the field's own coordinates
    // (drawFaces() moves them behind the stack).
    std::vector<Face> frontFaces(const show::Vec3& eye) const;
    // The faces seen from `eye` (stack coordinates) as plain geometry where
    // draw() puts the bars, in whatever colour and state the caller set: a
    // surface to throw light onto, about one face deep instead of the
    // field's five.
    void drawFaces(const show::Vec3& eye) const;

    Bar bars[barCount];
    GLDisplayList fills;
    GLDisplayList outlines;
    // Bar indices from the largest z (nearest the eye) to the smallest.
    int nearestFirst[barCount];

private:
    void buildList();
    // A list where draw() puts it, in colour white.
    void drawList(const GLDisplayList& which) const;
};
