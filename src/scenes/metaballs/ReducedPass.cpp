#include "scenes/metaballs/ReducedPass.h"

#include "core/ScreenQuad.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <algorithm>

void ReducedPass::begin()
{
    glGetIntegerv(GL_VIEWPORT, viewport);
    width = std::max(1, viewport[2] / divisor);
    height = std::max(1, viewport[3] / divisor);
    glViewport(viewport[0], viewport[1], width, height);
}

void ReducedPass::end()
{
    if (!texture)
        texture = createTexture(GL_TEXTURE_RECTANGLE);
    glBindTexture(GL_TEXTURE_RECTANGLE, texture.get());
    if (width != textureWidth || height != textureHeight) {
        glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        textureWidth = width;
        textureHeight = height;
    }
    glCopyTexSubImage2D(GL_TEXTURE_RECTANGLE, 0, 0, 0, viewport[0], viewport[1], width, height);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);

    nv::glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_RECTANGLE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // y up, as the copy's rows run.
    setOrthoBox(0, 1, 0, 1, 0, 1);
    drawQuad({0, 0, 1, 1}, {0, 0, float(width), float(height)});
    glDisable(GL_TEXTURE_RECTANGLE);
}
