// A clean stop for runs nobody can type Escape into: SIGINT and SIGTERM are
// caught and only recorded; the frame loop treats a recorded stop like the
// Escape key, so the window and the show are torn down in the normal order.
// A second signal of the same kind after the first takes its default action,
// so a run that no longer reaches its loop can still be interrupted.
#pragma once

namespace platform {

void installStopSignalHandlers();
// Whether SIGINT or SIGTERM arrived since the handlers were installed.
bool stopRequested();
// Forgets a recorded stop (a run that reuses the process starts afresh).
void clearStopRequest();

} // namespace platform
