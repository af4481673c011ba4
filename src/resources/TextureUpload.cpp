#include "resources/TextureUpload.h"

#include <epoxy/gl.h>

namespace resources {

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

unsigned textureTargetFor(int width, int height)
{
    return isPowerOfTwo(width) && isPowerOfTwo(height) ? GL_TEXTURE_2D : textureRectangle;
}

static GLenum formatForChannels(int channels)
{
    switch (channels) {
    case 1: return GL_LUMINANCE;
    case 2: return GL_LUMINANCE_ALPHA;
    case 3: return GL_RGB;
    case 4: return GL_RGBA;
    default: return 0;
    }
}

bool uploadImage(const DecodedImage& image)
{
    const GLenum format = formatForChannels(image.channels);
    if (format == 0 || image.pixels.size() < static_cast<size_t>(image.width) * image.height * image.channels)
        return false;
    const GLenum target = textureTargetFor(image.width, image.height);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows are packed tightly; three-byte RGB rows are not 4-byte aligned.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    return true;
}

} // namespace resources
