#include "effects/TvEffect.h"

#include "effects/TvOffsetGrid.h"

#include <epoxy/gl.h>

TvEffect::TvEffect(ResourceManager* resources, int width, int height) : OffsetWarpFilter(resources, width, height)
{
    registerParam("width", &gridWidth);
    registerParam("height", &gridHeight);
    registerParam("maxn", &maxn);
    loadDescription(resources, "tv.xml");
    interp = &lookUpVar("interp");
    phase = &lookUpVar("t");
}

void TvEffect::finishLoad()
{
    auto texture = std::make_unique<TvOffsetGrid>(gridWidth, gridHeight, maxn);
    tvGrid = texture.get();
    ownGrid(std::move(texture));
    prepareKeys();
}

int TvEffect::update(float localTime)
{
    const float p = phase->evaluate(localTime);
    const float s = interp->evaluate(localTime);
    if (tvGrid != nullptr)
        tvGrid->s = s;
    glColor3f(1, 1, 1);
    if (s > 0.01f)
        OffsetWarpFilter::update(p * 6.0f * 3.14159f);
    return 0;
}
