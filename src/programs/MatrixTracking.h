// Which GL matrix each group of four program parameters follows
// (glTrackMatrixNV). Parameters 4k .. 4k + 3 hold the rows of the tracked
// matrix after its transform. Plain data; the enums are GL's.
#pragma once

#include "programs/VertexProgram.h"

#include <epoxy/gl.h>

#include <array>
#include <string>

namespace programs {

struct TrackedMatrix {
    GLenum matrix = GL_NONE;
    GLenum transform = GL_IDENTITY_NV;
    int textureUnit = 0;     // for GL_TEXTURE: the unit active when tracking was set

    bool operator==(const TrackedMatrix& o) const
    {
        return matrix == o.matrix && (matrix == GL_NONE || (transform == o.transform && textureUnit == o.textureUnit));
    }
    bool operator!=(const TrackedMatrix& o) const { return !(*this == o); }
};

using TrackingTable = std::array<TrackedMatrix, vpParameterCount / 4>;

bool isTrackableMatrix(GLenum matrix);
// The GL matrix mode behind a trackable matrix: GL_MATRIX0_NV .. GL_MATRIX7_NV
// are the ARB program matrices (drivers without the NV extension refuse the
// NV enums); every other mode is returned unchanged.
GLenum glMatrixModeOf(GLenum matrix);
bool isTrackTransform(GLenum transform);

// A short text that identifies a tracking table (equal tables, equal keys).
std::string trackingKey(const TrackingTable& table);

} // namespace programs
