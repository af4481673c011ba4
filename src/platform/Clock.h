// The show's clocks. The frame loop times live runs with the performance
// counter; the pause before the first frame, the music's position smoothing
// and a few bounded waits use a wall-clock millisecond count, which on the
// show's home platform is what the C runtime's clock() returns (real time
// since the process started). Linux clock() counts CPU time instead, which
// stands still while the process waits, so the show never calls it.
#pragma once

#include <cstdint>

namespace platform {

// A monotonic tick count and its ticks per second.
uint64_t performanceCounter();
uint64_t performanceFrequency();

// Wall-clock milliseconds since the process started: monotonic, with
// fractions of a millisecond.
double wallClockMs();

// Sleeps the calling thread.
void sleepMilliseconds(int milliseconds);

} // namespace platform
