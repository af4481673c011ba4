#include "effects/JitterTexture.h"

#include "core/ShowMath.h"

#include <algorithm>
#include <cstdlib>

void JitterTexture::regenerate(float time)
{
    const float dt = clockRunning ? time - lastTime : 0.0f;
    lastTime = time;
    clockRunning = true;
    const float d = static_cast<float>(strength) * 0.0005f;
    for (float& component : offsets)
        component = strength != 0 ? show::remap(static_cast<float>(std::rand() % 1000), 0.0f, 900.0f, -d, d) : 0.0f;
    // A long frame may decay past zero: the shake is then over, not negative.
    strength = strength < 2 ? 0 : std::max(0, static_cast<int>(static_cast<float>(strength) - dt * decayRate * 250.0f));
    uploadOffsets();
}

void JitterTexture::start(int newStrength, float newDecayRate)
{
    strength = newStrength;
    decayRate = newDecayRate;
    // The texture is regenerated only while a shake runs: the time since the
    // last shake must not count against this one.
    clockRunning = false;
}
