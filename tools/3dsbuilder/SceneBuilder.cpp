#include "3dsbuilder/SceneBuilder.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/io.h>
#include <lib3ds/light.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>
#include <lib3ds/tracks.h>

#include <algorithm>
#include <cstring>
#include <fstream>

namespace builder3ds {

namespace {

constexpr int kFrameLimit = 1 << 24;
constexpr size_t kNameLimit = 63;

// A growing memory block that lib3ds writes into; it seeks back to fill in
// chunk lengths.
struct WriteStream {
    std::vector<uint8_t> data;
    size_t position = 0;

    static Lib3dsBool error(void*) { return LIB3DS_FALSE; }
    static long tell(void* self) { return long(static_cast<WriteStream*>(self)->position); }
    static size_t read(void*, void*, size_t) { return 0; }
    static long seek(void* self, long offset, Lib3dsIoSeek origin)
    {
        auto* s = static_cast<WriteStream*>(self);
        const long base = origin == LIB3DS_SEEK_SET ? 0
                          : origin == LIB3DS_SEEK_CUR ? long(s->position) : long(s->data.size());
        if (base + offset < 0)
            return -1;
        s->position = size_t(base + offset);
        return 0;
    }
    static size_t write(void* self, const void* buffer, size_t size)
    {
        auto* s = static_cast<WriteStream*>(self);
        if (s->data.size() < s->position + size)
            s->data.resize(s->position + size);
        std::memcpy(s->data.data() + s->position, buffer, size);
        s->position += size;
        return size;
    }
};

void setTcb(Lib3dsTcb& out, int frame, const Tcb& tcb)
{
    out.frame = frame;
    out.flags = 0;
    const struct { float value; Lib3dsWord flag; float* field; } parameters[] = {
        {tcb.tension, LIB3DS_USE_TENSION, &out.tens},     {tcb.continuity, LIB3DS_USE_CONTINUITY, &out.cont},
        {tcb.bias, LIB3DS_USE_BIAS, &out.bias},           {tcb.easeTo, LIB3DS_USE_EASE_TO, &out.ease_to},
        {tcb.easeFrom, LIB3DS_USE_EASE_FROM, &out.ease_from},
    };
    for (const auto& p : parameters) {
        if (p.value != 0.0f) {
            out.flags |= p.flag;
            *p.field = p.value;
        }
    }
}

void fillTrack(Lib3dsLin1Track& track, const std::vector<FloatKey>& keys)
{
    for (const FloatKey& k : keys) {
        Lib3dsLin1Key* key = lib3ds_lin1_key_new();
        setTcb(key->tcb, k.frame, k.tcb);
        key->value = k.value;
        lib3ds_lin1_track_insert(&track, key);
    }
}

void fillTrack(Lib3dsLin3Track& track, const std::vector<VectorKey>& keys)
{
    for (const VectorKey& k : keys) {
        Lib3dsLin3Key* key = lib3ds_lin3_key_new();
        setTcb(key->tcb, k.frame, k.tcb);
        std::copy(k.value.begin(), k.value.end(), key->value);
        lib3ds_lin3_track_insert(&track, key);
    }
}

void fillTrack(Lib3dsQuatTrack& track, const std::vector<RotationKey>& keys)
{
    for (const RotationKey& k : keys) {
        Lib3dsQuatKey* key = lib3ds_quat_key_new();
        setTcb(key->tcb, k.frame, k.tcb);
        key->angle = k.angle;
        std::copy(k.axis.begin(), k.axis.end(), key->axis);
        lib3ds_quat_track_insert(&track, key);
    }
}

// The key with the earliest frame: the value the scene objects start from.
template <typename Key>
const Key& firstKey(const std::vector<Key>& keys)
{
    return *std::min_element(keys.begin(), keys.end(),
                             [](const Key& a, const Key& b) { return a.frame < b.frame; });
}

void copyVector(Lib3dsVector out, const Vec3& in)
{
    std::copy(in.begin(), in.end(), out);
}

} // namespace

Mesh boxMesh(const Vec3& h)
{
    Mesh mesh;
    for (int i = 0; i < 8; ++i)  // point i has x from bit 0, y from bit 1, z from bit 2
        mesh.points.push_back({i & 1 ? h[0] : -h[0], i & 2 ? h[1] : -h[1], i & 4 ? h[2] : -h[2]});
    mesh.faces = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                  {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    return mesh;
}

SceneBuilder::SceneBuilder(int frames) : file_(lib3ds_file_new())
{
    file_->frames = frames;
    file_->segment_from = 0;
    file_->segment_to = frames;
}

SceneBuilder::~SceneBuilder()
{
    lib3ds_file_free(file_);
}

bool SceneBuilder::fail(const std::string& why)
{
    error_ = why;
    return false;
}

bool SceneBuilder::checkName(const std::string& name, Lib3dsNodeTypes type)
{
    if (name.empty() || name.size() > kNameLimit)
        return fail("the name '" + name + "' is not 1 to 63 characters long");
    if (lib3ds_file_node_by_name(file_, name.c_str(), type))
        return fail("the name '" + name + "' is taken");
    return true;
}

template <typename Key>
bool SceneBuilder::checkTrack(const std::vector<Key>& keys, const char* what)
{
    if (keys.empty())
        return fail(std::string("the ") + what + " track has no key");
    std::vector<int> frames;
    for (const Key& k : keys) {
        if (k.frame < 0 || k.frame >= kFrameLimit)
            return fail(std::string("a ") + what + " key lies outside frames 0 to 2^24");
        frames.push_back(k.frame);
    }
    std::sort(frames.begin(), frames.end());
    if (std::adjacent_find(frames.begin(), frames.end()) != frames.end())
        return fail(std::string("two ") + what + " keys share a frame");
    return true;
}

Lib3dsNode* SceneBuilder::newNode(Lib3dsNode* node, const std::string& name)
{
    std::strncpy(node->name, name.c_str(), sizeof node->name - 1);
    node->node_id = nextNodeId_++;
    node->parent_id = LIB3DS_NO_PARENT;  // lib3ds' default, 0, would make node 0 its own parent
    return node;
}

bool SceneBuilder::addCamera(const Camera& c)
{
    if (!checkName(c.name, LIB3DS_CAMERA_NODE) || !checkTrack(c.position, "position") ||
        !checkTrack(c.target, "target") || !checkTrack(c.roll, "roll") || !checkTrack(c.fov, "fov"))
        return false;
    Lib3dsCamera* camera = lib3ds_camera_new(c.name.c_str());
    copyVector(camera->position, firstKey(c.position).value);
    copyVector(camera->target, firstKey(c.target).value);
    camera->roll = firstKey(c.roll).value;
    camera->fov = firstKey(c.fov).value;
    lib3ds_file_insert_camera(file_, camera);

    Lib3dsNode* node = newNode(lib3ds_node_new_camera(), c.name);
    fillTrack(node->data.camera.pos_track, c.position);
    fillTrack(node->data.camera.roll_track, c.roll);
    fillTrack(node->data.camera.fov_track, c.fov);
    lib3ds_file_insert_node(file_, node);
    Lib3dsNode* target = newNode(lib3ds_node_new_target(), c.name);
    fillTrack(target->data.target.pos_track, c.target);
    lib3ds_file_insert_node(file_, target);
    return true;
}

bool SceneBuilder::addLight(const Light& l)
{
    if (!checkName(l.name, LIB3DS_LIGHT_NODE) || !checkTrack(l.position, "position") ||
        !checkTrack(l.colour, "colour") || (l.spot && !checkTrack(l.target, "target")))
        return false;
    Lib3dsLight* light = lib3ds_light_new(l.name.c_str());
    copyVector(light->position, firstKey(l.position).value);
    copyVector(light->color, firstKey(l.colour).value);
    if (l.spot) {
        light->spot_light = LIB3DS_TRUE;
        copyVector(light->spot, firstKey(l.target).value);
        light->hot_spot = l.hotspot;
        light->fall_off = l.falloff;
    }
    lib3ds_file_insert_light(file_, light);

    Lib3dsNode* node = newNode(lib3ds_node_new_light(), l.name);
    fillTrack(node->data.light.pos_track, l.position);
    fillTrack(node->data.light.col_track, l.colour);
    if (l.spot) {
        fillTrack(node->data.light.hotspot_track, {{0, l.hotspot}});
        fillTrack(node->data.light.falloff_track, {{0, l.falloff}});
    }
    lib3ds_file_insert_node(file_, node);
    if (l.spot) {
        Lib3dsNode* target = newNode(lib3ds_node_new_spot(), l.name);
        fillTrack(target->data.spot.pos_track, l.target);
        lib3ds_file_insert_node(file_, target);
    }
    return true;
}

bool SceneBuilder::addObject(const Object& o)
{
    const Mesh& m = o.mesh;
    if (!checkName(o.name, LIB3DS_OBJECT_NODE) || !checkTrack(o.position, "position") ||
        !checkTrack(o.rotation, "rotation") || !checkTrack(o.scale, "scale"))
        return false;
    if (m.points.size() > 0xffff || m.faces.size() > 0xffff || m.pointFlags.size() > 0xffff)
        return fail("the mesh of '" + o.name + "' has more than 65535 points or faces");
    for (const auto& face : m.faces)
        for (uint16_t corner : face)
            if (corner >= m.points.size())
                return fail("a face of '" + o.name + "' names a point the mesh does not have");
    if (!m.texels.empty() && m.texels.size() != m.points.size())
        return fail("the mesh of '" + o.name + "' needs one texture coordinate per point");

    Lib3dsMesh* mesh = lib3ds_mesh_new(o.name.c_str());
    lib3ds_matrix_identity(mesh->matrix);
    lib3ds_mesh_new_point_list(mesh, Lib3dsDword(m.points.size()));
    for (size_t i = 0; i < m.points.size(); ++i)
        copyVector(mesh->pointL[i].pos, m.points[i]);
    lib3ds_mesh_new_face_list(mesh, Lib3dsDword(m.faces.size()));
    for (size_t i = 0; i < m.faces.size(); ++i) {
        std::copy(m.faces[i].begin(), m.faces[i].end(), mesh->faceL[i].points);
        mesh->faceL[i].flags = LIB3DS_FACE_FLAG_VIS_AB | LIB3DS_FACE_FLAG_VIS_BC | LIB3DS_FACE_FLAG_VIS_AC;
    }
    if (!m.pointFlags.empty()) {
        lib3ds_mesh_new_flag_list(mesh, Lib3dsDword(m.pointFlags.size()));
        std::copy(m.pointFlags.begin(), m.pointFlags.end(), mesh->flagL);
    }
    if (!m.texels.empty()) {
        lib3ds_mesh_new_texel_list(mesh, Lib3dsDword(m.texels.size()));
        for (size_t i = 0; i < m.texels.size(); ++i)
            std::copy(m.texels[i].begin(), m.texels[i].end(), mesh->texelL[i]);
    }
    lib3ds_file_insert_mesh(file_, mesh);

    Lib3dsNode* node = newNode(lib3ds_node_new_object(), o.name);
    fillTrack(node->data.object.pos_track, o.position);
    fillTrack(node->data.object.rot_track, o.rotation);
    fillTrack(node->data.object.scl_track, o.scale);
    lib3ds_file_insert_node(file_, node);
    return true;
}

std::vector<uint8_t> SceneBuilder::bytes()
{
    WriteStream stream;
    Lib3dsIo* io = lib3ds_io_new(&stream, WriteStream::error, WriteStream::seek, WriteStream::tell,
                                 WriteStream::read, WriteStream::write);
    const bool written = io && lib3ds_file_write(file_, io);
    if (io)
        lib3ds_io_free(io);
    if (!written) {
        fail("lib3ds could not write the scene");
        return {};
    }
    return std::move(stream.data);
}

bool SceneBuilder::save(const std::string& path)
{
    const std::vector<uint8_t> data = bytes();
    if (data.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    out.close();
    if (!out)
        return fail("cannot write " + path);
    return true;
}

} // namespace builder3ds
