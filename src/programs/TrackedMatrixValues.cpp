#include "programs/TrackedMatrixValues.h"

#include <cmath>

namespace programs {

namespace {

Matrix4 identityMatrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4 readMatrix(GLenum pname)
{
    Matrix4 m{};
    ::glGetFloatv(pname, m.data());
    return m;
}

// Matrices that live behind glMatrixMode only (texture of another unit,
// program matrices) are read by switching to them and back.
Matrix4 readModeMatrix(GLenum mode, int textureUnit)
{
    GLint oldMode = GL_MODELVIEW, oldUnit = GL_TEXTURE0;
    ::glGetIntegerv(GL_MATRIX_MODE, &oldMode);
    ::glGetIntegerv(GL_ACTIVE_TEXTURE, &oldUnit);
    if (mode == GL_TEXTURE)
        ::glActiveTexture(GL_TEXTURE0 + textureUnit);
    ::glMatrixMode(glMatrixModeOf(mode));
    Matrix4 m = readMatrix(mode == GL_TEXTURE ? GL_TEXTURE_MATRIX : GL_CURRENT_MATRIX_ARB);
    ::glMatrixMode(oldMode);
    ::glActiveTexture(oldUnit);
    return m;
}

Matrix4 currentMatrix(const TrackedMatrix& t)
{
    switch (t.matrix) {
    case GL_MODELVIEW: return readMatrix(GL_MODELVIEW_MATRIX);
    case GL_PROJECTION: return readMatrix(GL_PROJECTION_MATRIX);
    case GL_MODELVIEW_PROJECTION_NV:
        return multiplyMatrices(readMatrix(GL_PROJECTION_MATRIX), readMatrix(GL_MODELVIEW_MATRIX));
    case GL_TEXTURE: return readModeMatrix(GL_TEXTURE, t.textureUnit);
    case GL_COLOR: return identityMatrix();
    default: return readModeMatrix(t.matrix, 0);
    }
}

} // namespace

Matrix4 multiplyMatrices(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    return r;
}

Matrix4 transposeMatrix(const Matrix4& m)
{
    Matrix4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i * 4 + j] = m[j * 4 + i];
    return r;
}

// Gauss-Jordan elimination with partial pivoting.
Matrix4 inverseMatrix(const Matrix4& m)
{
    double a[4][8];
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            a[row][col] = m[col * 4 + row];
            a[row][col + 4] = row == col ? 1.0 : 0.0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col]))
                pivot = row;
        if (std::fabs(a[pivot][col]) < 1e-30)
            return Matrix4{};
        for (int k = 0; k < 8; ++k)
            std::swap(a[col][k], a[pivot][k]);
        double scale = 1.0 / a[col][col];
        for (int k = 0; k < 8; ++k)
            a[col][k] *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == col)
                continue;
            double f = a[row][col];
            for (int k = 0; k < 8; ++k)
                a[row][k] -= f * a[col][k];
        }
    }
    Matrix4 r{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r[col * 4 + row] = static_cast<float>(a[row][col + 4]);
    return r;
}

std::array<Vec4, 4> trackedMatrixRows(const TrackedMatrix& tracked)
{
    Matrix4 m = currentMatrix(tracked);
    if (tracked.transform == GL_INVERSE_NV || tracked.transform == GL_INVERSE_TRANSPOSE_NV)
        m = inverseMatrix(m);
    if (tracked.transform == GL_TRANSPOSE_NV || tracked.transform == GL_INVERSE_TRANSPOSE_NV)
        m = transposeMatrix(m);
    std::array<Vec4, 4> rows{};
    for (int r = 0; r < 4; ++r)
        rows[r] = {m[r], m[4 + r], m[8 + r], m[12 + r]};
    return rows;
}

} // namespace programs
