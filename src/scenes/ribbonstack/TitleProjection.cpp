#include "scenes/ribbonstack/TitleProjection.h"

#include <cmath>

using show::Mat4;

const TitleWord titleWords[titleWordCount] = {
    {"title0.png", 1, 5.0f, 10.0f, 0.0f, -10.0f},
    {"title1.png", 2, 7.0f, 14.0f, 2.0f, -8.0f},
    {"title2.png", 3, 10.0f, 16.0f, 2.0f, -9.0f},
    {"title3.png", 1, 12.0f, 26.0f, 2.0f, -15.0f},
};

std::vector<int> titleWordsAt(float time)
{
    std::vector<int> words;
    for (int i = 0; i < titleWordCount; ++i)
        if (time > titleWords[i].start && time < titleWords[i].end)
            words.push_back(i);
    return words;
}

Mat4 projectorMatrix(const TitleWord& word, float time)
{
    const float theta = show::remap(time, word.start, word.end, 1.570795f, -1.570795f);
    const float c = std::cos(theta), s = std::sin(theta);
    Mat4 m = Mat4::identity();
    // Column 0 was (1, 0, 0) and column 2 (0, 0, 1): x' = s z + c x, z' = c z - s x.
    m.m[0] = c;
    m.m[2] = -s;
    m.m[8] = s;
    m.m[10] = c;
    m.m[12] = word.xAtZero - 3.0f * time;
    m.m[14] = word.z;
    return m;
}

Mat4 titleTextureMatrix(const Mat4& projector)
{
    return Mat4::translation(0.5f, 0.5f, 0.0f) * Mat4::scaling(0.5f, -1.0f, 1.0f) *
           Mat4::perspective(110.0f, 1.0f, 1.0f, 30.0f) * projector;
}

float titleFacing(const Mat4& projector)
{
    // The projector's first column is (cos theta, 0, -sin theta).
    return std::fmax(0.0f, projector.m[0]);
}

std::array<double, 4> titleFrontPlane(const show::Mat4& projector)
{
    // The projector looks down its -z: a point is in front where its z, the
    // matrix's third row applied to it, is negative.
    const float* m = projector.m;
    return {-m[2], -m[6], -m[10], -m[14]};
}

show::Vec3 eyeOf(const float (&modelView)[16])
{
    // Solve A e + t = 0 for the upper 3 x 3 block A and the translation t,
    // by Cramer's rule: e = A^-1 (-t).
    const float* m = modelView;
    auto det = [](const show::Vec3& a, const show::Vec3& b, const show::Vec3& c) { return a.dot(b.cross(c)); };
    const show::Vec3 c0(m[0], m[1], m[2]), c1(m[4], m[5], m[6]), c2(m[8], m[9], m[10]);
    const show::Vec3 rhs(-m[12], -m[13], -m[14]);
    const float d = det(c0, c1, c2);
    if (d == 0.0f)
        return show::Vec3(0.0f, 0.0f, 0.0f);
    return show::Vec3(det(rhs, c1, c2) / d, det(c0, rhs, c2) / d, det(c0, c1, rhs) / d);
}
