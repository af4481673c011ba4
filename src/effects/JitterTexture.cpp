#include "effects/JitterTexture.h"

#include "core/ShowMath.h"

#include <cstdlib>

void JitterTexture::regenerate(float time)
{
    const float dt = lastTime != 0.0f ? time - lastTime : 0.0f;
    lastTime = time;
    const float d = static_cast<float>(strength) * 0.0005f;
    for (float& component : offsets)
        component = strength != 0 ? show::remap(static_cast<float>(std::rand() % 1000), 0.0f, 900.0f, -d, d) : 0.0f;
    strength = strength < 2 ? 0 : static_cast<int>(static_cast<float>(strength) - dt * decayRate * 250.0f);
    uploadOffsets();
}
