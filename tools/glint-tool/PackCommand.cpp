// glint-tool pack DATADIR OUT.pack OUT-table.cpp: builds a pack file of the
// show's 98 entries from a data directory, with its directory table as C++
// source (the build does the same with glint-pack). A data directory that
// lacks any of them makes no pack.
#include "glint-tool/ToolCommand.h"
#include "pack/PackBuilder.h"
#include "pack/PackOrder.h"
#include "pack/PackTableSource.h"

#include <cstdio>

namespace {

int runPack(const tool::Args& args)
{
    if (args.size() != 3)
        return tool::usageError("pack");
    PackBuild build;
    if (!buildPack(args[0], packEntryOrder(), args[1], build) || !writePackTableSource(build.table, args[2]))
        return 1;
    std::printf("%d entries, %lld bytes packed\n", build.table.size(), static_cast<long long>(build.table.packedTotal()));
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("pack", "pack DATADIR OUT.pack OUT-table.cpp - build a pack file and its directory table",
                   runPack);
