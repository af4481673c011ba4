// A clean stop for runs nobody can type Escape into: SIGINT, SIGTERM and
// SIGHUP (a closed terminal) are caught and only recorded; the frame loop
// treats a recorded stop like the Escape key, so the window and the show are
// torn down in the normal order and a running capture is completed.
//
// Stop signals that follow the first within two seconds belong to the same
// stop (coreutils `timeout` sends SIGINT to the process and then to its
// group, a few milliseconds apart) and are only recorded too. One that comes
// later takes its default action, so a run that no longer reaches its loop
// can still be interrupted; holdStopSignals() keeps even that away while a
// file is being completed.
#pragma once

#include <csignal>

namespace platform {

void installStopSignalHandlers();
// Whether a stop signal arrived since the handlers were installed.
bool stopRequested();
// Forgets a recorded stop (a run that reuses the process starts afresh).
void clearStopRequest();

// Holds back the stop signals for as long as it lives; those that arrived
// meanwhile are delivered when it ends.
class StopSignalHold {
public:
    StopSignalHold();
    ~StopSignalHold();
    StopSignalHold(const StopSignalHold&) = delete;
    StopSignalHold& operator=(const StopSignalHold&) = delete;

private:
    sigset_t previous_;
    bool held_ = false;
};

} // namespace platform
