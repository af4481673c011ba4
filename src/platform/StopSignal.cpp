#include "platform/StopSignal.h"

#include <csignal>

namespace platform {

namespace {

volatile std::sig_atomic_t stopSignalled = 0;

extern "C" void recordStop(int) { stopSignalled = 1; }

} // namespace

void installStopSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = recordStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested() { return stopSignalled != 0; }

void clearStopRequest() { stopSignalled = 0; }

} // namespace platform
