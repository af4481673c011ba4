// Writes 3DS scene files with lib3ds' own writing functions, for the show's
// data and for tests: cameras with target nodes, omni and spot lights, and
// objects with a small mesh, each with key-frame tracks.
//
// Keys are stored the way 3DS stores them: an integer frame, a value and the
// Kochanek-Bartels spline parameters (tension, continuity, bias, ease to and
// from; all 0 gives lib3ds' default smooth curve, and a track of two keys
// with all 0 runs in a straight line between them). Rotation keys are
// relative, as in 3DS: each turns by `angle` radians about `axis` from the
// orientation of the key before it. A camera's roll is the angle (radians)
// that lib3ds_matrix_camera turns the view by.
//
// Every track needs at least one key, with frames from 0 up to 2^24; keys
// are written sorted by frame and two keys of one track may not share a
// frame. Names are 1 to 63 characters and unique among nodes of one kind.
// An add that breaks a rule writes nothing, returns false and says why in
// error().
#pragma once

#include <lib3ds/types.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace builder3ds {

using Vec3 = std::array<float, 3>;

struct Tcb {
    float tension = 0.0f, continuity = 0.0f, bias = 0.0f, easeTo = 0.0f, easeFrom = 0.0f;
};

struct FloatKey {
    int frame;
    float value;
    Tcb tcb{};
};

struct VectorKey {
    int frame;
    Vec3 value;
    Tcb tcb{};
};

struct RotationKey {
    int frame;
    float angle;  // radians, from the previous key's orientation
    Vec3 axis;
    Tcb tcb{};
};

struct Camera {
    std::string name;
    std::vector<VectorKey> position;
    std::vector<VectorKey> target;
    std::vector<FloatKey> roll = {{0, 0.0f}};
    std::vector<FloatKey> fov = {{0, 45.0f}};  // degrees, vertical
};

struct Light {
    std::string name;
    std::vector<VectorKey> position;
    std::vector<VectorKey> colour = std::vector<VectorKey>(1, VectorKey{0, {1.0f, 1.0f, 1.0f}});
    bool spot = false;
    // Spot lights only: the target node's track and the cone (degrees).
    std::vector<VectorKey> target;
    float hotspot = 30.0f;
    float falloff = 45.0f;
};

struct Mesh {
    std::vector<Vec3> points;
    std::vector<std::array<uint16_t, 3>> faces;     // corners index points
    std::vector<std::array<float, 2>> texels;       // none, or one per point
    // Per-point flags: none, or as many as an exporter writes, which need not
    // be one per point (lib3ds keeps them in a list of their own length).
    std::vector<uint16_t> pointFlags;
};

// A box of 8 points and 12 faces centred on the origin.
Mesh boxMesh(const Vec3& halfSize);

struct Object {
    std::string name;  // names the mesh and its node
    Mesh mesh;
    std::vector<VectorKey> position;
    std::vector<RotationKey> rotation = {{0, 0.0f, {0.0f, 0.0f, 1.0f}}};
    std::vector<VectorKey> scale = {{0, {1.0f, 1.0f, 1.0f}}};
};

class SceneBuilder {
public:
    // A scene whose animation runs from frame 0 to `frames`.
    explicit SceneBuilder(int frames);
    ~SceneBuilder();
    SceneBuilder(const SceneBuilder&) = delete;
    SceneBuilder& operator=(const SceneBuilder&) = delete;

    bool addCamera(const Camera& camera);
    bool addLight(const Light& light);
    bool addObject(const Object& object);
    const std::string& error() const { return error_; }

    // The file as lib3ds writes it; empty (with error()) if lib3ds fails.
    std::vector<uint8_t> bytes();
    bool save(const std::string& path);

private:
    bool fail(const std::string& why);
    bool checkName(const std::string& name, Lib3dsNodeTypes type);
    template <typename Key>
    bool checkTrack(const std::vector<Key>& keys, const char* what);
    Lib3dsNode* newNode(Lib3dsNode* node, const std::string& name);

    Lib3dsFile* file_;
    uint16_t nextNodeId_ = 0;
    std::string error_;
};

} // namespace builder3ds
