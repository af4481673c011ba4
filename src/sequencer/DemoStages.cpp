// The show's scenes in the order they play, one loading stage each. A row
// stays empty until its scene exists; the list then just holds fewer scenes.
#include "sequencer/Demo.h"

StageTable showStages()
{
    StageTable stages;
    // 0: the opening, playing "intro.script" (ScriptScene).
    // 1: the abstract flowers.
    // 2: the ribbon tunnel (RibbonsScene).
    // 3: the volume metaballs.
    // 4: the shadow room (ShadowScene).
    // 5: the ribbon stack.
    // 6: the flower field.
    // 7: the funk sphere.
    // 8: the fluid (FluidScene), which closes the show.
    return stages;
}
