// The inverse of a camera matrix: camera space back to world space. The
// rotation part is inverted as a general 3 x 3 matrix (through its
// determinant), the translation as -(inverse rotation x translation), so a
// point placed in front of a 3DS camera lands where that camera sees it.
#pragma once

#include "core/ShowMath.h"

// A matrix without an inverse (a missing camera's all-zero rotation) gives
// the identity rather than infinities.
show::Mat4 inverseCamera(const show::Mat4& camera);
