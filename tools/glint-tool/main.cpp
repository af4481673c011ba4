// glint-tool: inspects and builds the show's data. The commands register
// themselves (ToolCommand.h); this file only dispatches by name.
#include "glint-tool/ToolCommand.h"

#include <cstdio>
#include <cstring>

namespace tool {

static std::vector<Command>& table()
{
    static std::vector<Command> all;
    return all;
}

bool registerCommand(const Command& command)
{
    table().push_back(command);
    return true;
}

const std::vector<Command>& commands() { return table(); }

int usageError(const char* name)
{
    for (const Command& c : table())
        if (std::strcmp(c.name, name) == 0)
            std::fprintf(stderr, "usage: glint-tool %s\n", c.usage);
    return 2;
}

} // namespace tool

static void printUsage(FILE* out)
{
    std::fprintf(out, "usage: glint-tool COMMAND [ARGUMENTS]\ncommands:\n");
    for (const tool::Command& c : tool::commands())
        std::fprintf(out, "  %s\n", c.usage);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage(stdout);
        return 0;
    }
    for (const tool::Command& c : tool::commands()) {
        if (std::strcmp(c.name, argv[1]) == 0)
            return c.run(tool::Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "glint-tool: unknown command '%s'\n", argv[1]);
    printUsage(stderr);
    return 2;
}
