// glint-pack DATADIR OUT.pack OUT-table.cpp: the build's pack step. It makes
// the pack and the directory table compiled into the engine, so it cannot be
// a glint-tool command (glint-tool links the engine); `glint-tool pack` runs
// the same builder.
#include "pack/PackBuilder.h"
#include "pack/PackOrder.h"
#include "pack/PackTableSource.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: glint-pack DATADIR OUT.pack OUT-table.cpp\n");
        return 2;
    }
    PackBuild build;
    if (!buildPack(argv[1], packEntryOrder(), argv[2], build) || !writePackTableSource(build.table, argv[3]))
        return 1;
    return 0;
}
