#include "scenes/tunnel/TextPlane.h"

#include "core/Scene3DS.h"
#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <vector>

TextPlane::TextPlane(const ResourceManager& resources, const char* name, float showTime, const show::Mat4& matrix)
    : showTime(showTime), matrix(matrix), target(GL_TEXTURE_2D)
{
    loadPicture(resources, name);
}

void TextPlane::loadPicture(const ResourceManager& resources, const char* name)
{
    if (jpegSize(resources, name, width, height) != 0 || width <= 0 || height <= 0) {
        std::printf("cannot find %s\n", name);
        width = height = 0;
        return;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    if (jpegPixels(resources, name, rgb.data()) != 0) {
        std::printf("cannot find %s\n", name);
        return;
    }
    std::vector<unsigned char> luminanceAlpha(static_cast<size_t>(width) * height * 2);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        const unsigned char value = rgb[i * 3] > 100 ? 255 : 0;
        luminanceAlpha[i * 2] = luminanceAlpha[i * 2 + 1] = value;
    }
    target = resources::textureTargetFor(width, height);
    texture = createTexture(target);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, 2, width, height, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, luminanceAlpha.data());
}

float TextPlane::layerAlpha(int layer, float t) const
{
    const float distance = std::fabs(t - showTime);
    if (distance > visibleSeconds)
        return 0.0f;
    const float fade = show::remap(distance, 0.0f, visibleSeconds, 1.0f, 0.0f);
    return show::remap(static_cast<float>(layer), 0.0f, static_cast<float>(layers), 0.1f, 0.0f) * fade;
}

void TextPlane::draw(float t) const
{
    if (std::fabs(t - showTime) > visibleSeconds)
        return;
    glPushMatrix();
    glMultMatrixf(matrix.m);
    turnYUpToZUp();
    glTranslatef(offset.x, offset.y, offset.z);
    if (texture) {
        glEnable(target);
        glBindTexture(target, texture.get());
    }
    // A rectangle texture is addressed in texels.
    const float s = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(width);
    const float u = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(height);
    for (int i = 0; i < layers; ++i) {
        glColor4f(0.5f, 0.5f, 0.5f, layerAlpha(i, t));
        nv::glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f); glVertex3f(-4.0f, -2.0f, 0.0f);
        glTexCoord2f(s, 0.0f);    glVertex3f(4.0f, -2.0f, 0.0f);
        glTexCoord2f(s, u);       glVertex3f(4.0f, 2.0f, 0.0f);
        glTexCoord2f(0.0f, u);    glVertex3f(-4.0f, 2.0f, 0.0f);
        glEnd();
        glTranslatef(0.0f, 0.0f, -0.25f);
    }
    if (texture)
        glDisable(target);
    glPopMatrix();
}
