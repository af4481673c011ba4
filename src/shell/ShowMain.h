// The show's entry: seeds the random generator with 1, fixes the settings
// from the switches (or the settings dialog when there are none and a screen
// exists), opens the window, runs it and tears it down.
#pragma once

#include "shell/ProgramOptions.h"

namespace shell {

// The title of the show's window.
extern const char* const showTitle;

// Runs the show; returns the process exit code (0 also when the window could
// not be opened or the dialog was cancelled).
int showMain(const ProgramOptions& options);

} // namespace shell
