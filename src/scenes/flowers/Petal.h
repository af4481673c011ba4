// Petal: one curled petal of the flower, and the strip geometry all petals
// share. A petal is a strip of 31 vertex pairs: pair 0 at its root, pairs
// 1-30 along a spiral whose curl unrolls as the petal opens (opening 0: it
// curls through half its angle; 1: it lies flat along x). The size divisor
// W scales the strip, the lift h raises it, the turn places it around the
// flower's axis (y).
//
// PetalGeometry holds the arrays one draw reads: it is rebuilt for each
// ring (every petal of a ring shares W, h and the opening) and then drawn
// once per petal under that petal's turn.
#pragma once

#include "core/ShowMath.h"

#include <array>

struct Petal {
    static constexpr float halfWidth = 0.5f;
    static constexpr int segments = 30;

    float sizeDivisor = 1.0f;   // W
    float lift = 0.0f;          // h
    float turn = 0.0f;          // degrees about y
    show::Vec3 colour;
};

struct PetalGeometry {
    static constexpr int pairs = Petal::segments + 1;
    static constexpr int vertexCount = 2 * pairs;

    // Positions, normals (not normalized: the vertex program does that) and
    // texture coordinates (k / 60 on all three for pair k).
    std::array<float, 3 * vertexCount> positions{};
    std::array<float, 3 * vertexCount> normals{};
    std::array<float, 3 * vertexCount> texCoords{};
    std::array<unsigned short, vertexCount> indices{};

    PetalGeometry();
    // Lays the strip out for `opening` (0..1) with the petal's W and h.
    void build(float opening, float sizeDivisor, float lift);
};
