// Reading entries of the pack file "pmx.d" through its directory table.
//
// Every failure shows a message box and gives an empty result: a name not in
// the table ("Pack file not found", text = the name), a pack that cannot be
// opened ("Cannot Find Packfile", text = the pack's path) and an entry that
// does not unpack to exactly its table size ("Error Unpacking", text = the
// name). Rows that point outside the pack, or claim more bytes than zlib can
// make of the entry, count as entries that do not unpack, so a corrupt pack or
// table never makes the reader allocate or read beyond what is there.
#pragma once

#include "resources/PackDirectory.h"
#include "resources/ResourceManager.h"

// The unpacked entry `name` (first row matching it ignoring case) from the
// pack at `packPath`, followed by two zero bytes.
FileBytes readPackEntry(const char* packPath, const PackDirectory& directory, const char* name);

// Unpacks `row`'s zlib stream, the `row.packedSize` bytes at `packed`; `name`
// is the text of the message.
FileBytes unpackEntry(const unsigned char* packed, const PackEntry& row, const char* name);

// Whether `row` lies inside a pack of `packSize` bytes and its sizes are
// possible for a zlib stream.
bool packRowIsSound(const PackEntry& row, long packSize);
