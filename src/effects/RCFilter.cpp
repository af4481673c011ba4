#include "effects/RCFilter.h"

#include "effects/CombinerFilter.h"
#include "effects/SharedKeys.h"

#include <epoxy/gl.h>


RCFilter::RCFilter(ResourceManager* resources, int width, int height)
    : Effect(resources), width(width), height(height)
{
    registerParam("type", &type);
    registerParam("spread", &spread);
    registerParam("clear", &clear);
    registerParam("filename", &filename);
    loadDescription(resources, "rcfilter.xml");
    r = &lookUpVar("r");
    g = &lookUpVar("g");
    b = &lookUpVar("b");
    a = &lookUpVar("a");
}

RCFilter::~RCFilter() = default;

void RCFilter::finishLoad()
{
    filter = std::make_unique<CombinerFilter>(resources, shared::copyScreen, width, height);
    filter->spread = spread;
    filter->takeCopy = clear != 0;
    if (!filename.empty())
        filter->loadProgramFile(filename.c_str());
    static const char* const directions[] = {"center", "left", "right", "up", "down"};
    for (int d = 0; d < 5; ++d)
        if (type == directions[d])
            filter->direction = d;
    prepareKeys();
}

int RCFilter::update(float localTime)
{
    if (filter == nullptr)
        return 0;
    glDisable(GL_DEPTH_TEST);
    glColor4f(r->evaluate(localTime), g->evaluate(localTime), b->evaluate(localTime), a->evaluate(localTime));
    filter->update();
    return 0;
}
