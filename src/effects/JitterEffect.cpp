#include "effects/JitterEffect.h"

#include "effects/JitterTexture.h"

#include <epoxy/gl.h>

JitterEffect::JitterEffect(ResourceManager* resources, int width, int height)
    : OffsetWarpFilter(resources, width, height)
{
    registerParam("width", &gridWidth);
    registerParam("height", &gridHeight);
    registerParam("divAmt", &divAmt);
    loadDescription(resources, "jitter.xml");
    jitter = &lookUpVar("jitter");
}

void JitterEffect::finishLoad()
{
    // The effect's own texture does not decay: "jitter" drives it alone.
    auto texture = std::make_unique<JitterTexture>(gridWidth, gridHeight);
    texture->strength = divAmt;
    ownGrid(std::move(texture));
    prepareKeys();
}

int JitterEffect::update(float localTime)
{
    const float j = jitter->evaluate(localTime);
    glColor3f(1, 1, 1);
    if (j > 0.01f)
        OffsetWarpFilter::update(j);
    return 0;
}
