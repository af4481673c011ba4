#include "support/Test3dsScenes.h"

#include "3dsbuilder/SceneBuilder.h"
#include "resources/TempDirectory.h"

#include <gtest/gtest.h>
#include <lib3ds/camera.h>
#include <lib3ds/chunk.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>
#include <lib3ds/tracks.h>
#include <lib3ds/viewport.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace testscenes {

using namespace builder3ds;

std::vector<uint8_t> showScene()
{
    SceneBuilder builder(100);
    Camera camera01;
    camera01.name = "Camera01";
    camera01.position = {{0, {0, -10, 0}}, {100, {10, -10, 0}}};
    camera01.target = {{0, {0, 0, 0}}};
    camera01.fov = {{0, 45}, {100, 60}};
    Camera camera02;
    camera02.name = "Camera02";
    camera02.position = {{0, {5, 5, 5}}};
    camera02.target = {{0, {0, 0, 1}}};
    camera02.roll = {{0, 0.5f}};
    camera02.fov = {{0, 30}};
    Light omni;
    omni.name = "Omni01";
    omni.position = {{0, {1, 2, 3}}, {50, {3, 2, 1}}};
    omni.colour = {{0, {1, 0.5f, 0.25f}}, {50, {0, 1, 0}}};
    Light spot;
    spot.name = "Spot01";
    spot.spot = true;
    spot.position = {{0, {0, 0, 10}}};
    spot.target = {{0, {0, 0, 0}}};
    spot.colour = {{0, {0.2f, 0.4f, 0.6f}}};
    Object ribbon;
    ribbon.name = "Ribbon";
    ribbon.mesh = boxMesh({1, 1, 1});
    ribbon.position = {{0, {0, 0, 0}}, {10, {10, 0, 0}}, {20, {10, 10, 0}}, {30, {0, 10, 5}}};
    Object cube;
    cube.name = "Cube";
    cube.mesh = boxMesh({0.5f, 0.5f, 0.5f});
    cube.position = {{0, {-4, 0, 2}}, {80, {4, 8, -2}}};
    cube.rotation = {{0, 0, {0, 0, 1}}, {80, 1.0f, {0, 0, 1}}};
    const bool added = builder.addCamera(camera01) && builder.addCamera(camera02) && builder.addLight(omni) &&
                       builder.addLight(spot) && builder.addObject(ribbon) && builder.addObject(cube);
    EXPECT_TRUE(added) << builder.error();
    return builder.bytes();
}

namespace {

void key3(Lib3dsLin3Track& track, int frame, float x, float y, float z)
{
    Lib3dsLin3Key* key = lib3ds_lin3_key_new();
    key->tcb.frame = frame;
    key->tcb.flags = LIB3DS_USE_TENSION | LIB3DS_USE_CONTINUITY | LIB3DS_USE_BIAS | LIB3DS_USE_EASE_TO |
                     LIB3DS_USE_EASE_FROM;
    key->tcb.tens = 0.25f;
    key->value[0] = x;
    key->value[1] = y;
    key->value[2] = z;
    lib3ds_lin3_track_insert(&track, key);
}

void key1(Lib3dsLin1Track& track, int frame, float value)
{
    Lib3dsLin1Key* key = lib3ds_lin1_key_new();
    key->tcb.frame = frame;
    key->value = value;
    lib3ds_lin1_track_insert(&track, key);
}

Lib3dsNode* named(Lib3dsNode* n, const char* nodeName, uint16_t id, uint16_t parent)
{
    std::strcpy(n->name, nodeName);
    n->node_id = id;
    n->parent_id = parent;
    return n;
}

void addMaterial(Lib3dsFile* file)
{
    Lib3dsMaterial* m = lib3ds_material_new();
    std::strcpy(m->name, "Paint");
    m->use_falloff = m->two_sided = m->use_blur = m->self_illum = m->additive = LIB3DS_TRUE;
    m->use_wire = m->use_wire_abs = m->face_map = m->soften = m->map_decal = LIB3DS_TRUE;
    m->self_ilpct = 0.5f;
    m->autorefl_map.flags = LIB3DS_USE_REFL_MAP;
    for (Lib3dsTextureMap* map : {&m->texture1_map, &m->texture1_mask, &m->texture2_map, &m->texture2_mask,
                                  &m->opacity_map, &m->opacity_mask, &m->bump_map, &m->bump_mask,
                                  &m->specular_map, &m->specular_mask, &m->shininess_map, &m->shininess_mask,
                                  &m->self_illum_map, &m->self_illum_mask, &m->reflection_map,
                                  &m->reflection_mask})
        std::strcpy(map->name, "map.jpg");
    lib3ds_file_insert_material(file, m);
}

void addMesh(Lib3dsFile* file)
{
    Lib3dsMesh* mesh = lib3ds_mesh_new("Tri");
    lib3ds_mesh_new_point_list(mesh, 3);
    lib3ds_mesh_new_flag_list(mesh, 3);
    lib3ds_mesh_new_texel_list(mesh, 3);
    lib3ds_mesh_new_face_list(mesh, 1);
    for (int i = 0; i < 3; ++i) {
        mesh->pointL[i].pos[i] = 1.0f;
        mesh->faceL[0].points[i] = Lib3dsWord(i);
    }
    std::strcpy(mesh->faceL[0].material, "Paint");
    mesh->faceL[0].smoothing = 1;
    std::strcpy(mesh->box_map.front, "Paint");
    mesh->map_data.maptype = LIB3DS_MAP_PLANAR;
    mesh->color = 3;
    lib3ds_file_insert_mesh(file, mesh);
}

void addSurroundings(Lib3dsFile* file)
{
    file->ambient[0] = 0.1f;
    file->background.bitmap.use = LIB3DS_TRUE;
    std::strcpy(file->background.bitmap.name, "sky.jpg");
    file->background.solid.use = LIB3DS_TRUE;
    file->background.solid.col[0] = 0.5f;
    file->background.gradient.use = LIB3DS_TRUE;
    file->background.gradient.percent = 0.5f;
    file->background.gradient.top[0] = 0.5f;
    file->atmosphere.fog.use = file->atmosphere.fog.fog_background = LIB3DS_TRUE;
    file->atmosphere.layer_fog.use = LIB3DS_TRUE;
    file->atmosphere.layer_fog.flags = LIB3DS_FOG_BACKGROUND;
    file->atmosphere.dist_cue.use = file->atmosphere.dist_cue.cue_background = LIB3DS_TRUE;
    lib3ds_viewport_set_views(&file->viewport, 2);
    file->viewport.default_view.type = LIB3DS_VIEW_TYPE_CAMERA;
    std::strcpy(file->viewport.default_view.camera, "Cam");
    lib3ds_viewport_set_views(&file->viewport_keyf, 1);
}

void addCameraAndLights(Lib3dsFile* file)
{
    Lib3dsCamera* camera = lib3ds_camera_new("Cam");
    camera->fov = 45.0f;
    camera->see_cone = LIB3DS_TRUE;
    lib3ds_file_insert_camera(file, camera);
    // A spot light with every option lib3ds writes correctly (not the
    // projector: lib3ds writes its chunk shorter than the name in it).
    Lib3dsLight* spot = lib3ds_light_new("Spot");
    spot->spot_light = spot->off = spot->see_cone = spot->rectangular_spot = LIB3DS_TRUE;
    spot->shadowed = spot->ray_shadows = LIB3DS_TRUE;
    spot->spot_overshoot = 1;
    spot->attenuation = spot->ray_bias = spot->roll = 1.0f;
    spot->shadow_size = 5;
    spot->spot_aspect = 2.0f;
    lib3ds_file_insert_light(file, spot);
    lib3ds_file_insert_light(file, lib3ds_light_new("Omni"));
}

void addNodes(Lib3dsFile* file)
{
    Lib3dsNode* camera = named(lib3ds_node_new_camera(), "Cam", 0, LIB3DS_NO_PARENT);
    key3(camera->data.camera.pos_track, 0, 0, -10, 0);
    key3(camera->data.camera.pos_track, 100, 10, -10, 0);
    key1(camera->data.camera.fov_track, 0, 45);
    key1(camera->data.camera.roll_track, 0, 0);
    lib3ds_file_insert_node(file, camera);
    Lib3dsNode* target = named(lib3ds_node_new_target(), "Cam", 1, LIB3DS_NO_PARENT);
    key3(target->data.target.pos_track, 0, 0, 0, 0);
    lib3ds_file_insert_node(file, target);

    Lib3dsNode* object = named(lib3ds_node_new_object(), "Tri", 2, 0);  // a child of the camera
    key3(object->data.object.pos_track, 0, 1, 2, 3);
    key3(object->data.object.scl_track, 0, 1, 1, 1);
    Lib3dsQuatKey* turn = lib3ds_quat_key_new();
    turn->axis[2] = 1.0f;
    turn->angle = 1.0f;
    lib3ds_quat_track_insert(&object->data.object.rot_track, turn);
    Lib3dsBoolKey* hide = lib3ds_bool_key_new();
    hide->tcb.frame = 5;
    lib3ds_bool_track_insert(&object->data.object.hide_track, hide);
    lib3ds_file_insert_node(file, object);

    Lib3dsNode* light = named(lib3ds_node_new_light(), "Spot", 3, LIB3DS_NO_PARENT);
    key3(light->data.light.pos_track, 0, 0, 0, 5);
    key3(light->data.light.col_track, 0, 1, 1, 1);
    key1(light->data.light.hotspot_track, 0, 30);
    key1(light->data.light.falloff_track, 0, 45);
    key1(light->data.light.roll_track, 0, 0);
    lib3ds_file_insert_node(file, light);
    Lib3dsNode* spot = named(lib3ds_node_new_spot(), "Spot", 4, LIB3DS_NO_PARENT);
    key3(spot->data.spot.pos_track, 0, 0, 0, 0);
    lib3ds_file_insert_node(file, spot);
    Lib3dsNode* ambient = named(lib3ds_node_new_ambient(), "$AMBIENT$", 5, LIB3DS_NO_PARENT);
    key3(ambient->data.ambient.col_track, 0, 0.1f, 0.1f, 0.1f);
    lib3ds_file_insert_node(file, ambient);
}

std::vector<uint8_t> readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

std::vector<uint8_t> everyChunkFile()
{
    Lib3dsFile* file = lib3ds_file_new();
    file->frames = 100;
    addSurroundings(file);
    addMaterial(file);
    addMesh(file);
    addCameraAndLights(file);
    addNodes(file);
    const std::string path = temporaryPath("every-chunk.3ds");
    EXPECT_TRUE(lib3ds_file_save(file, path.c_str()));
    lib3ds_file_free(file);
    return readWhole(path);
}

namespace {

// Where the children of a chunk start, for the containers findChunk walks.
size_t firstChild(const std::vector<uint8_t>& file, size_t chunk)
{
    const uint16_t id = uint16_t(file[chunk] | file[chunk + 1] << 8);
    const size_t payload = chunk + 6;
    switch (id) {
    case LIB3DS_NAMED_OBJECT: return payload + std::strlen(reinterpret_cast<const char*>(&file[payload])) + 1;
    case LIB3DS_N_DIRECT_LIGHT: return payload + 12;
    case LIB3DS_N_CAMERA: return payload + 32;
    case LIB3DS_DL_SPOTLIGHT: return payload + 20;
    case LIB3DS_FACE_ARRAY: return payload + 2 + 8 * size_t(file[payload] | file[payload + 1] << 8);
    default: return payload;
    }
}

} // namespace

namespace {

size_t search(const std::vector<uint8_t>& file, size_t at, size_t end, const std::vector<uint16_t>& path,
              size_t level)
{
    while (at + 6 <= end) {
        const uint32_t length = get32(file, at + 2);
        if (length < 6 || length > end - at)
            break;
        if (uint16_t(file[at] | file[at + 1] << 8) == path[level]) {
            if (level + 1 == path.size())
                return at;
            const size_t found = search(file, firstChild(file, at), at + length, path, level + 1);
            if (found != 0)
                return found;
        }
        at += length;
    }
    return 0;
}

} // namespace

size_t findChunk(const std::vector<uint8_t>& file, const std::vector<uint16_t>& path)
{
    const size_t at = search(file, 0, file.size(), path, 0);
    if (at == 0 && path.size() > 1)
        ADD_FAILURE() << "no chunk at the path ending in 0x" << std::hex << path.back();
    return at;
}

Bytes chunk(uint16_t id, const std::vector<Bytes>& parts)
{
    Bytes out = word(id);
    size_t length = 6;
    for (const Bytes& part : parts)
        length += part.size();
    const Bytes size = dword(uint32_t(length));
    out.insert(out.end(), size.begin(), size.end());
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes word(uint16_t value)
{
    return {uint8_t(value), uint8_t(value >> 8)};
}

Bytes dword(uint32_t value)
{
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

Bytes name(const std::string& text)
{
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

Bytes node(uint16_t tag, uint16_t id, const std::string& nodeName, uint16_t parent)
{
    return chunk(tag, {chunk(LIB3DS_NODE_ID, {word(id)}),
                       chunk(LIB3DS_NODE_HDR, {name(nodeName), word(0), word(0), word(parent)})});
}

Bytes keyframeFile(const std::vector<Bytes>& nodes)
{
    return chunk(LIB3DS_M3DMAGIC, {chunk(LIB3DS_KFDATA, nodes)});
}

void put16(std::vector<uint8_t>& file, size_t at, uint16_t value)
{
    file[at] = uint8_t(value);
    file[at + 1] = uint8_t(value >> 8);
}

void put32(std::vector<uint8_t>& file, size_t at, uint32_t value)
{
    put16(file, at, uint16_t(value));
    put16(file, at + 2, uint16_t(value >> 16));
}

uint32_t get32(const std::vector<uint8_t>& file, size_t at)
{
    return uint32_t(file[at] | file[at + 1] << 8 | file[at + 2] << 16) | uint32_t(file[at + 3]) << 24;
}

std::string temporaryPath(const std::string& name)
{
    static testsupport::TempDirectory scratch;  // removed when the test program ends
    return scratch.file(name);
}

std::string writeTemporary(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = temporaryPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

} // namespace testscenes
