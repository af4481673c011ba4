// Petal: one curled petal of the flower, and the strip geometry all petals
// share. A petal is a strip of 31 vertex pairs: pair 0 at its root, pairs
// 1-30 along a spiral whose curl unrolls as the petal opens (opening 0: it
// curls through half its angle; 1: it lies flat along x). The size divisor
// W scales the strip, the lift h raises it, the turn places it around the
// flower's axis (y).
//
// PetalGeometry holds the arrays one draw reads: it is built for each ring
// (every petal of a ring shares W, h and the opening) and then drawn once
// per petal under that petal's turn. The strip drawn skips every other
// pair from the root to pair 24: the curl and the outline bend so little
// between two pairs there that the straight edge stays within about a
// pixel of the skipped pair even in the closest views, while each triangle less saves the
// rasteriser a pass over the pixels it touches. The rounded tip, which
// closes fast, keeps every pair.
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
    static constexpr int tipStart = 24;   // the first of the pairs all drawn
    static constexpr int drawnPairs = tipStart / 2 + pairs - tipStart;
    static constexpr int indexCount = 2 * drawnPairs;

    // Positions, normals (not normalized: the vertex program does that) and
    // texture coordinates (k / 60 on all three for pair k) of every pair;
    // the indices of the pairs drawn, from the root to the tip.
    std::array<float, 3 * vertexCount> positions{};
    std::array<float, 3 * vertexCount> normals{};
    std::array<float, 3 * vertexCount> texCoords{};
    std::array<unsigned short, indexCount> indices{};

    PetalGeometry();
    // Lays the strip out for `opening` (0..1) with the petal's W and h.
    void build(float opening, float sizeDivisor, float lift);
};
