// glint-tool's commands. Each command lives in its own file and registers
// itself with a static GLINT_TOOL_COMMAND, so adding a command never touches
// the dispatcher. A command gets the arguments after its name and returns the
// process exit code: 0 on success, 1 when its input is bad, 2 on wrong usage.
#pragma once

#include <string>
#include <vector>

namespace tool {

using Args = std::vector<std::string>;
using CommandFunction = int (*)(const Args& args);

struct Command {
    const char* name;
    const char* usage;   // one line: "NAME ARGUMENTS - what it does"
    CommandFunction run;
};

// Adds a command to the table; returns true so it can initialise a static.
bool registerCommand(const Command& command);
const std::vector<Command>& commands();

// Prints "glint-tool: <usage of name>" to standard error and returns 2.
int usageError(const char* name);

} // namespace tool

#define GLINT_TOOL_CONCAT2(a, b) a##b
#define GLINT_TOOL_CONCAT(a, b) GLINT_TOOL_CONCAT2(a, b)
#define GLINT_TOOL_COMMAND(name, usage, function) \
    static const bool GLINT_TOOL_CONCAT(registered_, __LINE__) = \
        tool::registerCommand(tool::Command{name, usage, function})
