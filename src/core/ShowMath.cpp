#include "core/ShowMath.h"

namespace show {

Mat4 Mat4::identity()
{
    Mat4 r{};
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
    return r;
}

Mat4 Mat4::translation(float x, float y, float z)
{
    Mat4 r = identity();
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

Mat4 Mat4::scaling(float x, float y, float z)
{
    Mat4 r = identity();
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    return r;
}

Mat4 Mat4::rotation(float degrees, float x, float y, float z)
{
    const Vec3 axis = Vec3(x, y, z).normalized();
    const float radians = degrees * 3.14159265358979f / 180.0f;
    const float c = std::cos(radians), s = std::sin(radians), t = 1.0f - c;
    Mat4 r = identity();
    r.m[0] = t * axis.x * axis.x + c;
    r.m[1] = t * axis.x * axis.y + s * axis.z;
    r.m[2] = t * axis.x * axis.z - s * axis.y;
    r.m[4] = t * axis.x * axis.y - s * axis.z;
    r.m[5] = t * axis.y * axis.y + c;
    r.m[6] = t * axis.y * axis.z + s * axis.x;
    r.m[8] = t * axis.x * axis.z + s * axis.y;
    r.m[9] = t * axis.y * axis.z - s * axis.x;
    r.m[10] = t * axis.z * axis.z + c;
    return r;
}

Mat4 Mat4::perspective(float fovyDegrees, float aspect, float zNear, float zFar)
{
    const float f = 1.0f / std::tan(fovyDegrees * 3.14159265358979f / 360.0f);
    Mat4 r{};
    r.m[0] = f / aspect;
    r.m[5] = f;
    r.m[10] = (zFar + zNear) / (zNear - zFar);
    r.m[11] = -1.0f;
    r.m[14] = 2.0f * zFar * zNear / (zNear - zFar);
    return r;
}

Mat4 Mat4::lookAt(const Vec3& eye, const Vec3& centre, const Vec3& up)
{
    const Vec3 f = (centre - eye).normalized();
    const Vec3 s = f.cross(up).normalized();
    const Vec3 u = s.cross(f);
    Mat4 r = identity();
    r.m[0] = s.x;  r.m[4] = s.y;  r.m[8] = s.z;
    r.m[1] = u.x;  r.m[5] = u.y;  r.m[9] = u.z;
    r.m[2] = -f.x; r.m[6] = -f.y; r.m[10] = -f.z;
    return r * translation(-eye.x, -eye.y, -eye.z);
}

Mat4 Mat4::operator*(const Mat4& o) const
{
    Mat4 r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[k * 4 + row] * o.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    return r;
}

Vec3 Mat4::transformPoint(const Vec3& p) const
{
    const float x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    const float y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    const float z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return w != 0.0f && w != 1.0f ? Vec3(x / w, y / w, z / w) : Vec3(x, y, z);
}

} // namespace show
