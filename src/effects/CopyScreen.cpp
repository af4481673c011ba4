#include "effects/CopyScreen.h"

#include "core/ScreenQuad.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

CopyScreen::CopyScreen(int width, int height, bool compressed)
    : width(width), height(height), target(resources::textureTargetFor(width, height))
{
    glGenTextures(1, &texture);
    glBindTexture(target, texture);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GLint internalFormat = compressed ? GL_COMPRESSED_RGB_S3TC_DXT1_EXT : GL_RGB;
    glTexImage2D(target, 0, internalFormat, width, height, 0, GL_RGB, GL_FLOAT, nullptr);
}

CopyScreen::~CopyScreen()
{
    glDeleteTextures(1, &texture);
}

void CopyScreen::copyFromScreen(int xOffset, int yOffset, int x, int y, int w, int h)
{
    bind();
    if (w == -1)
        w = width;
    if (h == -1)
        h = height;
    glCopyTexSubImage2D(target, 0, xOffset, yOffset, x, y, w, h);
}

void CopyScreen::drawFullScreen(int x, int y, int w, int h)
{
    if (w == -1)
        w = width;
    if (h == -1)
        h = height;
    setOrthoBox(-(width / 2), width / 2, height / 2, -(height / 2), 0.0, 10.0);
    glTranslatef(0.0f, 0.0f, -1.0f);
    enable();
    bind();
    // Rectangle textures are addressed in texels, 2-D ones in [0, 1].
    const float s = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(w);
    const float t = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(h);
    const int left = x - w / 2, top = y - h / 2;
    drawQuad({float(left), float(top), float(left + w), float(top + h)}, {0, t, s, 0}); // combiners may be on
    disable();
}

void CopyScreen::drawStretched(int x, int y, int w, int h)
{
    setOrthoBox(0, width, height, 0, 0.0, 10.0);
    glTranslatef(0.0f, 0.0f, -1.0f);
    enable();
    bind();
    const float s = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(width);
    const float t = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(height);
    drawQuad({float(x), float(y), float(x + w), float(y + h)}, {0, t, s, 0});
    disable();
}

void CopyScreen::bind() { glBindTexture(target, texture); }
void CopyScreen::enable() { glEnable(target); }
void CopyScreen::disable() { glDisable(target); }
