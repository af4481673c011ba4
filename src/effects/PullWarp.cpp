#include "effects/PullWarp.h"

#include "effects/CopyScreen.h"
#include "effects/SharedKeys.h"
#include "effects/WarpGrid.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <cstdio>

PullWarp::PullWarp(ResourceManager* resources) : Effect(resources)
{
    if (resources != nullptr) {
        grid = resources->get(shared::pullWarp);
        copy = resources->get(shared::copyScreenb);
    }
    if (grid == nullptr || copy == nullptr)
        std::fprintf(stderr, "PullWarp: no warp grid or screen copy, the effect draws nothing\n");
    registerParam("clear", &clear);
    loadDescription(resources, "pullwarp.xml");
    pull = &lookUpVar("pull");
    alpha = &lookUpVar("alpha");
}

int PullWarp::update(float localTime)
{
    const float p = pull->evaluate(localTime);
    const float a = alpha->evaluate(localTime);
    if (p <= 0.001f || a <= 0.001f || grid == nullptr || copy == nullptr)
        return 0;
    copy->copyFromScreen(0, 0, 0, 0, -1, -1);
    applyBlend();
    if (clear != 0)
        glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, a);
    glLoadIdentity();
    copy->enable();
    copy->bind();
    grid->strength = 2.0f * p;
    grid->update(localTime);
    copy->disable();
    return 0;
}
