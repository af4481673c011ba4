// The structure check that every 3DS file passes before lib3ds reads it.
//
// lib3ds trusts its input: it follows chunk lengths wherever they point,
// loops forever on a chunk of length 0, indexes arrays with the face and
// material-group numbers it finds, recurses through node parents without
// looking for cycles and follows key lists that it assumes are sorted. It
// also keeps a process-wide string of its chunk depth that a read failing
// part-way leaves too long, so that a few failed reads later it overflows
// and aborts the process. This check walks the chunk tree the way lib3ds
// walks it and refuses a file unless
//   - it is one M3DMAGIC chunk, and every chunk lies within its parent and
//     the file and is at least a header long (a chunk id of 0 ends its
//     parent, as it does for lib3ds);
//   - every chunk that lib3ds descends into is walked with the header size
//     lib3ds reads, down to the fixed depth of the 3DS chunk grammar (six);
//     chunks it does not know are skipped by length, as lib3ds skips them;
//   - every name lib3ds reads ends inside its chunk and fits lib3ds' buffer,
//     and a background gradient has at most three colours of each kind;
//   - each mesh has at most one point, flag, texel and face array, each
//     complete within its chunk; every face names existing points, flags and
//     texture coordinates are absent or one per point, and every
//     material-group entry names an existing face;
//   - each key-frame track holds the keys it announces, with frames from 0
//     up to 2^24 in strictly increasing order;
//   - key-frame nodes have unique ids (a node without a NODE_ID chunk takes
//     its place among the nodes, as lib3ds numbers them) and a parent chain
//     without cycles, at most kMaxNodeDepth deep.
// A file that passes is one lib3ds reads to the end and can evaluate at any
// finite frame, and scene code may index mesh points and texels by face
// corners.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kMaxNodeDepth = 256;

// True when `data` holds a 3DS file lib3ds may read; otherwise false with a
// one-line reason (naming the offending chunk and its offset) in `problem`.
bool check3dsChunks(const uint8_t* data, size_t size, std::string& problem);
