#include "effects/OffsetTexture.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

OffsetTexture::OffsetTexture(int columns, int rows)
    : columns(columns > 0 ? columns : 1), rows(rows > 0 ? rows : 1), format(GL_DSDT_NV),
      offsets(static_cast<size_t>(this->columns) * this->rows * 2, 0.0f), upload(nv::textureShadersAvailable()),
      target(GL_TEXTURE_2D)
{
    if (!upload)
        return;
    glGenTextures(1, &texture);
    glBindTexture(target, texture);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_REPEAT);
    nv::glTexImage2D(target, 0, GL_DSDT_NV, this->columns, this->rows, 0, GL_DSDT_NV, GL_FLOAT, offsets.data());
}

OffsetTexture::~OffsetTexture()
{
    if (texture != 0)
        glDeleteTextures(1, &texture);
}

void OffsetTexture::uploadOffsets()
{
    if (texture == 0)
        glGenTextures(1, &texture);
    glBindTexture(target, texture);
    nv::glTexImage2D(target, 0, GL_DSDT_NV, columns, rows, 0, GL_DSDT_NV, GL_FLOAT, offsets.data());
}
