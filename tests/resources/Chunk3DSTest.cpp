// The structure check in front of lib3ds: what it lets through must load,
// what it refuses gets a reason, and lib3ds never sees a refused file.
#include "3dsbuilder/SceneBuilder.h"
#include "resources/Chunk3DS.h"
#include "resources/File3DS.h"
#include "support/Test3dsScenes.h"

#include <gtest/gtest.h>
#include <lib3ds/chunk.h>
#include <lib3ds/node.h>

#include <functional>

using namespace testscenes;

namespace {

constexpr uint16_t kNoParent = LIB3DS_NO_PARENT;

Bytes nodeChain(int count)
{
    std::vector<Bytes> nodes;
    for (int i = 0; i < count; ++i)
        nodes.push_back(node(LIB3DS_OBJECT_NODE_TAG, uint16_t(i), "N" + std::to_string(i),
                             i == 0 ? kNoParent : uint16_t(i - 1)));
    return keyframeFile(nodes);
}

Bytes namedObject(const std::vector<Bytes>& parts)
{
    return chunk(LIB3DS_M3DMAGIC, {chunk(LIB3DS_MDATA, {chunk(LIB3DS_NAMED_OBJECT, parts)})});
}

// Patches one spot of a copy of `file`, found by a chunk path and an offset into that chunk.
Bytes patched(Bytes file, const std::vector<uint16_t>& path, size_t offset,
              const std::function<void(Bytes&, size_t)>& change)
{
    change(file, findChunk(file, path) + offset);
    return file;
}

std::function<void(Bytes&, size_t)> set16(uint16_t value)
{
    return [value](Bytes& file, size_t at) { put16(file, at, value); };
}

std::function<void(Bytes&, size_t)> set32(uint32_t value)
{
    return [value](Bytes& file, size_t at) { put32(file, at, value); };
}

const std::vector<uint16_t> kPoints = {LIB3DS_M3DMAGIC, LIB3DS_MDATA, LIB3DS_NAMED_OBJECT, LIB3DS_N_TRI_OBJECT,
                                       LIB3DS_POINT_ARRAY};
const std::vector<uint16_t> kFaces = {LIB3DS_M3DMAGIC, LIB3DS_MDATA, LIB3DS_NAMED_OBJECT, LIB3DS_N_TRI_OBJECT,
                                      LIB3DS_FACE_ARRAY};
// Camera01's position track: two keys of 18 bytes after a 14-byte header.
const std::vector<uint16_t> kCameraTrack = {LIB3DS_M3DMAGIC, LIB3DS_KFDATA, LIB3DS_CAMERA_NODE_TAG,
                                            LIB3DS_POS_TRACK_TAG};
constexpr size_t kKeyCount = 6 + 10, kFirstFrame = 6 + 14, kSecondFrame = 6 + 14 + 18;

struct Refusal {
    const char* what;
    std::function<Bytes()> file;
    const char* reason;
};

const std::vector<Refusal>& refusals()
{
    static const std::vector<Refusal> rows = {
        // the chunk tree
        {"an empty file", [] { return Bytes{}; }, "shorter than a chunk header"},
        {"another chunk at the top", [] { return patched(showScene(), {LIB3DS_M3DMAGIC}, 0, set16(LIB3DS_MDATA)); },
         "is not the 3DS file chunk"},
        {"a file cut short", [] { Bytes f = showScene(); f.pop_back(); return f; }, "runs past its parent"},
        {"a chunk shorter than its header",
         [] { return patched(showScene(), {LIB3DS_M3DMAGIC, LIB3DS_MDATA, LIB3DS_MESH_VERSION}, 2, set32(0)); },
         "shorter than its header"},
        {"a chunk running out of its parent", [] { return patched(showScene(), kPoints, 2, set32(400)); },
         "runs past its parent"},
        {"a name without its end", [] { return namedObject({Bytes(70, 'a')}); }, "does not end"},
        {"a camera shorter than its fixed fields",
         [] { return namedObject({name("Cam"), chunk(LIB3DS_N_CAMERA, {Bytes(8, 0)})}); }, "fixed fields"},
        {"a background gradient with four colours of one kind",
         [] {
             const Bytes colour = chunk(LIB3DS_LIN_COLOR_F, {Bytes(12, 0)});
             return chunk(LIB3DS_M3DMAGIC, {chunk(LIB3DS_MDATA, {chunk(LIB3DS_V_GRADIENT,
                              {Bytes(4, 0), colour, colour, colour, colour})})});
         },
         "fourth gradient colour"},
        // meshes
        {"more points announced than stored", [] { return patched(showScene(), kPoints, 6, set16(9)); },
         "fewer elements"},
        {"a point array twice in a mesh",
         [] {
             const Bytes points = chunk(LIB3DS_POINT_ARRAY, {word(0)});
             return namedObject({name("M"), chunk(LIB3DS_N_TRI_OBJECT, {points, points})});
         },
         "appears twice"},
        {"a face corner beyond the points", [] { return patched(showScene(), kFaces, 8, set16(8)); },
         "face corner beyond"},
        {"a material group naming a missing face",
         [] { return patched(everyChunkFile(), {LIB3DS_M3DMAGIC, LIB3DS_MDATA, LIB3DS_NAMED_OBJECT,
                                                LIB3DS_N_TRI_OBJECT, LIB3DS_FACE_ARRAY, LIB3DS_MSH_MAT_GROUP},
                              6 + 6 + 2, set16(1)); },
         "names a face"},
        {"texture coordinates not one per point",
         [] { return patched(everyChunkFile(), {LIB3DS_M3DMAGIC, LIB3DS_MDATA, LIB3DS_NAMED_OBJECT,
                                                LIB3DS_N_TRI_OBJECT, LIB3DS_TEX_VERTS}, 6, set16(2)); },
         "texture coordinates"},
        // key-frame tracks
        {"more keys announced than stored", [] { return patched(showScene(), kCameraTrack, kKeyCount, set32(3)); },
         "fewer keys"},
        {"a negative key count",
         [] { return patched(showScene(), kCameraTrack, kKeyCount, set32(0xffffffffu)); }, "negative"},
        {"key frames out of order", [] { return patched(showScene(), kCameraTrack, kSecondFrame, set32(0)); },
         "do not increase"},
        {"a key frame below 0",
         [] { return patched(showScene(), kCameraTrack, kFirstFrame, set32(0xffffffffu)); }, "outside"},
        {"a key frame at 2^24", [] { return patched(showScene(), kCameraTrack, kSecondFrame, set32(1u << 24)); },
         "outside"},
        // the node hierarchy
        {"a node that is its own parent",
         [] { return patched(showScene(), {LIB3DS_M3DMAGIC, LIB3DS_KFDATA, LIB3DS_CAMERA_NODE_TAG, LIB3DS_NODE_HDR},
                             6 + 9 + 4, set16(0)); },
         "loops"},
        {"two nodes that are each other's parent",
         [] { return keyframeFile({node(LIB3DS_OBJECT_NODE_TAG, 1, "A", 2), node(LIB3DS_OBJECT_NODE_TAG, 2, "B", 1)}); },
         "loops"},
        {"a node without id and header (id 0, parent 0)",
         [] { return keyframeFile({chunk(LIB3DS_OBJECT_NODE_TAG, {})}); }, "loops"},
        {"a node without NODE_ID whose place in the list is its parent id",
         [] { return keyframeFile({node(LIB3DS_CAMERA_NODE_TAG, 217, "H", 0),
                                   chunk(LIB3DS_TARGET_NODE_TAG,
                                         {chunk(LIB3DS_NODE_HDR, {name("A"), word(0), word(0), word(1)})})}); },
         "loops"},
        {"a null chunk that hides a node's header (id 0, parent 0)",
         [] { return keyframeFile({chunk(LIB3DS_OBJECT_NODE_TAG,
                                         {chunk(LIB3DS_NULL_CHUNK, {word(0)}),
                                          chunk(LIB3DS_NODE_HDR, {name("A"), word(0), word(0), word(kNoParent)})})}); },
         "loops"},
        {"a map name without its end",
         [] { return chunk(LIB3DS_M3DMAGIC, {chunk(LIB3DS_MDATA, {chunk(LIB3DS_MAT_ENTRY,
                              {chunk(LIB3DS_MAT_TEXMAP, {chunk(LIB3DS_MAT_MAPNAME, {Bytes(64, 'a')})})})})}); },
         "does not end"},
        {"a key-frame file name longer than 12 characters",
         [] { return keyframeFile({chunk(LIB3DS_KFHDR, {word(5), name("thirteen-char"), dword(100)})}); },
         "does not end"},
        {"two nodes with one id",
         [] { return keyframeFile({node(LIB3DS_OBJECT_NODE_TAG, 3, "A", kNoParent),
                                   node(LIB3DS_CAMERA_NODE_TAG, 3, "B", kNoParent)}); },
         "more than one node"},
        {"a node header too short for its parent id",
         [] { return keyframeFile({chunk(LIB3DS_OBJECT_NODE_TAG, {chunk(LIB3DS_NODE_HDR, {name("A"), word(0)})})}); },
         "shorter than its flags"},
        {"a parent chain one deeper than allowed", [] { return nodeChain(kMaxNodeDepth + 2); }, "deeper than 256"},
        {"a morph key naming an object of 11 characters",
         [] {
             return keyframeFile({chunk(LIB3DS_OBJECT_NODE_TAG,
                                        {chunk(LIB3DS_NODE_HDR, {name("A"), word(0), word(0), word(kNoParent)}),
                                         chunk(LIB3DS_MORPH_TRACK_TAG, {word(0), dword(0), dword(0), dword(1),
                                                                        dword(0), word(0), name("elevenchars")})})});
         },
         "does not end"},
        {"a node with two morph tracks",
         [] {
             const Bytes morph = chunk(LIB3DS_MORPH_TRACK_TAG,
                                       {word(0), dword(0), dword(0), dword(1), dword(0), word(0), name("A")});
             return keyframeFile({chunk(LIB3DS_OBJECT_NODE_TAG,
                                        {chunk(LIB3DS_NODE_HDR, {name("A"), word(0), word(0), word(kNoParent)}),
                                         morph, morph})});
         },
         "repeats a track"},
    };
    return rows;
}

TEST(Chunk3DS, RefusesMalformedFilesWithAReason)
{
    for (const Refusal& row : refusals()) {
        SCOPED_TRACE(row.what);
        const Bytes file = row.file();
        std::string problem;
        EXPECT_FALSE(check3dsChunks(file.data(), file.size(), problem));
        EXPECT_NE(problem.find(row.reason), std::string::npos) << problem;
        // The loader refuses for the same reason, before lib3ds reads anything.
        std::string loadProblem;
        EXPECT_EQ(load3dsFromMemory(file.data(), file.size(), loadProblem), nullptr);
        EXPECT_EQ(loadProblem, problem);
    }
}

// A triangle whose mesh carries two point flags for its three points.
Bytes fewerPointFlags()
{
    builder3ds::SceneBuilder builder(10);
    builder3ds::Object triangle;
    triangle.name = "Tri";
    triangle.mesh.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.mesh.faces = {{0, 1, 2}};
    triangle.mesh.pointFlags = {1, 2};
    triangle.position = {{0, {0, 0, 0}}};
    EXPECT_TRUE(builder.addObject(triangle)) << builder.error();
    return builder.bytes();
}

TEST(Chunk3DS, PassesWhatLib3dsWritesAndLib3dsLoadsIt)
{
    const Bytes trailing = [] { Bytes f = showScene(); f.insert(f.end(), {1, 2, 3, 4, 5, 6, 7}); return f; }();
    const Bytes unknownChunks = keyframeFile(
        {chunk(0x1234, {Bytes{0, 0, 0}}),
         chunk(LIB3DS_OBJECT_NODE_TAG, {chunk(LIB3DS_NODE_ID, {word(1)}), chunk(0xB0FF, {Bytes(5, 0xff)}),
                                        chunk(LIB3DS_NODE_HDR, {name("A"), word(0), word(0), word(kNoParent)})})});
    const struct {
        const char* what;
        Bytes file;
    } rows[] = {
        {"a scene from the builder", showScene()},
        {"every chunk lib3ds writes", everyChunkFile()},
        {"bytes after the file chunk", trailing},
        {"unknown chunks, skipped by length", unknownChunks},
        {"a node whose parent is not in the file",
         keyframeFile({node(LIB3DS_OBJECT_NODE_TAG, 1, "A", 77)})},
        {"a parent chain exactly as deep as allowed", nodeChain(kMaxNodeDepth + 1)},
        // as common exporters write them
        {"fewer point flags than points", fewerPointFlags()},
        // lib3ds stops at a chunk id of 0, so what follows it is never read
        {"garbage behind a null chunk",
         keyframeFile({node(LIB3DS_OBJECT_NODE_TAG, 1, "A", kNoParent), chunk(LIB3DS_NULL_CHUNK, {}),
                       Bytes{0xff, 0xff, 0, 0, 0, 0}})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string problem;
        EXPECT_TRUE(check3dsChunks(row.file.data(), row.file.size(), problem)) << problem;
        EXPECT_NE(load3dsFromMemory(row.file.data(), row.file.size(), problem), nullptr) << problem;
    }
}

} // namespace
