#include "effects/CircleMask.h"

#include "core/GLObjects.h"

#include <epoxy/gl.h>

#include <cmath>

namespace resources {

constexpr int maskSize = 512;

std::vector<uint8_t> circleMaskTexels()
{
    std::vector<uint8_t> texels(maskSize * maskSize, 0);
    for (int r = 0; r < maskSize; ++r) {
        const float y = (r - 256) / 256.0f;
        const float halfWidth = std::cos(std::asin(y)) * 255.0f;
        const int from = static_cast<int>(256 - halfWidth);
        const int to = static_cast<int>(256 + halfWidth);
        for (int c = from; c < to; ++c)
            texels[r * maskSize + c] = 255;
    }
    for (int i = 0; i < maskSize; ++i) {
        texels[i] = 0;
        texels[(maskSize - 1) * maskSize + i] = 0;
        texels[i * maskSize] = 0;
        texels[i * maskSize + maskSize - 1] = 0;
    }
    return texels;
}

unsigned createCircleMaskTexture()
{
    const std::vector<uint8_t> texels = circleMaskTexels();
    // The registry keeps the mask to the end of the process: its name is
    // handed over, never deleted.
    const GLuint texture = createTexture(GL_TEXTURE_2D).release();
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 1, maskSize, maskSize, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    return texture;
}

} // namespace resources
