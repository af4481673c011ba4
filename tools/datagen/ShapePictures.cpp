// The shape pictures: small pictures whose dark or light pixels give a
// shape, not something to look at.
// - "k32b.jpg": 32 x 32, the show's initial "Q" dark on white; the metaball
//   cloud morphs into its dark pixels. The volume's rows run upwards (row 0
//   is the bottom of the cloud), so the letter is stored upside down to
//   stand upright in the show.
// - "k32b.bmp": the same picture as an uncompressed bitmap, exact where the
//   JPEG rounds.
// - "k32.jpg": 32 x 32, the initial light on black and upright, the other
//   way round for shapes taken from the light pixels.
// - "k8.jpg": 8 x 8, "k32b.jpg" averaged over blocks of 4 x 4 pixels: the
//   same shape at the coarsest level.
#include "datagen/Canvas.h"
#include "datagen/DataProduct.h"
#include "datagen/TextRenderer.h"
#include "imagewriter/ImageWriter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaskSize = 32;
constexpr int kCoarseSize = 8;

// The initial in `ink` on `ground`, top row first.
std::vector<uint8_t> initial(datagen::Colour ground, datagen::Colour ink)
{
    datagen::TextRenderer text;
    datagen::Canvas canvas(kMaskSize, kMaskSize, ground);
    const datagen::Mask letter =
        text.line(kMaskSize, kMaskSize, "Q", {datagen::kSansBold, 30, 0}, kMaskSize / 2.0f, 24.0f);
    canvas.cover(letter, ink);
    return canvas.rgbBytes();
}

std::vector<uint8_t> upsideDown(const std::vector<uint8_t>& rgb, int width, int height)
{
    std::vector<uint8_t> flipped(rgb.size());
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy(rgb.begin() + y * row, rgb.begin() + (y + 1) * row, flipped.begin() + (height - 1 - y) * row);
    return flipped;
}

// The cloud's shape: dark on white, upside down.
std::vector<uint8_t> cloudShape()
{
    return upsideDown(initial({1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}), kMaskSize, kMaskSize);
}

std::vector<uint8_t> makeCloudShape(const datagen::GeneratorOptions&)
{
    return imagewriter::encodeJpeg(kMaskSize, kMaskSize, cloudShape(), 95);
}

std::vector<uint8_t> makeCloudShapeBitmap(const datagen::GeneratorOptions&)
{
    return imagewriter::encodeBmp(kMaskSize, kMaskSize, cloudShape());
}

std::vector<uint8_t> makeLightShape(const datagen::GeneratorOptions&)
{
    return imagewriter::encodeJpeg(kMaskSize, kMaskSize, initial({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}), 95);
}

std::vector<uint8_t> makeCoarseShape(const datagen::GeneratorOptions&)
{
    const std::vector<uint8_t> fine = cloudShape();
    constexpr int block = kMaskSize / kCoarseSize;
    std::vector<uint8_t> coarse;
    for (int y = 0; y < kCoarseSize; ++y)
        for (int x = 0; x < kCoarseSize; ++x)
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < block; ++dy)
                    for (int dx = 0; dx < block; ++dx)
                        sum += fine[((y * block + dy) * kMaskSize + x * block + dx) * 3 + channel];
                coarse.push_back(static_cast<uint8_t>((sum + block * block / 2) / (block * block)));
            }
    return imagewriter::encodeJpeg(kCoarseSize, kCoarseSize, coarse, 95);
}

} // namespace

GLINT_DATA_PRODUCT("k32b.jpg", makeCloudShape, false);
GLINT_DATA_PRODUCT("k32b.bmp", makeCloudShapeBitmap, false);
GLINT_DATA_PRODUCT("k32.jpg", makeLightShape, false);
GLINT_DATA_PRODUCT("k8.jpg", makeCoarseShape, false);
