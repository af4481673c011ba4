// The values a tracked parameter group holds right now: the GL matrix it
// follows, read from the current context, after its transform. Used where
// the CPU needs them (state programs, parameter queries).
#pragma once

#include "programs/MatrixTracking.h"
#include "programs/VertexMachine.h"

#include <array>

namespace programs {

using Matrix4 = std::array<float, 16>;   // column major, as GL stores it

Matrix4 inverseMatrix(const Matrix4& m);   // zero matrix when singular
Matrix4 transposeMatrix(const Matrix4& m);
Matrix4 multiplyMatrices(const Matrix4& a, const Matrix4& b);   // a * b

// Rows 0..3 of the tracked matrix. Needs a current GL context.
std::array<Vec4, 4> trackedMatrixRows(const TrackedMatrix& tracked);

} // namespace programs
