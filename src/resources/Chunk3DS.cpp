#include "resources/Chunk3DS.h"

#include <lib3ds/chunk.h>
#include <lib3ds/node.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace {

constexpr size_t kHeader = 6;          // chunk id (16 bits) and length (32 bits)
constexpr size_t kNameBuffer = 64;     // lib3ds' name buffers, closing zero included
constexpr size_t kMorphNameBuffer = 11;  // lib3ds reads a morph key's name into this much
constexpr size_t kTrackHeader = 14;    // flags, two unused words, key count
constexpr int32_t kFrameLimit = 1 << 24;  // frames up to here convert to float exactly

struct Chunk {
    uint16_t id = 0;
    size_t start = 0;  // offset of the header
    size_t end = 0;    // one past the last byte
    size_t payload() const { return start + kHeader; }
    size_t payloadSize() const { return end - payload(); }
};

// What a key of a track holds after its frame and spline parameters.
enum class KeyValue { None, Float, Vector, Rotation, Name };

struct MeshArrays {
    bool points = false, flags = false, texels = false, faces = false;
    uint32_t pointCount = 0, flagCount = 0, texelCount = 0, faceCount = 0;
    uint32_t highestCorner = 0;
};

struct NodeRecord {
    uint16_t id = 0;
    uint16_t parent = 0;  // what lib3ds assumes without a NODE_HDR chunk
    size_t offset = 0;
};

class ChunkChecker {
public:
    ChunkChecker(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool check(std::string& problem)
    {
        if (checkFile())
            return true;
        problem = problem_;
        return false;
    }

private:
    uint16_t u16(size_t at) const { return uint16_t(data_[at] | data_[at + 1] << 8); }
    uint32_t u32(size_t at) const { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; }
    int32_t i32(size_t at) const { return int32_t(u32(at)); }

    bool failAt(size_t offset, const char* format, ...) __attribute__((format(printf, 3, 4)))
    {
        char text[200];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        char where[40];
        std::snprintf(where, sizeof where, "at offset %zu: ", offset);
        problem_ = std::string(where) + text;
        return false;
    }
    bool fail(const Chunk& c, const char* what)
    {
        return failAt(c.start, "chunk 0x%04X %s", unsigned(c.id), what);
    }

    bool readChunk(size_t at, size_t parentEnd, Chunk& chunk)
    {
        if (parentEnd - at < kHeader)
            return failAt(at, "a chunk header runs past its parent");
        chunk.id = u16(at);
        chunk.start = at;
        const uint32_t length = u32(at + 2);
        if (length < kHeader)
            return failAt(at, "chunk 0x%04X is shorter than its header (%u bytes)", unsigned(chunk.id), length);
        if (length > parentEnd - at)
            return failAt(at, "chunk 0x%04X (%u bytes) runs past its parent, which ends at offset %zu",
                          unsigned(chunk.id), length, parentEnd);
        chunk.end = at + length;
        return true;
    }

    // Walks the children of `parent` that start at `first`, the way lib3ds'
    // chunk reader steps from one to the next: it takes a chunk id of 0 for
    // the end of the parent and skips whatever follows.
    template <typename Visit>
    bool children(const Chunk& parent, size_t first, Visit visit)
    {
        for (size_t at = first; at < parent.end;) {
            if (parent.end - at >= 2 && u16(at) == LIB3DS_NULL_CHUNK)
                return true;
            Chunk child;
            if (!readChunk(at, parent.end, child) || !visit(child))
                return false;
            at = child.end;
        }
        return true;
    }

    // A chunk with `header` bytes of fixed fields followed by leaf chunks.
    bool flat(const Chunk& c, size_t header)
    {
        if (c.payloadSize() < header)
            return fail(c, "is shorter than its fixed fields");
        return children(c, c.payload() + header, [](const Chunk&) { return true; });
    }

    // A zero-terminated name at `at` that ends inside `c` and fits `limit`
    // bytes; `after` is the offset behind its zero.
    bool name(const Chunk& c, size_t at, size_t limit, size_t& after)
    {
        for (size_t i = at; i < c.end && i - at < limit; ++i) {
            if (data_[i] == 0) {
                after = i + 1;
                return true;
            }
        }
        return fail(c, "holds a name that does not end inside the chunk or is too long");
    }

    // `count` names one after the other from `offset` into the payload, each
    // within `limit` bytes, as lib3ds reads them into its fixed buffers.
    bool names(const Chunk& c, size_t offset, int count, size_t limit)
    {
        if (c.payloadSize() < offset)
            return fail(c, "is shorter than its fixed fields");
        size_t at = c.payload() + offset;
        for (int i = 0; i < count; ++i)
            if (!name(c, at, limit, at))
                return false;
        return true;
    }

    // An array of `count` records of `record` bytes after a 16-bit count.
    bool countedArray(const Chunk& c, bool& seen, uint32_t& count, size_t record)
    {
        if (seen)
            return fail(c, "appears twice in one mesh");
        seen = true;
        if (c.payloadSize() < 2)
            return fail(c, "has no element count");
        count = u16(c.payload());
        if (c.payloadSize() - 2 < count * record)
            return fail(c, "holds fewer elements than it announces");
        return true;
    }

    bool checkFile();
    bool magic(const Chunk& c);
    bool mdata(const Chunk& c);
    bool gradient(const Chunk& c);
    bool material(const Chunk& c);
    bool namedObject(const Chunk& c);
    bool light(const Chunk& c);
    bool spotlight(const Chunk& c);
    bool textureMap(const Chunk& c);
    bool mesh(const Chunk& c);
    bool faceArray(const Chunk& c, MeshArrays& mesh);
    bool materialGroup(const Chunk& c, uint32_t faceCount);
    bool kfdata(const Chunk& c);
    bool node(const Chunk& c, uint16_t number);
    bool track(const Chunk& c, KeyValue value);
    bool nodeHierarchy();

    const uint8_t* data_;
    size_t size_;
    std::string problem_;
    std::vector<NodeRecord> nodes_;
};

bool ChunkChecker::checkFile()
{
    if (size_ < kHeader)
        return failAt(0, "the file is shorter than a chunk header");
    Chunk top;
    if (!readChunk(0, size_, top))
        return false;
    if (top.id != LIB3DS_M3DMAGIC)
        return fail(top, "is not the 3DS file chunk 0x4D4D");
    return magic(top) && nodeHierarchy();
}

bool ChunkChecker::magic(const Chunk& c)
{
    return children(c, c.payload(), [this](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_MDATA: return mdata(child);
        case LIB3DS_KFDATA: return kfdata(child);
        default: return true;
        }
    });
}

bool ChunkChecker::mdata(const Chunk& c)
{
    return children(c, c.payload(), [this](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_AMBIENT_LIGHT:
        case LIB3DS_SOLID_BGND:
        case LIB3DS_DEFAULT_VIEW: return flat(child, 0);
        case LIB3DS_V_GRADIENT: return gradient(child);
        case LIB3DS_FOG:
        case LIB3DS_LAYER_FOG:
        case LIB3DS_DISTANCE_CUE: return flat(child, 16);
        case LIB3DS_VIEWPORT_LAYOUT: return flat(child, 14);
        case LIB3DS_BIT_MAP: return names(child, 0, 1, kNameBuffer);
        case LIB3DS_MAT_ENTRY: return material(child);
        case LIB3DS_NAMED_OBJECT: return namedObject(child);
        default: return true;
        }
    });
}

// A background gradient: its position, then its top, middle and bottom
// colours. lib3ds reads the colours into arrays of three on its stack,
// counting as it goes, so a fourth colour of one kind overruns them.
bool ChunkChecker::gradient(const Chunk& c)
{
    constexpr size_t kPosition = 4;
    if (c.payloadSize() < kPosition)
        return fail(c, "is shorter than its fixed fields");
    int colours[4] = {0, 0, 0, 0};  // COLOR_F, COLOR_24, LIN_COLOR_24, LIN_COLOR_F
    return children(c, c.payload() + kPosition, [this, &colours](const Chunk& child) {
        if (child.id < LIB3DS_COLOR_F || child.id > LIB3DS_LIN_COLOR_F)
            return true;
        if (++colours[child.id - LIB3DS_COLOR_F] > 3)
            return fail(child, "is a fourth gradient colour of its kind");
        return true;
    });
}

bool ChunkChecker::material(const Chunk& c)
{
    return children(c, c.payload(), [this](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_MAT_NAME: return names(child, 0, 1, kNameBuffer);
        // colours and percentages hold one value chunk each
        case LIB3DS_MAT_AMBIENT: case LIB3DS_MAT_DIFFUSE: case LIB3DS_MAT_SPECULAR:
        case LIB3DS_MAT_SHININESS: case LIB3DS_MAT_SHIN2PCT: case LIB3DS_MAT_TRANSPARENCY:
        case LIB3DS_MAT_XPFALL: case LIB3DS_MAT_REFBLUR: case LIB3DS_MAT_SELF_ILPCT: return flat(child, 0);
        // texture maps hold their parameter chunks
        case LIB3DS_MAT_TEXMAP: case LIB3DS_MAT_TEXMASK: case LIB3DS_MAT_TEX2MAP:
        case LIB3DS_MAT_TEX2MASK: case LIB3DS_MAT_OPACMAP: case LIB3DS_MAT_OPACMASK:
        case LIB3DS_MAT_BUMPMAP: case LIB3DS_MAT_BUMPMASK: case LIB3DS_MAT_SPECMAP:
        case LIB3DS_MAT_SPECMASK: case LIB3DS_MAT_SHINMAP: case LIB3DS_MAT_SHINMASK:
        case LIB3DS_MAT_SELFIMAP: case LIB3DS_MAT_SELFIMASK: case LIB3DS_MAT_REFLMAP:
        case LIB3DS_MAT_REFLMASK: return textureMap(child);
        default: return true;
        }
    });
}

bool ChunkChecker::textureMap(const Chunk& c)
{
    return children(c, c.payload(), [this](const Chunk& child) {
        return child.id == LIB3DS_MAT_MAPNAME ? names(child, 0, 1, kNameBuffer) : true;
    });
}

bool ChunkChecker::namedObject(const Chunk& c)
{
    size_t first = 0;
    if (!name(c, c.payload(), kNameBuffer, first))
        return false;
    return children(c, first, [this](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_N_TRI_OBJECT: return mesh(child);
        case LIB3DS_N_DIRECT_LIGHT: return light(child);
        case LIB3DS_N_CAMERA: return flat(child, 32);  // position, target, roll, field of view
        default: return true;
        }
    });
}

bool ChunkChecker::light(const Chunk& c)
{
    constexpr size_t kPosition = 12;
    if (c.payloadSize() < kPosition)
        return fail(c, "is shorter than its fixed fields");
    return children(c, c.payload() + kPosition, [this](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_DL_SPOTLIGHT: return spotlight(child);
        case LIB3DS_DL_EXCLUDE: return names(child, 0, 1, kNameBuffer);
        default: return true;
        }
    });
}

bool ChunkChecker::spotlight(const Chunk& c)
{
    constexpr size_t kTargetAndCone = 20;  // target position, hot spot, fall-off
    if (c.payloadSize() < kTargetAndCone)
        return fail(c, "is shorter than its fixed fields");
    return children(c, c.payload() + kTargetAndCone, [this](const Chunk& child) {
        return child.id == LIB3DS_DL_SPOT_PROJECTOR ? names(child, 0, 1, kNameBuffer) : true;
    });
}

bool ChunkChecker::mesh(const Chunk& c)
{
    MeshArrays m;
    const bool walked = children(c, c.payload(), [this, &m](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_POINT_ARRAY: return countedArray(child, m.points, m.pointCount, 12);
        case LIB3DS_POINT_FLAG_ARRAY: return countedArray(child, m.flags, m.flagCount, 2);
        case LIB3DS_TEX_VERTS: return countedArray(child, m.texels, m.texelCount, 8);
        case LIB3DS_FACE_ARRAY: return faceArray(child, m);
        default: return true;
        }
    });
    if (!walked)
        return false;
    // lib3ds computes face normals from the corners as soon as the mesh is read.
    if (m.faceCount > 0 && m.highestCorner >= m.pointCount)
        return fail(c, "has a face corner beyond its points");
    if (m.texelCount != 0 && m.texelCount != m.pointCount)
        return fail(c, "has texture coordinates that are not one per point");
    // Point flags may be any number: lib3ds keeps them in a list of their own
    // length and nothing indexes it by point, and common exporters write
    // fewer flags than points.
    return true;
}

bool ChunkChecker::faceArray(const Chunk& c, MeshArrays& m)
{
    constexpr size_t kFace = 8;  // three corners and a flags word
    if (!countedArray(c, m.faces, m.faceCount, kFace))
        return false;
    const size_t faces = c.payload() + 2;
    for (uint32_t f = 0; f < m.faceCount; ++f)
        for (size_t corner = 0; corner < 3; ++corner)
            m.highestCorner = std::max<uint32_t>(m.highestCorner, u16(faces + f * kFace + corner * 2));
    return children(c, faces + m.faceCount * kFace, [this, &m](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_MSH_MAT_GROUP: return materialGroup(child, m.faceCount);
        case LIB3DS_MSH_BOXMAP: return names(child, 0, 6, kNameBuffer);  // front, back, left, right, top, bottom
        default: return true;
        }
    });
}

bool ChunkChecker::materialGroup(const Chunk& c, uint32_t faceCount)
{
    size_t at = 0;
    if (!name(c, c.payload(), kNameBuffer, at))
        return false;
    if (c.end - at < 2)
        return fail(c, "has no face count");
    const uint32_t count = u16(at);
    at += 2;
    if (c.end - at < count * 2u)
        return fail(c, "holds fewer faces than it announces");
    // lib3ds copies the material name into each listed face without a bounds check.
    for (uint32_t i = 0; i < count; ++i)
        if (u16(at + i * 2) >= faceCount)
            return fail(c, "names a face the mesh does not have");
    return true;
}

bool ChunkChecker::kfdata(const Chunk& c)
{
    uint16_t nodeNumber = 0;
    return children(c, c.payload(), [this, &nodeNumber](const Chunk& child) {
        switch (child.id) {
        case LIB3DS_VIEWPORT_LAYOUT: return flat(child, 14);
        case LIB3DS_DEFAULT_VIEW: return flat(child, 0);
        case LIB3DS_KFHDR: return names(child, 2, 1, 13);  // revision, file name, frame count
        case LIB3DS_AMBIENT_NODE_TAG: case LIB3DS_OBJECT_NODE_TAG: case LIB3DS_CAMERA_NODE_TAG:
        case LIB3DS_TARGET_NODE_TAG: case LIB3DS_LIGHT_NODE_TAG: case LIB3DS_L_TARGET_NODE_TAG:
        case LIB3DS_SPOTLIGHT_NODE_TAG: return node(child, nodeNumber++);
        default: return true;
        }
    });
}

// `number` counts the nodes of this KFDATA chunk from 0: lib3ds takes it as
// the node's id unless a NODE_ID chunk gives another.
bool ChunkChecker::node(const Chunk& c, uint16_t number)
{
    NodeRecord record;
    record.id = number;
    record.offset = c.start;
    std::vector<uint16_t> tracksSeen;
    const bool walked = children(c, c.payload(), [this, &record, &tracksSeen](const Chunk& child) {
        // lib3ds appends a second morph track's keys through a link it only
        // sets while reading the first, and writes through a stale pointer;
        // no writer gives a node two tracks of one kind.
        const bool isTrack = child.id >= LIB3DS_POS_TRACK_TAG && child.id <= LIB3DS_HIDE_TRACK_TAG;
        if (isTrack) {
            if (std::find(tracksSeen.begin(), tracksSeen.end(), child.id) != tracksSeen.end())
                return fail(child, "repeats a track the node already has");
            tracksSeen.push_back(child.id);
        }
        switch (child.id) {
        case LIB3DS_NODE_ID:
            if (child.payloadSize() < 2)
                return fail(child, "is shorter than a node id");
            record.id = u16(child.payload());
            return true;
        case LIB3DS_NODE_HDR: {
            size_t at = 0;
            if (!name(child, child.payload(), kNameBuffer, at))
                return false;
            if (child.end - at < 6)
                return fail(child, "is shorter than its flags and parent id");
            record.parent = u16(at + 4);
            return true;
        }
        case LIB3DS_INSTANCE_NAME: return names(child, 0, 1, kNameBuffer);
        case LIB3DS_POS_TRACK_TAG:
        case LIB3DS_SCL_TRACK_TAG:
        case LIB3DS_COL_TRACK_TAG: return track(child, KeyValue::Vector);
        case LIB3DS_ROT_TRACK_TAG: return track(child, KeyValue::Rotation);
        case LIB3DS_FOV_TRACK_TAG:
        case LIB3DS_ROLL_TRACK_TAG:
        case LIB3DS_HOT_TRACK_TAG:
        case LIB3DS_FALL_TRACK_TAG: return track(child, KeyValue::Float);
        case LIB3DS_HIDE_TRACK_TAG: return track(child, KeyValue::None);
        case LIB3DS_MORPH_TRACK_TAG: return track(child, KeyValue::Name);
        default: return true;
        }
    });
    if (!walked)
        return false;
    nodes_.push_back(record);
    return true;
}

bool ChunkChecker::track(const Chunk& c, KeyValue value)
{
    static constexpr size_t kValueBytes[] = {0, 4, 12, 16, 0};
    if (c.payloadSize() < kTrackHeader)
        return fail(c, "is shorter than a track header");
    const int32_t keys = i32(c.payload() + 10);
    if (keys < 0)
        return fail(c, "announces a negative number of keys");
    size_t at = c.payload() + kTrackHeader;
    int32_t previousFrame = -1;
    for (int32_t k = 0; k < keys; ++k) {
        if (c.end - at < 6)
            return fail(c, "holds fewer keys than it announces");
        const int32_t frame = i32(at);
        const unsigned splineFlags = u16(at + 4) & 0x1f;  // tension, continuity, bias, ease to/from
        at += 6 + 4 * size_t(__builtin_popcount(splineFlags));
        if (value == KeyValue::Name) {
            if (!name(c, at, kMorphNameBuffer, at))
                return false;
        } else {
            at += kValueBytes[int(value)];
            if (at > c.end)
                return fail(c, "holds fewer keys than it announces");
        }
        // lib3ds finds the keys around a frame by walking the list in order;
        // a looping track whose keys share a frame makes it step off the end.
        if (frame < 0 || frame >= kFrameLimit)
            return fail(c, "has a key frame outside 0 to 2^24");
        if (frame <= previousFrame)
            return fail(c, "has key frames that do not increase");
        previousFrame = frame;
    }
    return true;
}

// lib3ds links each node under the node whose id its parent id names,
// recursively and without looking for cycles; a node that is its own
// ancestor sends it into endless recursion.
bool ChunkChecker::nodeHierarchy()
{
    std::unordered_map<uint16_t, uint16_t> parentOf;
    for (const NodeRecord& node : nodes_)
        if (!parentOf.emplace(node.id, node.parent).second)
            return failAt(node.offset, "node id %u is used by more than one node", unsigned(node.id));
    for (const NodeRecord& node : nodes_) {
        uint16_t parent = node.parent;
        for (int depth = 1; parent != LIB3DS_NO_PARENT; ++depth) {
            const auto up = parentOf.find(parent);
            if (up == parentOf.end())
                break;  // lib3ds keeps a node with an unknown parent at the top
            if (depth > kMaxNodeDepth)
                return failAt(node.offset, "node %u has a parent chain that loops or is deeper than %d",
                              unsigned(node.id), kMaxNodeDepth);
            parent = up->second;
        }
    }
    return true;
}

} // namespace

bool check3dsChunks(const uint8_t* data, size_t size, std::string& problem)
{
    return ChunkChecker(data, size).check(problem);
}
