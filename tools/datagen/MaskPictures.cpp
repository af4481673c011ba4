// Masks and sprites, pictures that shape light rather than show something:
// - "tvmask2.jpg": 640 x 480, an old television's screen, white inside a
//   rounded rectangle that darkens towards its bulging edge, with faint
//   scan lines, black outside; multiplied over a frame it makes a TV of it;
// - "Untitled-1.png": 64 x 64 RGBA, a soft round glow, white with the glow
//   as alpha: a particle sprite;
// - "Untitled-2.png": 256 x 256 grey, a disc that fades out over its last
//   fifth: a circle mask.
#include "datagen/DataProduct.h"
#include "imagewriter/ImageWriter.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t byteOf(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

// 1 inside a rectangle of half size (hx, hy) with corners rounded by
// `radius`, falling to 0 over `soft` pixels outside it.
float roundedBox(float x, float y, float hx, float hy, float radius, float soft)
{
    const float qx = std::max(std::fabs(x) - (hx - radius), 0.0f);
    const float qy = std::max(std::fabs(y) - (hy - radius), 0.0f);
    const float outside = std::hypot(qx, qy) - radius;
    return std::clamp(1.0f - outside / soft, 0.0f, 1.0f);
}

std::vector<uint8_t> makeTvMask(const datagen::GeneratorOptions&)
{
    constexpr int width = 640, height = 480;
    std::vector<uint8_t> rgb;
    rgb.reserve(width * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float px = x + 0.5f - width / 2.0f, py = y + 0.5f - height / 2.0f;
            const float screen = roundedBox(px, py, 290, 210, 60, 14);
            // The tube's bulge: darker towards the edge of the glass.
            const float r = std::hypot(px / 320.0f, py / 240.0f);
            const float bulge = 1.0f - 0.35f * r * r;
            const float scanLine = (y % 3 == 2) ? 0.82f : 1.0f;
            const float v = screen * bulge * scanLine;
            // A touch of the tube's green in the mid tones.
            rgb.push_back(byteOf(v * 0.96f));
            rgb.push_back(byteOf(v));
            rgb.push_back(byteOf(v * 0.93f));
        }
    }
    return imagewriter::encodeJpeg(width, height, rgb, 92);
}

std::vector<uint8_t> makeGlowSprite(const datagen::GeneratorOptions&)
{
    constexpr int size = 64;
    std::vector<uint8_t> rgba;
    rgba.reserve(size * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f) / (size / 2.0f);
            // A bright core in a wide Gaussian halo, nothing at the border.
            const float glow = std::exp(-d * d * 5.0f) * 0.8f + std::exp(-d * d * 40.0f) * 0.2f;
            const float alpha = d >= 1.0f ? 0.0f : glow;
            for (float v : {1.0f, 1.0f, 1.0f, alpha})
                rgba.push_back(byteOf(v));
        }
    }
    return imagewriter::encodePng(size, size, 4, rgba);
}

std::vector<uint8_t> makeCircleMask(const datagen::GeneratorOptions&)
{
    constexpr int size = 256;
    std::vector<uint8_t> grey;
    grey.reserve(size * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f) / (size / 2.0f);
            const float s = std::clamp((1.0f - d) / 0.2f, 0.0f, 1.0f);
            grey.push_back(byteOf(s * s * (3.0f - 2.0f * s)));
        }
    }
    return imagewriter::encodePng(size, size, 1, grey);
}

} // namespace

GLINT_DATA_PRODUCT("tvmask2.jpg", makeTvMask, false);
GLINT_DATA_PRODUCT("Untitled-1.png", makeGlowSprite, false);
GLINT_DATA_PRODUCT("Untitled-2.png", makeCircleMask, false);
