#include "programs/MatrixTracking.h"

namespace programs {

bool isTrackableMatrix(GLenum matrix)
{
    switch (matrix) {
    case GL_NONE: case GL_MODELVIEW: case GL_PROJECTION: case GL_TEXTURE: case GL_COLOR:
    case GL_MODELVIEW_PROJECTION_NV:
        return true;
    default:
        return matrix >= GL_MATRIX0_NV && matrix <= GL_MATRIX7_NV;
    }
}

GLenum glMatrixModeOf(GLenum matrix)
{
    if (matrix >= GL_MATRIX0_NV && matrix <= GL_MATRIX7_NV)
        return GL_MATRIX0_ARB + (matrix - GL_MATRIX0_NV);
    return matrix;
}

bool isTrackTransform(GLenum transform)
{
    return transform == GL_IDENTITY_NV || transform == GL_INVERSE_NV || transform == GL_TRANSPOSE_NV ||
           transform == GL_INVERSE_TRANSPOSE_NV;
}

std::string trackingKey(const TrackingTable& table)
{
    std::string key;
    for (size_t i = 0; i < table.size(); ++i) {
        const TrackedMatrix& t = table[i];
        if (t.matrix == GL_NONE)
            continue;
        key += std::to_string(i) + ':' + std::to_string(t.matrix) + ':' + std::to_string(t.transform);
        if (t.matrix == GL_TEXTURE)
            key += ':' + std::to_string(t.textureUnit);
        key += ';';
    }
    return key;
}

} // namespace programs
