// The opening sequence's pictures, all 640 x 480 RGB PNGs (the overlay
// effect stretches a PNG over the whole screen):
// - "title0.png": the show's title with a cold glow on black, so it can be
//   added over anything;
// - "text0.png" .. "text3.png": the captions, light on black, added;
// - "plogo3c.png": the group's logo dark on white, multiplied into the
//   falling particles (white leaves the frame as it was);
// - "plogo3b.png": the same logo glowing on black, added to them.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"

#include <algorithm>

namespace {

using datagen::Canvas;
using datagen::Colour;
using datagen::Mask;
using datagen::TextStyle;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kCentreX = kWidth / 2.0f;

const Colour kIce{0.55f, 0.8f, 1.0f};
const Colour kWhite{1.0f, 1.0f, 1.0f};
const Colour kAmber{1.0f, 0.62f, 0.25f};

// Glowing light in the mask's shape: a wide faint halo, a tight bright one
// and the sharp shape itself.
void addGlowing(Canvas& canvas, const Mask& shape, Colour glow, Colour core)
{
    canvas.add(datagen::blurred(shape, 18), glow, 0.9f);
    canvas.add(datagen::blurred(shape, 5), glow, 0.8f);
    canvas.add(shape, core);
}

std::vector<uint8_t> makeTitle(const datagen::GeneratorOptions&)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight);
    const Mask title = text.line(kWidth, kHeight, "QUILLON", {datagen::kSansBold, 96, 14}, kCentreX, 268);
    addGlowing(canvas, title, kIce, kWhite);
    const Mask rule = text.line(kWidth, kHeight, "________________", {datagen::kSansLight, 30, 0}, kCentreX, 292);
    canvas.add(rule, kIce, 0.5f);
    const Mask subtitle =
        text.line(kWidth, kHeight, "a real-time show in nine scenes", {datagen::kSansLight, 22, 3}, kCentreX, 336);
    addGlowing(canvas, subtitle, kAmber, kWhite);
    return canvas.png();
}

// One caption, centred on the screen.
std::vector<uint8_t> makeCaption(const char* words, int pixelSize, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight);
    const float baseline = kHeight / 2.0f + pixelSize * 0.35f;
    const Mask caption = text.line(kWidth, kHeight, words, {datagen::kSansBold, pixelSize, 8}, kCentreX, baseline);
    addGlowing(canvas, caption, glow, kWhite);
    return canvas.png();
}

std::vector<uint8_t> makeText0(const datagen::GeneratorOptions&) { return makeCaption("glint presents", 40, kAmber); }
std::vector<uint8_t> makeText1(const datagen::GeneratorOptions&) { return makeCaption("nine scenes", 56, kIce); }
std::vector<uint8_t> makeText2(const datagen::GeneratorOptions&) { return makeCaption("one heartbeat", 56, kAmber); }
std::vector<uint8_t> makeText3(const datagen::GeneratorOptions&) { return makeCaption("108 bpm", 72, kIce); }

// The logo: the word "glint" inside a ring.
Mask logoShape(const datagen::TextRenderer& text)
{
    Mask shape = datagen::ring(kWidth, kHeight, kCentreX, kHeight / 2.0f, 150, 160);
    const Mask inner = datagen::ring(kWidth, kHeight, kCentreX, kHeight / 2.0f, 128, 131);
    const Mask word = text.line(kWidth, kHeight, "glint", {datagen::kSansBold, 70, 3}, kCentreX, kHeight / 2.0f + 20);
    for (size_t i = 0; i < shape.coverage.size(); ++i)
        shape.coverage[i] = std::min(1.0f, shape.coverage[i] + inner.coverage[i] * 0.7f + word.coverage[i]);
    return shape;
}

std::vector<uint8_t> makeLogoMultiplied(const datagen::GeneratorOptions&)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight, kWhite);
    const Mask shape = logoShape(text);
    canvas.cover(datagen::blurred(shape, 10), {0.55f, 0.6f, 0.75f});
    canvas.cover(shape, {0.05f, 0.08f, 0.15f});
    return canvas.png();
}

std::vector<uint8_t> makeLogoAdded(const datagen::GeneratorOptions&)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight);
    addGlowing(canvas, logoShape(text), kIce, {0.9f, 0.95f, 1.0f});
    canvas.vignette(0.3f);
    return canvas.png();
}

} // namespace

GLINT_DATA_PRODUCT("title0.png", makeTitle, false);
GLINT_DATA_PRODUCT("text0.png", makeText0, false);
GLINT_DATA_PRODUCT("text1.png", makeText1, false);
GLINT_DATA_PRODUCT("text2.png", makeText2, false);
GLINT_DATA_PRODUCT("text3.png", makeText3, false);
GLINT_DATA_PRODUCT("plogo3c.png", makeLogoMultiplied, false);
GLINT_DATA_PRODUCT("plogo3b.png", makeLogoAdded, false);
