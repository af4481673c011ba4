#include "scenes/shared/VisibleBand.h"

#include "effects/KeyEffects.h"
#include "effects/SharedKeys.h"
#include "resources/ResourceManager.h"

const KeyEffects* showAccents(ResourceManager& resources)
{
    return dynamic_cast<const KeyEffects*>(resources.get(shared::keyEffects));
}

void scissorToVisibleBand(const KeyEffects* accents)
{
    if (accents != nullptr && accents->movesPixels())
        return;
    scissorToStretchedBox(visibleBand, virtualScreenWidth, virtualScreenHeight);
}
