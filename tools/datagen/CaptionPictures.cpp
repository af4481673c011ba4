// The captions, 640 x 480 RGB JPEGs, light on black with a glow, so an
// overlay adds them over whatever is on the screen:
// - "text0.jpg" .. "text3.jpg": the opening's captions, in the order the
//   opening shows them;
// - "text4.jpg" .. "text6.jpg": the words of the later scenes (the ribbon
//   tunnel's line) and the closing thanks, in the same hand.
// JPEG at high quality keeps the black ground black enough to add.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"

namespace {

using datagen::Canvas;
using datagen::Colour;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

const Colour kIce{0.55f, 0.8f, 1.0f};
const Colour kAmber{1.0f, 0.62f, 0.25f};
const Colour kWhite{1.0f, 1.0f, 1.0f};

// One caption, centred on the screen; a long one shrinks to keep a margin.
std::vector<uint8_t> makeCaption(const char* words, int pixelSize, Colour glow)
{
    datagen::TextRenderer text;
    Canvas canvas(kWidth, kHeight);
    const float room = kWidth * 0.85f;
    const float measured = text.measure(words, {datagen::kSansBold, pixelSize, 8});
    if (measured > room)
        pixelSize = static_cast<int>(static_cast<float>(pixelSize) * room / measured);
    const float baseline = kHeight / 2.0f + pixelSize * 0.35f;
    canvas.addGlowing(text.line(kWidth, kHeight, words, {datagen::kSansBold, pixelSize, 8}, kWidth / 2.0f, baseline),
                      glow, kWhite);
    return canvas.jpeg(95);
}

std::vector<uint8_t> makeText0(const datagen::GeneratorOptions&) { return makeCaption("glint presents", 40, kAmber); }
std::vector<uint8_t> makeText1(const datagen::GeneratorOptions&) { return makeCaption("nine scenes", 56, kIce); }
std::vector<uint8_t> makeText2(const datagen::GeneratorOptions&) { return makeCaption("one heartbeat", 56, kAmber); }
std::vector<uint8_t> makeText3(const datagen::GeneratorOptions&) { return makeCaption("108 bpm", 72, kIce); }
std::vector<uint8_t> makeText4(const datagen::GeneratorOptions&) { return makeCaption("follow the thread", 48, kAmber); }
std::vector<uint8_t> makeText5(const datagen::GeneratorOptions&)
{
    return makeCaption("through the quiet light", 40, kIce);
}
std::vector<uint8_t> makeText6(const datagen::GeneratorOptions&) { return makeCaption("thank you", 56, kAmber); }

} // namespace

GLINT_DATA_PRODUCT("text0.jpg", makeText0, false);
GLINT_DATA_PRODUCT("text1.jpg", makeText1, false);
GLINT_DATA_PRODUCT("text2.jpg", makeText2, false);
GLINT_DATA_PRODUCT("text3.jpg", makeText3, false);
GLINT_DATA_PRODUCT("text4.jpg", makeText4, false);
GLINT_DATA_PRODUCT("text5.jpg", makeText5, false);
GLINT_DATA_PRODUCT("text6.jpg", makeText6, false);
