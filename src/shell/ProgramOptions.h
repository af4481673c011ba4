// The program's Linux command line. Arguments that start with "--" are the
// program's own options (--help, --version, --headless, --pack, --author,
// --codec, --shot, --bench); all other arguments are joined with single blanks into the one
// command-line string that holds the show's "/"-separated switches
// (ShowSettings.h). No arguments at all make an empty command line, which
// asks for the settings dialog.
//
// Every option is checked here, before anything runs: a codec the capture
// cannot write, a malformed shot or frame count is a usage error.
#pragma once

#include "shell/ShotRequest.h"

#include <cstdio>
#include <string>
#include <vector>

namespace shell {

struct ProgramOptions {
    bool headless = false;   // render without a screen even if one exists
    bool pack = false;       // data from the pack file instead of data/
    bool author = false;     // author mode: keys to move about, on-screen line, reload
    std::string commandLine; // the show's switches
    std::string codec = "mjpeg";  // of video captures
    // Pictures to save on the capture clock, in the order given; the run
    // ends after the last.
    std::vector<ShotRequest> shots;
    int benchFrames = 0;     // > 0: time every scene for that many frames
};

struct OptionsOutcome {
    bool run = true;     // false: the program ends with `exitStatus` at once
    int exitStatus = 0;  // 0 after --help / --version, 2 after a wrong option
};

// Reads argv[1..argc-1] into `options`. --help and --version print to `out`;
// an unknown or malformed option prints a one-line error and the usage to
// `err`.
OptionsOutcome parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options, std::FILE* out,
                                   std::FILE* err);

} // namespace shell
