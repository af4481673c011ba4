#include "scenes/fluid/FluidAdvection.h"

namespace {

// A back-traced coordinate, in cells, split into the two neighbouring cells
// it falls between and the fraction of the way from the first to the second.
struct WrappedCell {
    int first;
    int second;
    float fraction;
};

// Far beyond any sensible trace, yet small enough that a cell index converts
// exactly and a fraction keeps its precision.
constexpr float traceLimit = 1e6f;

// Clamping before converting to an integer keeps the conversion defined
// however fast a velocity is; a non-finite coordinate (a field that has blown
// up) clamps too, so every trace reads a cell inside the grid.
inline WrappedCell wrapCell(float position, int size)
{
    position = position > -traceLimit ? position : -traceLimit;
    position = position < traceLimit ? position : traceLimit;
    int cell = static_cast<int>(position);
    if (cell > position)
        --cell; // truncation rounded a negative coordinate up
    const float fraction = position - cell;
    // Most traces stay on the grid; only those that leave it pay for the division.
    if (static_cast<unsigned>(cell) >= static_cast<unsigned>(size)) {
        cell %= size;
        if (cell < 0)
            cell += size;
    }
    return {cell, cell + 1 == size ? 0 : cell + 1, fraction};
}

inline float bilinear(const float* field, int width, const WrappedCell& x, const WrappedCell& y)
{
    const float* row0 = field + y.first * width;
    const float* row1 = field + y.second * width;
    return (1.0f - x.fraction) * ((1.0f - y.fraction) * row0[x.first] + y.fraction * row1[x.first])
        + x.fraction * ((1.0f - y.fraction) * row0[x.second] + y.fraction * row1[x.second]);
}

} // namespace

void advectWrapped(const float* u, const float* v, int width, int height, float dt,
                   float* outU, float* outV, int outRowLength)
{
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const int at = r * width + c;
            // The point c / width - dt * u of the unit square, measured in cells.
            const WrappedCell x = wrapCell(c - dt * u[at] * width, width);
            const WrappedCell y = wrapCell(r - dt * v[at] * height, height);
            outU[r * outRowLength + c] = bilinear(u, width, x, y);
            outV[r * outRowLength + c] = bilinear(v, width, x, y);
        }
    }
}
