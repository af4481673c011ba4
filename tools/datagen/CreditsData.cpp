// The funk sphere's credits, RGB PNGs light on black (the overlay adds them),
// named by credit slot: "creditNa.png" is slot N-1's name picture and
// "creditNb.png" its role banner, as "funksphere.cfg" assigns them.
// - name pictures, 640 x 360: the overlay maps this picture over the whole
//   screen height, so the name sits in the upper third, clear of the banner
//   and above the sphere in the middle of the screen most of the time;
// - role banners, 640 x 80, drawn across the middle of the screen.
// Slot 0 is quarkjay (music), slot 2 vellum (code), slot 3 mosswire
// (support). The overlay shows nothing in slot 1; its pair greets everyone
// else and stays in the data for the pack.
// "group0.jpg" is the crew together, 640 x 480: the group's name over the
// three handles, each in its own colour.
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
constexpr int kGroupHeight = 480;

const Colour kWhite{1.0f, 1.0f, 1.0f};

// A faint halo only: the overlay adds the pictures at half strength, so a
// bright halo would leave the letters little lighter than their surround.
void addGlowing(Canvas& canvas, const Mask& shape, Colour glow)
{
    canvas.add(datagen::blurred(shape, 14), glow, 0.35f);
    canvas.add(datagen::blurred(shape, 4), glow, 0.3f);
    canvas.add(shape, kWhite);
}

std::vector<uint8_t> makeName(const char* handle, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kNameHeight);
    // Heavy, so the strokes keep their shape through the ripple, and no
    // wider than half the picture: the ripple magnifies it up to twice.
    const Mask name = text.line(kWidth, kNameHeight, handle, {datagen::kSansBold, 60, 2}, kWidth / 2.0f, 120);
    addGlowing(canvas, name, glow);
    return canvas.png();
}

std::vector<uint8_t> makeBanner(const char* role, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kBannerHeight);
    const Mask rule = datagen::ring(kWidth, kBannerHeight, kWidth / 2.0f, -2000.0f, 2035.0f, 2037.0f);
    canvas.add(rule, glow, 0.6f);
    // Bold and close set: the role reads at a glance across the sphere.
    const Mask word = text.line(kWidth, kBannerHeight, role, {datagen::kSansBold, 48, 4}, kWidth / 2.0f, 57);
    addGlowing(canvas, word, glow);
    return canvas.png();
}

const Colour kRose{1.0f, 0.35f, 0.7f};
const Colour kViolet{0.65f, 0.45f, 1.0f};
const Colour kTeal{0.3f, 0.95f, 0.85f};
const Colour kGold{1.0f, 0.75f, 0.3f};
const Colour kIce{0.55f, 0.8f, 1.0f};

std::vector<uint8_t> makeQuarkjay(const datagen::GeneratorOptions&) { return makeName("quarkjay", kRose); }
std::vector<uint8_t> makeMusic(const datagen::GeneratorOptions&) { return makeBanner("music", kRose); }
std::vector<uint8_t> makeEveryone(const datagen::GeneratorOptions&) { return makeName("everyone", kViolet); }
std::vector<uint8_t> makeGreetings(const datagen::GeneratorOptions&) { return makeBanner("greetings", kViolet); }
std::vector<uint8_t> makeVellum(const datagen::GeneratorOptions&) { return makeName("vellum", kTeal); }
std::vector<uint8_t> makeCode(const datagen::GeneratorOptions&) { return makeBanner("code", kTeal); }
std::vector<uint8_t> makeMosswire(const datagen::GeneratorOptions&) { return makeName("mosswire", kGold); }
std::vector<uint8_t> makeSupport(const datagen::GeneratorOptions&) { return makeBanner("support", kGold); }

std::vector<uint8_t> makeGroup(const datagen::GeneratorOptions&)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kGroupHeight);
    canvas.verticalGradient({0.02f, 0.02f, 0.06f}, {0.0f, 0.0f, 0.0f});
    const float middle = kWidth / 2.0f;
    addGlowing(canvas, text.line(kWidth, kGroupHeight, "glint", {datagen::kSansBold, 84, 10}, middle, 150), kIce);
    canvas.add(text.line(kWidth, kGroupHeight, "is", {datagen::kSansLight, 26, 8}, middle, 210), kIce, 0.8f);
    const struct {
        const char* handle;
        Colour glow;
    } crew[] = {{"quarkjay", kRose}, {"vellum", kTeal}, {"mosswire", kGold}};
    float baseline = 290;
    for (const auto& member : crew) {
        addGlowing(canvas, text.line(kWidth, kGroupHeight, member.handle, {datagen::kSansBold, 44, 5}, middle, baseline),
                   member.glow);
        baseline += 70;
    }
    return canvas.jpeg(92);
}

} // namespace

GLINT_DATA_PRODUCT("credit1a.png", makeQuarkjay, false);
GLINT_DATA_PRODUCT("credit1b.png", makeMusic, false);
GLINT_DATA_PRODUCT("credit2a.png", makeEveryone, false);
GLINT_DATA_PRODUCT("credit2b.png", makeGreetings, false);
GLINT_DATA_PRODUCT("credit3a.png", makeVellum, false);
GLINT_DATA_PRODUCT("credit3b.png", makeCode, false);
GLINT_DATA_PRODUCT("credit4a.png", makeMosswire, false);
GLINT_DATA_PRODUCT("credit4b.png", makeSupport, false);
GLINT_DATA_PRODUCT("group0.jpg", makeGroup, false);
