// An effect for the fuzz targets: one parameter of every type and two vars,
// and an update that reads its vars, so everything a script or description
// can reach gets exercised without a GL context.
#pragma once

#include "effects/Effect.h"

#include <cstring>
#include <string>

class FuzzEffect : public Effect {
public:
    FuzzEffect() : Effect(nullptr)
    {
        registerParam("count", &count);
        registerParam("speed", &speed);
        registerParam("axis", &axis);
        registerParam("colour", &colour);
        registerParam("caption", &caption);
    }

    void describeDefaults()
    {
        static const char xml[] =
            "<effect><value name=\"count\" type=\"int\"/><value name=\"speed\" type=\"float\"/>"
            "<value name=\"axis\" type=\"array3\"/><value name=\"colour\" type=\"array4\"/>"
            "<value name=\"caption\" type=\"string\"/>"
            "<var name=\"x\" min=\"-1\" max=\"2\"/><var name=\"y\"/></effect>";
        readDescription(reinterpret_cast<const uint8_t*>(xml), sizeof xml - 1);
    }

    int update(float localTime) override
    {
        for (const auto& var : vars)
            sum += var.second->evaluate(localTime);
        return 0;
    }

    int count = 0;
    float speed = 0.0f;
    float axis[3] = {};
    float colour[4] = {};
    std::string caption;
    float sum = 0.0f;
};
