// The loop the window runs until the show's frame loop takes its place: it
// handles messages, and between them clears the screen to black and presents
// it, until Escape, F2, a stop signal or closing the window.
#pragma once

namespace shell {

// Returns the exit code of the run: the quit code when the window was closed,
// otherwise 0.
int runBlankLoop();

} // namespace shell
