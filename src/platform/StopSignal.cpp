#include "platform/StopSignal.h"

#include <csignal>
#include <ctime>

namespace platform {

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};
// Signals this soon after the first are part of the same stop.
constexpr long sameStopSeconds = 2;

volatile std::sig_atomic_t stopSignalled = 0;
volatile std::sig_atomic_t firstStopSecond = 0;   // monotonic clock, whole seconds

long monotonicSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);   // safe in a signal handler
    return static_cast<long>(now.tv_sec);
}

extern "C" void recordStop(int signal)
{
    const long now = monotonicSeconds();
    if (!stopSignalled) {
        firstStopSecond = static_cast<std::sig_atomic_t>(now);
        stopSignalled = 1;
    } else if (now - firstStopSecond >= sameStopSeconds) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

sigset_t stopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : stopSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace

void installStopSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = recordStop;
    action.sa_mask = stopSignalSet();   // one stop signal at a time
    for (int signal : stopSignals)
        sigaction(signal, &action, nullptr);
}

bool stopRequested() { return stopSignalled != 0; }

void clearStopRequest() { stopSignalled = 0; }

StopSignalHold::StopSignalHold()
{
    const sigset_t set = stopSignalSet();
    held_ = sigprocmask(SIG_BLOCK, &set, &previous_) == 0;
}

StopSignalHold::~StopSignalHold()
{
    if (held_)
        sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace platform
