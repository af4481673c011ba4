#include "scenes/metaballs/ShapeMask.h"

namespace {

constexpr int size = ShapeMask::size;
// The slab fills depths 6 to 26, leaving room in front and behind for the
// smoothing to fade it out before the volume's edge.
constexpr int firstSlabDepth = 6;
constexpr int lastSlabDepth = 26;
constexpr int darkRedLimit = 100;

int texelIndex(int x, int y, int z)
{
    return x + size * (y + size * z);
}

// Neighbours wrap around the edges, so every texel has six of them and the
// weights always sum to 8: the average never overflows a byte.
int wrapped(int i)
{
    return (i + size) % size;
}

void smooth(std::vector<unsigned char>& texels)
{
    const std::vector<unsigned char> source = texels;
    for (int z = 0; z < size; ++z)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int sum = 2 * source[texelIndex(x, y, z)]
                    + source[texelIndex(wrapped(x - 1), y, z)] + source[texelIndex(wrapped(x + 1), y, z)]
                    + source[texelIndex(x, wrapped(y - 1), z)] + source[texelIndex(x, wrapped(y + 1), z)]
                    + source[texelIndex(x, y, wrapped(z - 1))] + source[texelIndex(x, y, wrapped(z + 1))];
                texels[texelIndex(x, y, z)] = static_cast<unsigned char>(sum / 8);
            }
}

} // namespace

ShapeMask ShapeMask::fromPicture(const unsigned char* rgb, int width, int height)
{
    ShapeMask mask;
    if (rgb == nullptr || width <= 0 || height <= 0)
        return mask;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int pixel = (y * height / size) * width + x * width / size;
            if (rgb[pixel * 3] >= darkRedLimit)
                continue;
            for (int z = firstSlabDepth; z <= lastSlabDepth; ++z)
                mask.texels[texelIndex(x, y, z)] = 255;
        }
    smooth(mask.texels);
    smooth(mask.texels);
    return mask;
}
