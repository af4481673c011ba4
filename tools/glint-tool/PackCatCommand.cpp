// glint-tool pack-cat PACK NAME [--table FILE]: writes one entry's unpacked
// bytes to standard output, read the way the show reads the pack (name
// ignoring case, first match); failures show the show's messages.
#include "glint-tool/PackTableOption.h"
#include "glint-tool/ToolCommand.h"
#include "resources/PackFile.h"

#include <cstdio>

namespace {

int runPackCat(const tool::Args& args)
{
    tool::PackTableChoice table;
    if (!tool::choosePackTable(args, table))
        return 1;
    if (table.positional.size() != 2)
        return tool::usageError("pack-cat");
    FileBytes entry = readPackEntry(table.positional[0].c_str(), table.directory, table.positional[1].c_str());
    if (!entry)
        return 1;
    size_t size = static_cast<size_t>(entry.size);
    if (std::fwrite(entry.data.get(), 1, size, stdout) != size || std::fflush(stdout) != 0)
        return 1;
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("pack-cat", "pack-cat PACK NAME [--table FILE] - write an entry's bytes to standard output",
                   runPackCat);
