// The directory of the pack file "pmx.d". The pack has no directory of its
// own: its rows live in a table compiled into the program, generated together
// with the pack from the same data directory, so the two always agree. Entry i
// starts where entry i-1 ends; each entry is one zlib stream of one data file.
//
// Names are looked up ignoring letter case, in row order; the first match
// wins (the table may hold a name twice).
#pragma once

#include <cstdint>

struct PackEntry {
    const char* name;
    int32_t offset;        // byte offset of the zlib stream in the pack
    int32_t packedSize;    // bytes of the zlib stream
    int32_t unpackedSize;  // bytes of the data file
};

struct PackDirectory {
    const PackEntry* entries = nullptr;
    int count = 0;

    // The first row whose name equals `name` ignoring ASCII letter case, or null.
    const PackEntry* find(const char* name) const;
};

// The table built with the program from build/data (a generated source).
const PackDirectory& builtInPackDirectory();
