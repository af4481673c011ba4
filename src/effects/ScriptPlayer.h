// "ScriptPlayer": a whole script played as one effect of another script.
// The string parameter "filename" names the nested script (a path under
// "data/", read as that data file from either source); the var "t" is the
// playback position, 0 at the start and 1 at the nested script's last event. Without keys of its own, "t" runs linearly from
// 0 at local time 0 to 1 at the time of that last event, so the nested
// script plays at its own pace.
//
// The nested timeline and its effects belong to the player. Scripts may nest
// players only a few levels deep: a script that plays itself stops there.
#pragma once

#include "effects/Effect.h"
#include "effects/EffectFactory.h"
#include "effects/ScriptTimeline.h"

#include <memory>
#include <string>

class ScriptPlayer : public Effect {
public:
    static constexpr int maxNesting = 8;

    // `factory` builds the nested script's effects.
    ScriptPlayer(ResourceManager* resources, EffectFactory factory);

    int update(float localTime) override;
    int advance(float localTime) override;
    // Loads the nested script, keys "t" when the script did not, and
    // prepares every var's keys.
    void finishLoad() override;

    std::string filename;
    std::unique_ptr<ScriptTimeline> nested;

private:
    float nestedTime(float localTime) const;
    std::unique_ptr<ScriptTimeline> loadNestedScript() const;

    EffectFactory factory;
    EffectVar* t = nullptr;
};
