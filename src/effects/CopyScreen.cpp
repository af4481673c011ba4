#include "effects/CopyScreen.h"

#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

namespace {

// Copies the read buffer's rectangle (x0, y0)-(x1, y1) into the texture's
// rectangle at (xOffset, yOffset) of size w x h, scaled with linear
// filtering. Scissor and the draw framebuffer are put back.
void blitIntoTexture(unsigned target, unsigned texture, int xOffset, int yOffset, int w, int h, int x0, int y0,
                     int x1, int y1)
{
    GLint drawFramebuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawFramebuffer);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target, texture, 0);
    glDisable(GL_SCISSOR_TEST);
    glBlitFramebuffer(x0, y0, x1, y1, xOffset, yOffset, xOffset + w, yOffset + h, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawFramebuffer));
    glDeleteFramebuffers(1, &framebuffer);
}

} // namespace

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
    // Copies are laid out on the virtual screen. A larger screen (a bigger
    // window or capture) holds the same picture at a larger scale, so the
    // rectangle is taken at that scale and shrunk into the texels.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] > virtualScreenWidth && viewport[3] > virtualScreenHeight) {
        const double sx = double(viewport[2]) / virtualScreenWidth, sy = double(viewport[3]) / virtualScreenHeight;
        blitIntoTexture(target, texture, xOffset, yOffset, w, h, int(x * sx), int(y * sy), int((x + w) * sx),
                        int((y + h) * sy));
        return;
    }
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
