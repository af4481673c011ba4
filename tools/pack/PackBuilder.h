// Builds a pack file from a data directory: each named file compressed with
// zlib's compress into one entry, the entries concatenated in the given order
// (the show's order is packEntryOrder()). Every name must have its file in
// the directory: a pack that silently lacked an entry would shorten the
// table the program is compiled with, and the show would miss the file only
// when it runs.
#pragma once

#include "pack/PackTable.h"

#include <string>
#include <vector>

struct PackBuild {
    PackTable table;
};

// Writes the pack to `packPath` (replacing it only when the whole pack was
// written) and fills `result`. False, with a message on standard error, when
// a named file is not in `dataDir` (every such name is reported before the
// build gives up), a file cannot be read or compressed, the pack outgrows
// 32-bit offsets, or the pack cannot be written.
bool buildPack(const std::string& dataDir, const std::vector<std::string>& order,
               const std::string& packPath, PackBuild& result);
