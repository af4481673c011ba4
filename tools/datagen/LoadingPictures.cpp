// The loading screens: the petal ornament the loading display grows, two
// rings of petals round a small ring, above the word "loading".
// - "loading.png": 256 x 256 RGBA, the ornament alone in light colours with
//   its coverage as alpha, to lay over any ground;
// - "loading.jpg": 640 x 480, the ornament and the word on the show's dark
//   blue ground.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"

#include <algorithm>
#include <cmath>

namespace {

using datagen::Canvas;
using datagen::Colour;
using datagen::Mask;

constexpr float kPi = 3.14159265f;

// An anti-aliased ellipse from (cx, cy) outwards at `angle`: `length` long,
// `halfWidth` wide at its middle.
void addPetal(Mask& mask, float cx, float cy, float angle, float length, float halfWidth)
{
    const float ux = std::cos(angle), uy = std::sin(angle);
    const float a = length / 2.0f;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float along = dx * ux + dy * uy - a;
            const float across = -dx * uy + dy * ux;
            const float r = std::sqrt(along * along / (a * a) + across * across / (halfWidth * halfWidth));
            const float edge = std::clamp((1.0f - r) * halfWidth + 0.5f, 0.0f, 1.0f);
            mask.at(x, y) = std::min(1.0f, mask.at(x, y) + edge);
        }
    }
}

// Ten petals in an inner ring and ten longer ones between them, round a ring.
Mask ornament(int width, int height, float cx, float cy, float scale)
{
    Mask shape = datagen::ring(width, height, cx, cy, 10 * scale, 14 * scale);
    for (int i = 0; i < 10; ++i) {
        const float angle = 2.0f * kPi * static_cast<float>(i) / 10.0f;
        addPetal(shape, cx + std::cos(angle) * 18 * scale, cy + std::sin(angle) * 18 * scale, angle, 30 * scale,
                 6 * scale);
        const float between = angle + kPi / 10.0f;
        addPetal(shape, cx + std::cos(between) * 34 * scale, cy + std::sin(between) * 34 * scale, between,
                 44 * scale, 7 * scale);
    }
    return shape;
}

const Colour kPetal{1.0f, 0.62f, 0.25f};
const Colour kIce{0.55f, 0.8f, 1.0f};

std::vector<uint8_t> makeOrnament(const datagen::GeneratorOptions&)
{
    constexpr int size = 256;
    const Mask shape = ornament(size, size, size / 2.0f, size / 2.0f, 1.4f);
    const Mask halo = datagen::blurred(shape, 6);
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(size) * size * 4);
    for (size_t i = 0; i < shape.coverage.size(); ++i) {
        const float core = shape.coverage[i];
        const float alpha = std::min(1.0f, core + halo.coverage[i] * 0.6f);
        // Light amber at the petals' cores, warmer in the halo.
        const float whiteness = alpha > 0 ? core / alpha : 0.0f;
        const Colour c{kPetal.r + (1.0f - kPetal.r) * whiteness * 0.6f, kPetal.g + (1.0f - kPetal.g) * whiteness * 0.6f,
                       kPetal.b + (1.0f - kPetal.b) * whiteness * 0.6f};
        for (float v : {c.r, c.g, c.b, alpha})
            rgba.push_back(static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)));
    }
    return imagewriter::encodePng(size, size, 4, rgba);
}

std::vector<uint8_t> makeLoadingScreen(const datagen::GeneratorOptions&)
{
    constexpr int width = 640, height = 480;
    datagen::TextRenderer text;
    Canvas canvas(width, height);
    canvas.verticalGradient({0.02f, 0.03f, 0.08f}, {0.0f, 0.0f, 0.02f});
    canvas.addGlowing(ornament(width, height, width / 2.0f, 210, 1.6f), kPetal, {1.0f, 0.9f, 0.75f});
    canvas.add(text.line(width, height, "loading", {datagen::kSansLight, 28, 12}, width / 2.0f, 390), kIce, 0.9f);
    return canvas.jpeg(92);
}

} // namespace

GLINT_DATA_PRODUCT("loading.png", makeOrnament, false);
GLINT_DATA_PRODUCT("loading.jpg", makeLoadingScreen, false);
