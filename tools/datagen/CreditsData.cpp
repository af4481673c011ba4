// The funk sphere's credits, RGB PNGs light on black (the overlay adds them):
// - "credit_quarkjay.png", "credit_vellum.png", "credit_mosswire.png": the
//   crew's handles, 640 x 360; the overlay maps this picture over the whole
//   screen height, so the name sits in the upper half, clear of the banner;
// - "role_music.png", "role_code.png", "role_support.png": the roles as
//   640 x 80 banners drawn across the middle of the screen.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"

namespace {

using datagen::Canvas;
using datagen::Colour;
using datagen::Mask;

constexpr int kWidth = 640;
constexpr int kNameHeight = 360;
constexpr int kBannerHeight = 80;

const Colour kWhite{1.0f, 1.0f, 1.0f};

void addGlowing(Canvas& canvas, const Mask& shape, Colour glow)
{
    canvas.add(datagen::blurred(shape, 14), glow, 0.9f);
    canvas.add(datagen::blurred(shape, 4), glow, 0.7f);
    canvas.add(shape, kWhite);
}

std::vector<uint8_t> makeName(const char* handle, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kNameHeight);
    const Mask name = text.line(kWidth, kNameHeight, handle, {datagen::kSansBold, 80, 6}, kWidth / 2.0f, 160);
    addGlowing(canvas, name, glow);
    return canvas.png();
}

std::vector<uint8_t> makeBanner(const char* role, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kBannerHeight);
    const Mask rule = datagen::ring(kWidth, kBannerHeight, kWidth / 2.0f, -2000.0f, 2035.0f, 2037.0f);
    canvas.add(rule, glow, 0.6f);
    const Mask word = text.line(kWidth, kBannerHeight, role, {datagen::kSansLight, 34, 18}, kWidth / 2.0f, 52);
    addGlowing(canvas, word, glow);
    return canvas.png();
}

const Colour kRose{1.0f, 0.35f, 0.7f};
const Colour kTeal{0.3f, 0.95f, 0.85f};
const Colour kGold{1.0f, 0.75f, 0.3f};

std::vector<uint8_t> makeQuarkjay(const datagen::GeneratorOptions&) { return makeName("quarkjay", kRose); }
std::vector<uint8_t> makeVellum(const datagen::GeneratorOptions&) { return makeName("vellum", kTeal); }
std::vector<uint8_t> makeMosswire(const datagen::GeneratorOptions&) { return makeName("mosswire", kGold); }
std::vector<uint8_t> makeMusic(const datagen::GeneratorOptions&) { return makeBanner("music", kRose); }
std::vector<uint8_t> makeCode(const datagen::GeneratorOptions&) { return makeBanner("code", kTeal); }
std::vector<uint8_t> makeSupport(const datagen::GeneratorOptions&) { return makeBanner("support", kGold); }

} // namespace

GLINT_DATA_PRODUCT("credit_quarkjay.png", makeQuarkjay, false);
GLINT_DATA_PRODUCT("credit_vellum.png", makeVellum, false);
GLINT_DATA_PRODUCT("credit_mosswire.png", makeMosswire, false);
GLINT_DATA_PRODUCT("role_music.png", makeMusic, false);
GLINT_DATA_PRODUCT("role_code.png", makeCode, false);
GLINT_DATA_PRODUCT("role_support.png", makeSupport, false);
