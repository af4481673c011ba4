#include "scenes/funksphere/TexelCoverage.h"

#include <algorithm>
#include <cassert>
#include <cmath>

TexelCoverage::TexelCoverage(int width, int height, const std::vector<uint8_t>& rgba)
    : width(std::max(width, 0)), height(std::max(height, 0))
{
    assert(rgba.size() >= static_cast<size_t>(this->width) * this->height * 4 && "four bytes per texel");
    const int stride = this->width + 1;
    sums.assign(static_cast<size_t>(stride) * (this->height + 1), 0);
    for (int y = 0; y < this->height; ++y) {
        int litInRow = 0;
        for (int x = 0; x < this->width; ++x) {
            const uint8_t* texel = &rgba[(static_cast<size_t>(y) * this->width + x) * 4];
            const bool lit = (texel[0] | texel[1] | texel[2]) != 0;
            if (lit)
                growLitBox(x, y);
            litInRow += lit ? 1 : 0;
            sums[static_cast<size_t>(y + 1) * stride + x + 1] = sums[static_cast<size_t>(y) * stride + x + 1] + litInRow;
        }
    }
}

void TexelCoverage::growLitBox(int x, int y)
{
    if (litRight < litLeft) {
        litLeft = litRight = x;
        litTop = litBottom = y;
        return;
    }
    litLeft = std::min(litLeft, x);
    litRight = std::max(litRight, x);
    litTop = std::min(litTop, y);
    litBottom = std::max(litBottom, y);
}

int TexelCoverage::litIn(int firstColumn, int firstRow, int lastColumn, int lastRow) const
{
    const int stride = width + 1;
    auto at = [&](int x, int y) { return sums[static_cast<size_t>(y) * stride + x]; };
    return at(lastColumn + 1, lastRow + 1) - at(firstColumn, lastRow + 1) - at(lastColumn + 1, firstRow) +
           at(firstColumn, firstRow);
}

bool TexelCoverage::mayBeLit(float s0, float t0, float s1, float t1) const
{
    if (empty())
        return true;
    // A linear lookup at s reads texels floor(s - 0.5) and the one after;
    // one texel more on each side absorbs the rasteriser's rounding of the
    // interpolated coordinates.
    auto first = [](float c, int size) {
        return std::clamp(static_cast<int>(std::floor(std::fmax(c, -2.0f) - 0.5f)) - 1, 0, size - 1);
    };
    auto last = [](float c, int size) {
        return std::clamp(static_cast<int>(std::floor(std::fmin(c, size + 2.0f) - 0.5f)) + 2, 0, size - 1);
    };
    const int left = first(std::fmin(s0, s1), width), right = last(std::fmax(s0, s1), width);
    const int top = first(std::fmin(t0, t1), height), bottom = last(std::fmax(t0, t1), height);
    if (right < litLeft || left > litRight || bottom < litTop || top > litBottom)
        return false;
    return litIn(left, top, right, bottom) > 0;
}
