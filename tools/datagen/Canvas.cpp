#include "datagen/Canvas.h"

#include "imagewriter/ImageWriter.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {

// One pass of a box blur along rows (horizontal) or columns; the edges
// repeat the outermost pixel so a mask touching the border does not fade.
void boxPass(const Mask& from, Mask& to, int radius, bool horizontal)
{
    const int lines = horizontal ? from.height : from.width;
    const int length = horizontal ? from.width : from.height;
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto sample = [&](int i) {
            i = std::clamp(i, 0, length - 1);
            return horizontal ? from.at(i, line) : from.at(line, i);
        };
        float sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += sample(i);
        for (int i = 0; i < length; ++i) {
            (horizontal ? to.at(i, line) : to.at(line, i)) = sum * scale;
            sum += sample(i + radius + 1) - sample(i - radius);
        }
    }
}

} // namespace

Mask blurred(const Mask& mask, int radius)
{
    Mask a = mask;
    Mask b(mask.width, mask.height);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, radius, true);
        boxPass(b, a, radius, false);
    }
    return a;
}

Mask ring(int width, int height, float cx, float cy, float innerRadius, float outerRadius)
{
    Mask mask(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            const float inside = std::clamp(outerRadius - d + 0.5f, 0.0f, 1.0f);
            const float outsideHole = std::clamp(d - innerRadius + 0.5f, 0.0f, 1.0f);
            mask.at(x, y) = inside * outsideHole;
        }
    }
    return mask;
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill)
{
}

void Canvas::verticalGradient(Colour top, Colour bottom)
{
    for (int y = 0; y < height_; ++y) {
        const float s = height_ > 1 ? static_cast<float>(y) / static_cast<float>(height_ - 1) : 0.0f;
        const Colour c{top.r + (bottom.r - top.r) * s, top.g + (bottom.g - top.g) * s,
                       top.b + (bottom.b - top.b) * s};
        for (int x = 0; x < width_; ++x)
            pixel(x, y) = c;
    }
}

void Canvas::add(const Mask& mask, Colour colour, float strength)
{
    for (int y = 0; y < std::min(height_, mask.height); ++y) {
        for (int x = 0; x < std::min(width_, mask.width); ++x) {
            const float k = mask.at(x, y) * strength;
            Colour& p = pixel(x, y);
            p.r += colour.r * k;
            p.g += colour.g * k;
            p.b += colour.b * k;
        }
    }
}

void Canvas::cover(const Mask& mask, Colour colour)
{
    for (int y = 0; y < std::min(height_, mask.height); ++y) {
        for (int x = 0; x < std::min(width_, mask.width); ++x) {
            const float k = std::clamp(mask.at(x, y), 0.0f, 1.0f);
            Colour& p = pixel(x, y);
            p.r += (colour.r - p.r) * k;
            p.g += (colour.g - p.g) * k;
            p.b += (colour.b - p.b) * k;
        }
    }
}

void Canvas::vignette(float amount)
{
    const float cx = width_ * 0.5f, cy = height_ * 0.5f;
    const float reach = std::hypot(cx, cy);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / reach;
            const float k = 1.0f - amount * d * d;
            Colour& p = pixel(x, y);
            p.r *= k;
            p.g *= k;
            p.b *= k;
        }
    }
}

void Canvas::addGlowing(const Mask& shape, Colour glow, Colour core)
{
    add(blurred(shape, 18), glow, 0.9f);
    add(blurred(shape, 5), glow, 0.8f);
    add(shape, core);
}

std::vector<uint8_t> Canvas::rgbBytes() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels_.size() * 3);
    auto quantise = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Colour& p : pixels_) {
        bytes.push_back(quantise(p.r));
        bytes.push_back(quantise(p.g));
        bytes.push_back(quantise(p.b));
    }
    return bytes;
}

std::vector<uint8_t> Canvas::png() const
{
    return imagewriter::encodePng(width_, height_, 3, rgbBytes());
}

std::vector<uint8_t> Canvas::jpeg(int quality) const
{
    return imagewriter::encodeJpeg(width_, height_, rgbBytes(), quality);
}

} // namespace datagen
