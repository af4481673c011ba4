// The records the SWF writer takes, in the file's own units: twips (1/20
// pixel) for coordinates, 16.16 fixed point for scale and rotation, 1/256
// steps for colour transform terms.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace swfwriter {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct Rect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

struct Matrix {
    bool hasScale = false;
    int32_t scaleX = 0x10000, scaleY = 0x10000;
    bool hasRotate = false;
    int32_t rotateSkew0 = 0, rotateSkew1 = 0;
    int32_t translateX = 0, translateY = 0;

    static Matrix translation(int32_t x, int32_t y)
    {
        Matrix m;
        m.translateX = x;
        m.translateY = y;
        return m;
    }
};

struct ColourTransform {
    bool hasMultiply = false;
    int16_t redMultiply = 256, greenMultiply = 256, blueMultiply = 256, alphaMultiply = 256;
    bool hasAdd = false;
    int16_t redAdd = 0, greenAdd = 0, blueAdd = 0, alphaAdd = 0;

    // Multipliers for a white base colour to come out as (r, g, b, a),
    // held to the 15 bits a CXFORM term can have.
    static ColourTransform multiply(double r, double g, double b, double a)
    {
        auto term = [](double v) { return static_cast<int16_t>(std::lround(std::fmax(-16384, std::fmin(16383, v * 256)))); };
        ColourTransform c;
        c.hasMultiply = true;
        c.redMultiply = term(r);
        c.greenMultiply = term(g);
        c.blueMultiply = term(b);
        c.alphaMultiply = term(a);
        return c;
    }
};

struct GradientStop {
    uint8_t ratio = 0;
    Rgba colour;
};

struct FillStyle {
    enum Type : uint8_t { solid = 0x00, linearGradient = 0x10, radialGradient = 0x12, clippedBitmap = 0x41 };
    Type type = solid;
    Rgba colour;                       // solid
    Matrix matrix;                     // gradient and bitmap
    std::vector<GradientStop> stops;   // gradient
    uint16_t bitmapId = 0;             // bitmap

    static FillStyle solidColour(Rgba c)
    {
        FillStyle f;
        f.colour = c;
        return f;
    }
};

struct LineStyle {
    uint16_t width = 20;
    Rgba colour;
};

// Shape records. Style indices are 1-based into the fill and line style
// arrays in force; -1 leaves a style unchanged, 0 clears it.
struct StyleChange {
    std::optional<std::pair<int32_t, int32_t>> moveTo;
    int fill0 = -1, fill1 = -1, line = -1;
    bool newStyles = false;
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
};
struct StraightEdge {
    int32_t dx = 0, dy = 0;
};
struct CurvedEdge {
    int32_t controlDx = 0, controlDy = 0, anchorDx = 0, anchorDy = 0;
};
using ShapeRecord = std::variant<StyleChange, StraightEdge, CurvedEdge>;

struct Shape {
    uint16_t id = 1;
    int version = 1;   // 1, 2 or 3: DefineShape, DefineShape2, DefineShape3 (colours with alpha)
    Rect bounds;
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<ShapeRecord> records;

    // A filled rectangle drawn as a closed path round `box`.
    static Shape rectangle(uint16_t id, Rect box, Rgba colour, int version = 1);
};

// Text records: a style change or a run of glyphs.
struct TextStyle {
    std::optional<uint16_t> fontId;   // a font is given with its height
    uint16_t height = 240;
    std::optional<Rgba> colour;       // written as RGB
    std::optional<int16_t> xOffset, yOffset;
};
struct GlyphEntry {
    uint32_t index = 0;
    int32_t advance = 0;
};
using TextRecord = std::variant<TextStyle, std::vector<GlyphEntry>>;

struct Text {
    uint16_t id = 1;
    Rect bounds;
    Matrix matrix;
    std::vector<TextRecord> records;
};

struct FontInfo {
    uint16_t id = 1;
    std::string name;
    bool wideCodes = false;
    std::vector<uint16_t> codes;
};

// A PlaceObject2: only what is set is written, and the flags follow.
struct Placement {
    uint16_t depth = 1;
    bool move = false;
    std::optional<uint16_t> character;
    std::optional<Matrix> matrix;
    std::optional<ColourTransform> colourTransform;
    std::optional<uint16_t> ratio;
    std::optional<std::string> name;
};

} // namespace swfwriter
