// The numeric helpers every part of the show uses: remapping and mixing of
// floats, the show's random draws, 3-component vectors and 4 x 4 matrices in
// the column-major layout OpenGL takes.
//
// Random numbers come from the C library generator (seeded with 1 at start),
// so each draw's order matters: scenes draw at construction in a fixed order.
#pragma once

#include <cmath>
#include <cstdlib>

namespace show {

// Maps v from [a, b] onto [c, d] without clamping.
inline float remap(float v, float a, float b, float c, float d)
{
    return c + (v - a) * (d - c) / (b - a);
}

inline float lerp(float s, float x, float y)
{
    return (1.0f - s) * x + s * y;
}

// One draw of the C library generator spread over [lo, hi) in 1000 steps.
inline float random(float lo, float hi)
{
    return remap(static_cast<float>(std::rand() % 1000), 0.0f, 1000.0f, lo, hi);
}

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    Vec3() = default;
    Vec3(float x, float y, float z) : x(x), y(y), z(z) {}

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    float dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    float length() const { return std::sqrt(dot(*this)); }
    // A zero vector stays zero rather than turning into NaNs.
    Vec3 normalized() const
    {
        const float l = length();
        return l > 0.0f ? *this * (1.0f / l) : *this;
    }
};

// Column-major: element (row r, column c) is m[c * 4 + r].
struct Mat4 {
    float m[16];

    static Mat4 identity();
    static Mat4 translation(float x, float y, float z);
    static Mat4 scaling(float x, float y, float z);
    // Rotation by `degrees` about the axis (x, y, z), as glRotatef.
    static Mat4 rotation(float degrees, float x, float y, float z);
    // As gluPerspective and glFrustum.
    static Mat4 perspective(float fovyDegrees, float aspect, float zNear, float zFar);
    // As gluLookAt.
    static Mat4 lookAt(const Vec3& eye, const Vec3& centre, const Vec3& up);

    Mat4 operator*(const Mat4& o) const;
    Vec3 transformPoint(const Vec3& p) const;
    float at(int row, int column) const { return m[column * 4 + row]; }
};

} // namespace show
