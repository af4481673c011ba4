#include "scenes/ribbonstack/TitleReach.h"

#include <algorithm>
#include <cmath>
#include <limits>

using show::Mat4;
using show::Vec3;

namespace {

struct Row {
    double x, y, z, w;
};

Row rowOf(const Mat4& m, int r)
{
    return {m.at(r, 0), m.at(r, 1), m.at(r, 2), m.at(r, 3)};
}

// The plane k a + l b >= 0 of two rows applied to a point.
Plane combined(double k, const Row& a, double l, const Row& b)
{
    return {k * a.x + l * b.x, k * a.y + l * b.y, k * a.z + l * b.z, k * a.w + l * b.w};
}

double side(const Plane& p, const double (&v)[3])
{
    return p.a * v[0] + p.b * v[1] + p.c * v[2] + p.d;
}

// The point on all three planes, if they meet in one.
bool meet(const Plane& p, const Plane& q, const Plane& r, double (&v)[3])
{
    auto det = [](double a, double b, double c, double d, double e, double f, double g, double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double d = det(p.a, p.b, p.c, q.a, q.b, q.c, r.a, r.b, r.c);
    if (std::fabs(d) < 1e-12)
        return false;
    v[0] = det(-p.d, p.b, p.c, -q.d, q.b, q.c, -r.d, r.b, r.c) / d;
    v[1] = det(p.a, -p.d, p.c, q.a, -q.d, q.c, r.a, -r.d, r.c) / d;
    v[2] = det(p.a, p.b, -p.d, q.a, q.b, -q.d, r.a, r.b, -r.d) / d;
    return true;
}

} // namespace

LitBox litBoxOf(const uint8_t* pixels, int width, int height, int channels)
{
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = pixels + (size_t(y) * size_t(width) + size_t(x)) * size_t(channels);
            if (std::any_of(p, p + std::min(channels, 3), [](uint8_t c) { return c != 0; })) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    LitBox box;
    if (right < 0)
        return box;
    const float inf = std::numeric_limits<float>::infinity();
    box.empty = false;
    // Texel x covers s of x / width .. (x + 1) / width; its light is filtered
    // half a texel further, held to a whole one.
    box.s0 = left > 0 ? float(left - 1) / float(width) : -inf;
    box.s1 = right < width - 1 ? float(right + 2) / float(width) : inf;
    box.t0 = top > 0 ? float(top - 1) / float(height) : -inf;
    box.t1 = bottom < height - 1 ? float(bottom + 2) / float(height) : inf;
    return box;
}

std::vector<Plane> litPlanes(const Mat4& texture, const LitBox& box)
{
    const Row s = rowOf(texture, 0), t = rowOf(texture, 1), q = rowOf(texture, 3);
    std::vector<Plane> planes = {combined(0.0, s, 1.0, q)};
    // s / q >= s0 is s - s0 q >= 0 while q > 0; likewise for the others.
    if (std::isfinite(box.s0))
        planes.push_back(combined(1.0, s, -box.s0, q));
    if (std::isfinite(box.s1))
        planes.push_back(combined(-1.0, s, box.s1, q));
    if (std::isfinite(box.t0))
        planes.push_back(combined(1.0, t, -box.t0, q));
    if (std::isfinite(box.t1))
        planes.push_back(combined(-1.0, t, box.t1, q));
    return planes;
}

std::vector<Plane> viewPlanes(const Mat4& viewProjection)
{
    const Row w = rowOf(viewProjection, 3);
    std::vector<Plane> planes;
    for (int r = 0; r < 3; ++r) {
        const Row c = rowOf(viewProjection, r);
        planes.push_back(combined(1.0, w, 1.0, c));
        planes.push_back(combined(1.0, w, -1.0, c));
    }
    return planes;
}

std::vector<Plane> boxPlanes(const Vec3& lo, const Vec3& hi)
{
    return {{1, 0, 0, -lo.x}, {-1, 0, 0, hi.x}, {0, 1, 0, -lo.y}, {0, -1, 0, hi.y}, {0, 0, 1, -lo.z}, {0, 0, -1, hi.z}};
}

std::optional<ScreenBox> screenReach(const std::vector<Plane>& planes, const Mat4& viewProjection,
                                     const ScreenBox& viewport)
{
    const Row cx = rowOf(viewProjection, 0), cy = rowOf(viewProjection, 1), cw = rowOf(viewProjection, 3);
    double x0 = 1e30, x1 = -1e30, y0 = 1e30, y1 = -1e30;
    const size_t n = planes.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k) {
                double v[3];
                if (!meet(planes[i], planes[j], planes[k], v))
                    continue;
                const bool inside = std::all_of(planes.begin(), planes.end(), [&](const Plane& p) {
                    const double size = std::fabs(p.a) + std::fabs(p.b) + std::fabs(p.c) + std::fabs(p.d);
                    return side(p, v) >= -1e-6 * size;
                });
                if (!inside)
                    continue;
                const double w = cw.x * v[0] + cw.y * v[1] + cw.z * v[2] + cw.w;
                if (w <= 1e-9)
                    return viewport;
                const double x = (cx.x * v[0] + cx.y * v[1] + cx.z * v[2] + cx.w) / w;
                const double y = (cy.x * v[0] + cy.y * v[1] + cy.z * v[2] + cy.w) / w;
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x0 > x1)
        return std::nullopt;
    auto pixel = [](double ndc, int origin, int size) { return origin + (ndc * 0.5 + 0.5) * size; };
    const int left = std::max(viewport.x, int(std::floor(pixel(x0, viewport.x, viewport.width))) - 1);
    const int right = std::min(viewport.x + viewport.width, int(std::ceil(pixel(x1, viewport.x, viewport.width))) + 1);
    const int bottom = std::max(viewport.y, int(std::floor(pixel(y0, viewport.y, viewport.height))) - 1);
    const int top = std::min(viewport.y + viewport.height, int(std::ceil(pixel(y1, viewport.y, viewport.height))) + 1);
    if (right <= left || top <= bottom)
        return std::nullopt;
    return ScreenBox{left, bottom, right - left, top - bottom};
}
