// Wall-clock milliseconds for show timing: the stand-in for the C runtime
// clock() of the show's original platform, where it counted real time.
// Linux clock() counts processor time instead, which stands still while the
// process waits, so show code never uses it for timing.
#pragma once

namespace platform {

// Milliseconds of a monotonic clock (fractional); only differences matter.
double wallClockMs();

} // namespace platform
