// The show's entry: seeds the random generator with 1, fixes the settings
// from the switches (or the settings dialog when there are none and a screen
// exists), opens the window, runs it and tears it down.
#pragma once

#include "shell/ProgramOptions.h"

namespace shell {

// The title of the show's window.
extern const char* const showTitle;

// Runs the show; returns the process exit code: 0 also when the window of a
// live show could not be opened or the dialog was cancelled, 1 when a run
// asked to make something (a capture from the start, shots, benchmarks)
// could not start, or its capture failed.
int showMain(const ProgramOptions& options);

} // namespace shell
