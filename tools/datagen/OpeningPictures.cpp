// The opening sequence's pictures, all 640 x 480 RGB PNGs (the overlay
// effect stretches a PNG over the whole screen):
// - "title0.png": the show's title with a cold glow on black, so it can be
//   added over anything;
// - "plogo3c.png": the group's logo dark on white, multiplied into the
//   falling particles (white leaves the frame as it was);
// - "plogo3b.png": the same logo glowing on black, added to them;
// - "pmxlogo3c.png", "pmxlogo3b.png": the logo's wide form, the ring with
//   the initial beside the name, in the same two ways (dark on white to
//   multiply, glowing on black to add).
// The captions are in CaptionPictures.cpp.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"

#include <algorithm>

namespace {

using datagen::Canvas;
using datagen::Colour;
using datagen::Mask;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kCentreX = kWidth / 2.0f;

const Colour kIce{0.55f, 0.8f, 1.0f};
const Colour kWhite{1.0f, 1.0f, 1.0f};
const Colour kAmber{1.0f, 0.62f, 0.25f};
const Colour kLogoCore{0.9f, 0.95f, 1.0f};
const Colour kInkHalo{0.55f, 0.6f, 0.75f};
const Colour kInk{0.05f, 0.08f, 0.15f};

std::vector<uint8_t> makeTitle(const datagen::GeneratorOptions&)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight);
    const Mask title = text.line(kWidth, kHeight, "QUILLON", {datagen::kSansBold, 96, 14}, kCentreX, 268);
    canvas.addGlowing(title, kIce, kWhite);
    const Mask rule = text.line(kWidth, kHeight, "________________", {datagen::kSansLight, 30, 0}, kCentreX, 292);
    canvas.add(rule, kIce, 0.5f);
    const Mask subtitle =
        text.line(kWidth, kHeight, "a real-time show in nine scenes", {datagen::kSansLight, 22, 3}, kCentreX, 336);
    canvas.addGlowing(subtitle, kAmber, kWhite);
    return canvas.png();
}

// Sums masks into one, coverage at most 1; `weights` scale each.
Mask combined(const std::vector<Mask>& parts, const std::vector<float>& weights)
{
    Mask shape(kWidth, kHeight);
    for (size_t i = 0; i < shape.coverage.size(); ++i) {
        float sum = 0;
        for (size_t p = 0; p < parts.size(); ++p)
            sum += parts[p].coverage[i] * weights[p];
        shape.coverage[i] = std::min(1.0f, sum);
    }
    return shape;
}

// The logo: the word "glint" inside a ring.
Mask logoShape(const datagen::TextRenderer& text)
{
    return combined({datagen::ring(kWidth, kHeight, kCentreX, kHeight / 2.0f, 150, 160),
                     datagen::ring(kWidth, kHeight, kCentreX, kHeight / 2.0f, 128, 131),
                     text.line(kWidth, kHeight, "glint", {datagen::kSansBold, 70, 3}, kCentreX, kHeight / 2.0f + 20)},
                    {1.0f, 0.7f, 1.0f});
}

// The wide logo: a smaller ring holding the initial, the name beside it and
// a thin line under the name.
Mask wideLogoShape(const datagen::TextRenderer& text)
{
    constexpr float ringX = 165, middleY = kHeight / 2.0f;
    return combined({datagen::ring(kWidth, kHeight, ringX, middleY, 76, 84),
                     datagen::ring(kWidth, kHeight, ringX, middleY, 62, 64),
                     text.line(kWidth, kHeight, "g", {datagen::kSansBold, 96, 0}, ringX, middleY + 22),
                     text.line(kWidth, kHeight, "glint", {datagen::kSansBold, 92, 6}, 420, middleY + 24),
                     text.line(kWidth, kHeight, "____________", {datagen::kSansLight, 30, 0}, 420, middleY + 48)},
                    {1.0f, 0.7f, 1.0f, 1.0f, 0.6f});
}

std::vector<uint8_t> multiplied(const Mask& shape)
{
    Canvas canvas(kWidth, kHeight, kWhite);
    canvas.cover(datagen::blurred(shape, 10), kInkHalo);
    canvas.cover(shape, kInk);
    return canvas.png();
}

std::vector<uint8_t> added(const Mask& shape)
{
    Canvas canvas(kWidth, kHeight);
    canvas.addGlowing(shape, kIce, kLogoCore);
    canvas.vignette(0.3f);
    return canvas.png();
}

std::vector<uint8_t> makeLogoMultiplied(const datagen::GeneratorOptions&)
{
    return multiplied(logoShape(datagen::TextRenderer()));
}

std::vector<uint8_t> makeLogoAdded(const datagen::GeneratorOptions&)
{
    return added(logoShape(datagen::TextRenderer()));
}

std::vector<uint8_t> makeWideLogoMultiplied(const datagen::GeneratorOptions&)
{
    return multiplied(wideLogoShape(datagen::TextRenderer()));
}

std::vector<uint8_t> makeWideLogoAdded(const datagen::GeneratorOptions&)
{
    return added(wideLogoShape(datagen::TextRenderer()));
}

} // namespace

GLINT_DATA_PRODUCT("title0.png", makeTitle, false);
GLINT_DATA_PRODUCT("plogo3c.png", makeLogoMultiplied, false);
GLINT_DATA_PRODUCT("plogo3b.png", makeLogoAdded, false);
GLINT_DATA_PRODUCT("pmxlogo3c.png", makeWideLogoMultiplied, false);
GLINT_DATA_PRODUCT("pmxlogo3b.png", makeWideLogoAdded, false);
