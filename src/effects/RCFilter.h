// "RCFilter": the picture redrawn through a CombinerFilter running the
// register-combiner text named by "filename", with the taps laid out by
// "type" ("center", "left", "right", "up", "down"; any other word is
// "center") at "spread" texels. "clear" set: the filter copies and clears
// the frame first; else it reads the copy already in "CopyScreen". The
// vars "r", "g", "b", "a" are the primary colour the program may use.
#pragma once

#include "effects/Effect.h"

#include <memory>
#include <string>

class CombinerFilter;

class RCFilter : public Effect {
public:
    RCFilter(ResourceManager* resources, int width, int height);
    ~RCFilter() override;

    int update(float localTime) override;
    void finishLoad() override;

    std::string type = "center";
    int spread = 1;
    int clear = 1;
    std::string filename;
    std::unique_ptr<CombinerFilter> filter;

private:
    int width;
    int height;
    EffectVar* r = nullptr;
    EffectVar* g = nullptr;
    EffectVar* b = nullptr;
    EffectVar* a = nullptr;
};
