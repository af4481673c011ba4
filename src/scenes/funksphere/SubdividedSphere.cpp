#include "scenes/funksphere/SubdividedSphere.h"

#include <cstring>
#include <unordered_map>

using show::Vec3;

namespace {

SphereMesh octahedron()
{
    SphereMesh mesh;
    mesh.vertices = {{0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}};
    mesh.indices = {2, 1, 0, 3, 2, 0, 4, 3, 0, 1, 4, 0, 1, 2, 5, 2, 3, 5, 3, 4, 5, 4, 1, 5};
    return mesh;
}

Vec3 midpointOnSphere(const Vec3& p, const Vec3& q)
{
    return ((p + q) * 0.5f).normalized();
}

SphereMesh split(const SphereMesh& mesh)
{
    SphereMesh out;
    out.vertices.reserve(mesh.indices.size() * 2);
    out.indices.reserve(mesh.indices.size() * 4);
    for (size_t t = 0; t < mesh.indices.size(); t += 3) {
        const Vec3& A = mesh.vertices[mesh.indices[t]];
        const Vec3& B = mesh.vertices[mesh.indices[t + 1]];
        const Vec3& C = mesh.vertices[mesh.indices[t + 2]];
        const auto first = static_cast<uint32_t>(out.vertices.size());
        // In the order A, a, B, b, C, c.
        out.vertices.insert(out.vertices.end(),
                            {A, midpointOnSphere(A, B), B, midpointOnSphere(B, C), C, midpointOnSphere(C, A)});
        const uint32_t a = first + 1, b = first + 3, c = first + 5;
        out.indices.insert(out.indices.end(), {first, a, c, first + 2, b, a, first + 4, c, b, a, b, c});
    }
    return out;
}

// Equal as floats means equal bits, once negative zero is read as zero
// (adding +0 turns -0 into +0 and leaves every other value alone).
struct PointKey {
    uint32_t bits[3];
    bool operator==(const PointKey& o) const
    {
        return bits[0] == o.bits[0] && bits[1] == o.bits[1] && bits[2] == o.bits[2];
    }
};

PointKey keyOf(const Vec3& p)
{
    const float coords[3] = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};
    PointKey key;
    std::memcpy(key.bits, coords, sizeof coords);
    return key;
}

struct PointKeyHash {
    size_t operator()(const PointKey& k) const
    {
        return (k.bits[0] * 73856093u) ^ (k.bits[1] * 19349663u) ^ (k.bits[2] * 83492791u);
    }
};

} // namespace

SphereMesh subdividedOctahedron(int level)
{
    SphereMesh mesh = octahedron();
    for (int step = 0; step < level; ++step)
        mesh = split(mesh);
    return mesh;
}

void mergeEqualVertices(SphereMesh& mesh)
{
    std::unordered_map<PointKey, uint32_t, PointKeyHash> kept;
    kept.reserve(mesh.vertices.size());
    std::vector<Vec3> merged;
    std::vector<uint32_t> remap(mesh.vertices.size());
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        const auto next = static_cast<uint32_t>(merged.size());
        const auto [at, isNew] = kept.emplace(keyOf(mesh.vertices[i]), next);
        if (isNew)
            merged.push_back(mesh.vertices[i]);
        remap[i] = at->second;
    }
    for (uint32_t& index : mesh.indices)
        index = remap[index];
    mesh.vertices = std::move(merged);
}
