#include "effects/TvOffsetGrid.h"

#include "core/ShowMath.h"

#include <cmath>
#include <cstdlib>

void TvOffsetGrid::regenerate(float a)
{
    const float m = static_cast<float>(std::rand() % 1000) * maxn / 1000.0f;
    const float w = (m + std::cos(5.0f * a)) * 2.0f * 3.14159f;
    const float xScale = sx * s;
    const float yScale = sy * s;
    // The row's position runs over [-1, 1] in steps of the column count; a
    // one-column grid has a single position.
    const float step = columns > 1 ? 2.0f / static_cast<float>(columns - 1) : 0.0f;
    float v = 0.0f; // carries over from column to column and row to row
    for (int i = 0; i < rows; ++i) {
        const float g = -1.0f + step * static_cast<float>(i);
        for (int k = 0; k < columns; ++k) {
            const float r = show::remap(std::sqrt(v * v + g * g), 0.0f, std::sqrt(2.0f), 0.0f, 3.14159f);
            const float c = (std::cos(2.0f * a + r) + 1.0f) / 2.0f * w;
            v = (std::sin(3.0f * a + r) + 1.0f) / 2.0f * w;
            dx(k, i) = k == columns - 1 ? 0.0f : c * xScale;
            dy(k, i) = v * yScale;
        }
    }
    if (upload)
        uploadOffsets();
}
