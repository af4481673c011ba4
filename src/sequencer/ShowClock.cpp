#include "sequencer/ShowClock.h"

#include "platform/Clock.h"

double ShowClock::nextFrame(bool capturing)
{
    if (capturing || onFrames) {
        lastFrameTime = static_cast<double>(framesCounted) / framesPerSecond;
        ++framesCounted;
    } else {
        if (counterStart == 0)
            startCounter();
        lastFrameTime = counterSeconds();
    }
    return lastFrameTime;
}

float ShowClock::showTime(float clock, float sceneStart) const
{
    // Summed in this order so a run plays the same frames it always did.
    return clock + offset + switchMark - sceneStart;
}

void ShowClock::jumpTo(float clock, float sceneStart, float target)
{
    switchMark = target - clock - offset + sceneStart;
}

void ShowClock::startCounter()
{
    counterStart = platform::performanceCounter();
}

float ShowClock::counterSeconds() const
{
    if (counterStart == 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(platform::performanceCounter() - counterStart) /
                              static_cast<double>(platform::performanceFrequency()));
}
