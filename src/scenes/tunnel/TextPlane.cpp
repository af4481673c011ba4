#include "scenes/tunnel/TextPlane.h"

#include "core/Scene3DS.h"
#include "programs/NvExtensions.h"
#include "resources/Pictures.h"
#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

#include <algorithm>
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
    findLitBox(luminanceAlpha.data());
    target = resources::textureTargetFor(width, height);
    texture = createTexture(target);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, 2, width, height, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, luminanceAlpha.data());
}

// Linear filtering mixes each texel with its neighbours, so the box takes one
// clear texel more on every side; and a texel beside an edge of the picture
// is mixed with the opposite edge when the texture repeats, so there the box
// takes that whole axis.
void TextPlane::findLitBox(const unsigned char* luminanceAlpha)
{
    lit = Box{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (luminanceAlpha[(static_cast<size_t>(y) * width + x) * 2 + 1] != 0) {
                lit.left = std::min(lit.left, x), lit.right = std::max(lit.right, x + 1);
                lit.top = std::min(lit.top, y), lit.bottom = std::max(lit.bottom, y + 1);
            }
    if (lit.right <= lit.left) {
        lit = Box{};
        return;
    }
    lit.left -= 1, lit.top -= 1, lit.right += 1, lit.bottom += 1;
    if (lit.left <= 0 || lit.right >= width)
        lit.left = 0, lit.right = width;
    if (lit.top <= 0 || lit.bottom >= height)
        lit.top = 0, lit.bottom = height;
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
    if (std::fabs(t - showTime) > visibleSeconds || (texture && lit.right <= lit.left))
        return;
    glPushMatrix();
    glMultMatrixf(matrix.m);
    turnYUpToZUp();
    glTranslatef(offset.x, offset.y, offset.z);
    if (texture) {
        glEnable(target);
        glBindTexture(target, texture.get());
    }
    // Only the lit box is drawn: the clear texels around it add nothing, and
    // fifteen layers of them standing across the camera's view were most of
    // the pixels the words cost. The box's corners as shares of the picture:
    const bool boxed = texture && width > 0 && height > 0;
    const float s0 = boxed ? static_cast<float>(lit.left) / width : 0.0f;
    const float s1 = boxed ? static_cast<float>(lit.right) / width : 1.0f;
    const float t0 = boxed ? static_cast<float>(lit.top) / height : 0.0f;
    const float t1 = boxed ? static_cast<float>(lit.bottom) / height : 1.0f;
    const float x0 = show::lerp(s0, -4.0f, 4.0f), x1 = show::lerp(s1, -4.0f, 4.0f);
    const float y0 = show::lerp(t0, -2.0f, 2.0f), y1 = show::lerp(t1, -2.0f, 2.0f);
    // A rectangle texture is addressed in texels.
    const float s = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(width);
    const float u = target == GL_TEXTURE_2D ? 1.0f : static_cast<float>(height);
    for (int i = 0; i < layers; ++i) {
        glColor4f(0.5f, 0.5f, 0.5f, layerAlpha(i, t));
        nv::glBegin(GL_QUADS);
        glTexCoord2f(s0 * s, t0 * u); glVertex3f(x0, y0, 0.0f);
        glTexCoord2f(s1 * s, t0 * u); glVertex3f(x1, y0, 0.0f);
        glTexCoord2f(s1 * s, t1 * u); glVertex3f(x1, y1, 0.0f);
        glTexCoord2f(s0 * s, t1 * u); glVertex3f(x0, y1, 0.0f);
        glEnd();
        glTranslatef(0.0f, 0.0f, -0.25f);
    }
    if (texture)
        glDisable(target);
    glPopMatrix();
}
