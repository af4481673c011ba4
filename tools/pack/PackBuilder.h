// Builds a pack file from a data directory: each named file compressed with
// zlib's compress into one entry, the entries concatenated in the given order
// (the show's order is packEntryOrder()). A name with no regular file in the
// directory is reported on standard error and left out: the table gets no row
// for it and the next entry starts where the previous one ended.
#pragma once

#include "pack/PackTable.h"

#include <string>
#include <vector>

struct PackBuild {
    PackTable table;
    std::vector<std::string> missing;   // names left out, each once
};

// Writes the pack to `packPath` (replacing it only when the whole pack was
// written) and fills `result`. False, with a message on standard error, when
// a file cannot be read or compressed, the pack outgrows 32-bit offsets, or
// the pack cannot be written.
bool buildPack(const std::string& dataDir, const std::vector<std::string>& order,
               const std::string& packPath, PackBuild& result);
