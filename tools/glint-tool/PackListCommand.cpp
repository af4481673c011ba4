// glint-tool pack-list PACK [--table FILE]: lists the rows of the pack's
// directory table and checks that the pack file is as long as they say.
#include "glint-tool/PackTableOption.h"
#include "glint-tool/ToolCommand.h"
#include "resources/DataFile.h"

#include <cstdio>

namespace {

int runPackList(const tool::Args& args)
{
    tool::PackTableChoice table;
    if (!tool::choosePackTable(args, table))
        return 1;
    if (table.positional.size() != 1)
        return tool::usageError("pack-list");
    const std::string& packPath = table.positional[0];

    long long total = 0;
    std::printf("%-5s %-24s %10s %10s %10s\n", "entry", "name", "offset", "packed", "unpacked");
    for (int i = 0; i < table.directory.count; ++i) {
        const PackEntry& row = table.directory.entries[i];
        std::printf("%5d %-24s %10d %10d %10d\n", i, row.name, row.offset, row.packedSize, row.unpackedSize);
        total += row.packedSize;
    }
    long packSize = 0;
    FILE* pack = openDataFile(packPath.c_str(), packSize);
    if (!pack) {
        std::fprintf(stderr, "cannot read %s\n", packPath.c_str());
        return 1;
    }
    std::fclose(pack);
    if (packSize != total) {
        std::fprintf(stderr, "%s is %ld bytes, its table covers %lld: they do not belong together\n",
                     packPath.c_str(), packSize, total);
        return 1;
    }
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("pack-list", "pack-list PACK [--table FILE] - list a pack file's entries", runPackList);
