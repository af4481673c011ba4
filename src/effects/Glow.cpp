#include "effects/Glow.h"

#include "core/ScreenQuad.h"
#include "core/StateBox.h"
#include "core/TextureUnits.h"
#include "effects/CombinerFilter.h"
#include "effects/CopyScreen.h"
#include "effects/PBuffer.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace {

// `box` grown by `margin` on every side, held inside width x height.
ScreenBox grown(const ScreenBox& box, int margin, int width, int height)
{
    const int x0 = std::max(0, box.x - margin), y0 = std::max(0, box.y - margin);
    const int x1 = std::min(width, box.x + box.width + margin), y1 = std::min(height, box.y + box.height + margin);
    return {x0, y0, x1 - x0, y1 - y0};
}

// The copy's texels on either side of the box's edge are filtered together
// when the copy is stretched: this much black around the box keeps its edge.
constexpr int filterRim = 2;

} // namespace

Glow::Glow(PBuffer* surface, CopyScreen* copy, CombinerFilter* blur, int firstSpread)
    : surface(surface), copy(copy), filter(blur), firstSpread(std::max(firstSpread, 1))
{
}

int Glow::surfaceWidth() const
{
    return surface != nullptr ? surface->width : 0;
}

int Glow::surfaceHeight() const
{
    return surface != nullptr ? surface->height : 0;
}

void Glow::begin()
{
    if (!available())
        return;
    surface->makeCurrent();
    glViewport(0, 0, surface->width, surface->height);
}

void Glow::beginFromCamera(const float (&projection)[16], const float (&modelView)[16])
{
    if (!available())
        return;
    begin();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelView);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Glow::blur(const ScreenBox* within)
{
    if (!available())
        return;
    boxed = within != nullptr;
    {
        const StateBox saved(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_SCISSOR_BIT | GL_TEXTURE_BIT);
        // The filter tints its average by the primary colour.
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        if (boxed) {
            box = *within;
            glScissor(box.x, box.y, box.width, box.height);
            glEnable(GL_SCISSOR_TEST);
        }
        for (int spread : {firstSpread, secondSpread()})
            for (int direction : {CombinerFilter::left, CombinerFilter::right, CombinerFilter::up, CombinerFilter::down}) {
                filter->spread = spread;
                filter->direction = direction;
                filter->update();
            }
        if (boxed) {
            const ScreenBox b = grown(box, filterRim, copy->width, copy->height);
            copy->copyFromScreen(b.x, b.y, b.x, b.y, b.width, b.height);
        } else {
            copy->copyFromScreen(0, 0, 0, 0, -1, -1);
        }
    }
    surface->restore();
}

void Glow::add()
{
    if (!available())
        return;
    const StateBox saved(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_SCISSOR_BIT | GL_TEXTURE_BIT);
    glActiveTexture(GL_TEXTURE0);
    disableTexGen();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (boxed) // black adds nothing: only the box's part of the viewport is drawn
        scissorToStretchedBox(box, copy->width, copy->height);
    copy->drawFullScreen(0, 0, -1, -1);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
}
