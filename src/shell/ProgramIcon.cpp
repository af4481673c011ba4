#include "shell/ProgramIcon.h"

#include <algorithm>
#include <cmath>

namespace shell {

platform::IconImage programIcon()
{
    constexpr int size = 32;
    constexpr double pi = 3.14159265358979323846;
    platform::IconImage icon;
    icon.size = size;
    icon.rgba.assign(size * size * 4, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = (x + 0.5) / size * 2 - 1;
            double dy = (y + 0.5) / size * 2 - 1;
            double radius = std::sqrt(dx * dx + dy * dy);
            // Five petals: the outline swells and shrinks five times around.
            double outline = 0.45 + 0.5 * std::fabs(std::cos(2.5 * std::atan2(dy, dx) + pi / 2));
            if (radius > outline)
                continue;
            // Bright at the centre, fading towards the petal tips.
            int u = static_cast<int>(255 * (1 - 0.8 * radius / outline));
            uint8_t* pixel = &icon.rgba[(y * size + x) * 4];
            pixel[0] = static_cast<uint8_t>(std::min(255, u * 25 / 128 + 40));
            pixel[1] = static_cast<uint8_t>(std::min(255, u * 67 / 256 + 60));
            pixel[2] = static_cast<uint8_t>(std::min(255, u * 149 / 256 + 100));
            pixel[3] = 255;
        }
    }
    return icon;
}

} // namespace shell
