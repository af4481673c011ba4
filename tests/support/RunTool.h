// Runs the built glint-tool as a data author would, from a shell, and
// captures what it prints and how it exits.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testsupport {

struct ToolRun {
    int status = -1;     // exit status, -1 when it did not exit normally
    std::string output;  // standard output (and standard error when merged)
};

enum class ToolErrors { merged, dropped };

// `arguments` are already quoted for the shell.
inline ToolRun runGlintTool(const std::string& arguments, ToolErrors errors)
{
    const std::string command = std::string(GLINT_BINARY_DIR) + "/glint-tool " + arguments +
                                (errors == ToolErrors::merged ? " 2>&1" : " 2>/dev/null");
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace testsupport
