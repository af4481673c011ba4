// "LetterBox": black bars over the top and bottom of the picture. The var
// "CutAmtY" is the height of each bar as a fraction of the screen height (0
// shows nothing, 0.5 covers everything); "CutAmtX" is declared by the
// description but does not change the picture.
//
// Draws with blending off, in a unit box over the whole viewport; sets the
// projection and model-view matrices.
#pragma once

#include "effects/Effect.h"

class LetterBox : public Effect {
public:
    explicit LetterBox(ResourceManager* resources);
    int update(float localTime) override;

private:
    EffectVar* cutAmtY = nullptr;
};
