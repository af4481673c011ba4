// Text set with FreeType in one of Debian's DejaVu faces, as a coverage
// mask the size of the picture it goes on. Lines are centred on a point;
// extra letter spacing spreads titles out. A face that cannot be opened is
// reported once by `ok()` and gives empty masks.
#pragma once

#include "datagen/Canvas.h"

#include <string>

namespace datagen {

// The fonts the show's pictures use (fonts-dejavu-core).
constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kSansLight = "/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf";
constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct TextStyle {
    const char* font = kSansBold;
    int pixelSize = 48;
    float letterSpacing = 0;   // extra pixels after each letter
};

class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    bool ok() const { return library_ != nullptr; }

    // `text` (ASCII) with its baseline's middle at (cx, baseline).
    Mask line(int width, int height, const std::string& text, const TextStyle& style, float cx,
              float baseline) const;
    // The advance width of `text` in pixels.
    float measure(const std::string& text, const TextStyle& style) const;

private:
    void* library_ = nullptr;   // FT_Library
};

} // namespace datagen
