#include "effects/OffsetTexture.h"

#include "core/GLObjects.h"
#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

OffsetTexture::OffsetTexture(int columns, int rows)
    : columns(columns > 0 ? columns : 1), rows(rows > 0 ? rows : 1), format(GL_DSDT_NV),
      offsets(static_cast<size_t>(this->columns) * this->rows * 2, 0.0f), upload(nv::textureShadersAvailable()),
      target(GL_TEXTURE_2D)
{
    if (!upload)
        return;
    texture = createTexture(target, GL_REPEAT);
    nv::glTexImage2D(target, 0, GL_DSDT_NV, this->columns, this->rows, 0, GL_DSDT_NV, GL_FLOAT, offsets.data());
}

void OffsetTexture::uploadOffsets()
{
    if (!texture)
        texture = genTexture();
    glBindTexture(target, texture.get());
    nv::glTexImage2D(target, 0, GL_DSDT_NV, columns, rows, 0, GL_DSDT_NV, GL_FLOAT, offsets.data());
}
