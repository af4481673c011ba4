// A picture being painted: linear RGB floats, 0 to 1 and beyond (values
// over 1 are clipped only when the picture is encoded), first row on top.
// Painting adds or blends coverage masks (text, shapes) in a colour, and a
// blurred copy of a mask makes a glow. Everything is plain arithmetic, so
// the same calls give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

struct Colour {
    float r = 0, g = 0, b = 0;
};

// Coverage 0 to 1 per pixel, the size of the canvas it is painted on.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage;
    Mask(int w, int h) : width(w), height(h), coverage(static_cast<size_t>(w) * h, 0.0f) {}
    float& at(int x, int y) { return coverage[static_cast<size_t>(y) * width + x]; }
    float at(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

// A box blur run three times (close to a Gaussian) of the given radius.
Mask blurred(const Mask& mask, int radius);

// An anti-aliased ring around (cx, cy): radii in pixels.
Mask ring(int width, int height, float cx, float cy, float innerRadius, float outerRadius);

class Canvas {
public:
    Canvas(int width, int height, Colour fill = {});

    int width() const { return width_; }
    int height() const { return height_; }

    // Top colour to bottom colour, row by row.
    void verticalGradient(Colour top, Colour bottom);
    // Light added in the mask's shape: pixel += colour x coverage x strength.
    void add(const Mask& mask, Colour colour, float strength = 1.0f);
    // The colour laid over in the mask's shape: pixel = mix(pixel, colour, coverage).
    void cover(const Mask& mask, Colour colour);
    // Darkens towards the corners; amount 0 leaves the picture.
    void vignette(float amount);
    // Glowing light in the mask's shape: a wide faint halo, a tight bright
    // one and the sharp shape itself in the core colour.
    void addGlowing(const Mask& shape, Colour glow, Colour core);

    // Eight bits per channel, RGB, clipped to 0..1 and rounded.
    std::vector<uint8_t> rgbBytes() const;
    std::vector<uint8_t> png() const;
    std::vector<uint8_t> jpeg(int quality = 95) const;

private:
    Colour& pixel(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

} // namespace datagen
