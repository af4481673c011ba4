#include "effects/CopyScreen.h"

#include "programs/NvExtensions.h"
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
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-(width / 2), width / 2, height / 2, -(height / 2), 0.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
    enable();
    bind();
    // Rectangle textures are addressed in texels, 2-D ones in [0, 1].
    const float s = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(w);
    const float t = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(h);
    const int left = x - w / 2, top = y - h / 2;
    nv::glBegin(GL_QUADS); // combiners may be on
    glTexCoord2f(0, t); glVertex2i(left, top);
    glTexCoord2f(s, t); glVertex2i(left + w, top);
    glTexCoord2f(s, 0); glVertex2i(left + w, top + h);
    glTexCoord2f(0, 0); glVertex2i(left, top + h);
    glEnd();
    disable();
}

void CopyScreen::bind() { glBindTexture(target, texture); }
void CopyScreen::enable() { glEnable(target); }
void CopyScreen::disable() { glDisable(target); }
