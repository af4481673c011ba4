#include "scenes/metaballs/VolumeShells.h"

namespace {

// Corners of a face in the order (lo, lo), (hi, lo), (hi, hi), (lo, hi) of
// the two axes across it, taken cyclically after the normal axis (x, y after
// z; y, z after x; z, x after y).
constexpr float faceCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

void set(show::Vec3& v, int axis, float value)
{
    (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value;
}

void addFace(std::vector<ShellVertex>& out, int normalAxis, float side, float halfEdge, float depth)
{
    const int across = (normalAxis + 1) % 3;
    const int up = (normalAxis + 2) % 3;
    for (const auto& c : faceCorners) {
        ShellVertex vertex;
        set(vertex.position, normalAxis, side * halfEdge);
        set(vertex.position, across, c[0] * halfEdge);
        set(vertex.position, up, c[1] * halfEdge);
        set(vertex.texCoord, normalAxis, depth);
        set(vertex.texCoord, across, 0.5f * (c[0] + 1.0f));
        set(vertex.texCoord, up, 0.5f * (c[1] + 1.0f));
        out.push_back(vertex);
    }
}

} // namespace

std::vector<ShellVertex> VolumeShells::quads()
{
    constexpr int normalAxes[3] = {2, 0, 1};
    std::vector<ShellVertex> out;
    out.reserve(quadCount * 4);
    for (int k = 0; k < count; ++k) {
        const float halfEdge = 1.0f + k;
        const float negativeFaceDepth = 0.75f - k / 119.0f;
        const float positiveFaceDepth = 0.75f + k / 119.0f;
        for (int axis : normalAxes) {
            addFace(out, axis, -1.0f, halfEdge, negativeFaceDepth);
            addFace(out, axis, 1.0f, halfEdge, positiveFaceDepth);
        }
    }
    return out;
}
