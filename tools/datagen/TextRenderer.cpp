#include "datagen/TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace datagen {

namespace {

// One face at one size for the length of a call.
class Face {
public:
    Face(FT_Library library, const TextStyle& style)
    {
        if (!library || FT_New_Face(library, style.font, 0, &face_) != 0) {
            std::fprintf(stderr, "glint-datagen: cannot open the font %s\n", style.font);
            face_ = nullptr;
            return;
        }
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(style.pixelSize));
    }
    ~Face()
    {
        if (face_)
            FT_Done_Face(face_);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    FT_Face get() const { return face_; }

private:
    FT_Face face_ = nullptr;
};

// Walks the glyphs of `text`, handing each one's pen position (26.6
// fixed-point converted to pixels) to `visit` after loading it.
template <typename Visit>
float layOut(FT_Face face, const std::string& text, float letterSpacing, bool render, Visit visit)
{
    float pen = 0;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kerning;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            pen += static_cast<float>(kerning.x) / 64.0f;
        }
        if (FT_Load_Glyph(face, glyph, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0)
            continue;
        visit(pen, face->glyph);
        pen += static_cast<float>(face->glyph->advance.x) / 64.0f + letterSpacing;
        previous = glyph;
    }
    return text.empty() ? 0.0f : pen - letterSpacing;
}

} // namespace

TextRenderer::TextRenderer()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0)
        library_ = library;
}

TextRenderer::~TextRenderer()
{
    if (library_)
        FT_Done_FreeType(static_cast<FT_Library>(library_));
}

float TextRenderer::measure(const std::string& text, const TextStyle& style) const
{
    Face face(static_cast<FT_Library>(library_), style);
    if (!face.get())
        return 0;
    return layOut(face.get(), text, style.letterSpacing, false, [](float, FT_GlyphSlot) {});
}

Mask TextRenderer::line(int width, int height, const std::string& text, const TextStyle& style, float cx,
                        float baseline) const
{
    Mask mask(width, height);
    Face face(static_cast<FT_Library>(library_), style);
    if (!face.get())
        return mask;
    const int left = static_cast<int>(std::lround(cx - measure(text, style) / 2));
    const int base = static_cast<int>(std::lround(baseline));
    layOut(face.get(), text, style.letterSpacing, true, [&](float pen, FT_GlyphSlot slot) {
        const FT_Bitmap& bitmap = slot->bitmap;
        const int x0 = left + static_cast<int>(std::lround(pen)) + slot->bitmap_left;
        const int y0 = base - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = x0 + static_cast<int>(col), y = y0 + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= width || y >= height)
                    continue;
                const float v = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                mask.at(x, y) = std::min(1.0f, mask.at(x, y) + v);
            }
        }
    });
    return mask;
}

} // namespace datagen
