#include "platform/Clock.h"

#include <SDL.h>

#include <chrono>
#include <thread>

namespace platform {

namespace {

// Taken during static initialisation, i.e. before main runs.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();

} // namespace

uint64_t performanceCounter() { return SDL_GetPerformanceCounter(); }

uint64_t performanceFrequency() { return SDL_GetPerformanceFrequency(); }

double wallClockMs()
{
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - processStart;
    return elapsed.count();
}

void sleepMilliseconds(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
