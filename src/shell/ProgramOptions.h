// The program's Linux command line. Arguments that start with "--" are the
// program's own options (--help, --version, --headless); all other arguments
// are joined with single blanks into the one command-line string that holds
// the show's "/"-separated switches (ShowSettings.h). No arguments at all
// make an empty command line, which asks for the settings dialog.
#pragma once

#include <cstdio>
#include <string>

namespace shell {

struct ProgramOptions {
    bool headless = false;   // render without a screen even if one exists
    std::string commandLine; // the show's switches
};

struct OptionsOutcome {
    bool run = true;     // false: the program ends with `exitStatus` at once
    int exitStatus = 0;  // 0 after --help / --version, 2 after a wrong option
};

// Reads argv[1..argc-1] into `options`. --help and --version print to `out`;
// an unknown option prints a one-line error and the usage to `err`.
OptionsOutcome parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options, std::FILE* out,
                                   std::FILE* err);

} // namespace shell
