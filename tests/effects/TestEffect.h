// An effect for tests: one parameter of every type, a record of the times
// the timeline drives it with, and description text read from memory.
#pragma once

#include "effects/Effect.h"

#include <cstring>
#include <string>
#include <vector>

class TestEffect : public Effect {
public:
    TestEffect() : Effect(nullptr)
    {
        registerParam("count", &count);
        registerParam("speed", &speed);
        registerParam("axis", &axis);
        registerParam("colour", &colour);
        registerParam("caption", &caption);
    }

    // Reads a description given as text.
    void describe(const char* xml)
    {
        readDescription(reinterpret_cast<const uint8_t*>(xml), std::strlen(xml));
    }

    int update(float localTime) override
    {
        updates.push_back(localTime);
        return 0;
    }
    int advance(float localTime) override
    {
        advances.push_back(localTime);
        return 0;
    }

    int count = 0;
    float speed = 0.0f;
    float axis[3] = {0, 0, 0};
    float colour[4] = {0, 0, 0, 0};
    std::string caption;
    std::vector<float> updates;
    std::vector<float> advances;
};

// The description every TestEffect of the timeline tests reads.
inline const char* testEffectDescription()
{
    return "<effect>"
           "<value name=\"count\" type=\"int\" default=\"0\"/>"
           "<value name=\"speed\" type=\"float\"/>"
           "<value name=\"axis\" type=\"array3\"/>"
           "<value name=\"colour\" type=\"array4\"/>"
           "<value name=\"caption\" type=\"string\"/>"
           "<var name=\"x\" default=\"0.5\" min=\"0\" max=\"2\"/>"
           "<var name=\"y\"/>"
           "</effect>";
}
