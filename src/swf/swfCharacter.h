// The characters of an SWF movie as playback sees them: shapes reduced to a
// colour, declared bounds and pen box, and texts reduced to glyph indices and
// style values. The movie's dictionary owns one of each defined character;
// every placement on a layer owns a clone, which the placement's matrix and
// colour transform then move and tint. Nothing here draws.
#pragma once

#include "swf/swfDisplayEvent.h"

#include <array>
#include <cstdint>
#include <memory>

struct swfColour {
    float r = 0, g = 0, b = 0, a = 1;
};

struct swfPoint {
    float x = 0, y = 0;
};

class swfCharacter {
public:
    enum Kind : int32_t { text = 1, shape = 2 };

    virtual ~swfCharacter() = default;
    // A new copy of the whole object, derived part included.
    virtual std::unique_ptr<swfCharacter> clone() const = 0;

    // Sets the colour the colour transforms start from (and, until one is
    // applied, the colour itself).
    void setBaseColour(const swfColour& colour);
    // Declared bounds in twips: fills size and the bounds in pixels.
    void setBounds(const swfRect& bounds);

    // Moves the object to the matrix's translation and transforms its own
    // corners; earlier matrices play no part.
    void applyMatrix(const swfMatrix& matrix);
    void applyColourTransform(const swfColourTransform& transform);

    swfColour baseColour;
    swfColour colour;
    swfPoint textOffset;   // texts: the text matrix translation, in pixels
    swfPoint position;     // pixels, set by the placement matrix
    swfPoint size;         // pixels: width and height of the declared bounds
    swfPoint boundsMin, boundsMax;   // pixels
    // Shapes: the pen box in twips as (min x, min y), (max x, min y),
    // (max x, max y), (min x, max y); texts: all (0, 0).
    std::array<swfPoint, 4> corners{};
    std::array<swfPoint, 4> transformedCorners{};
    int32_t id = 0;
    int32_t kind = 0;

protected:
    swfCharacter(int32_t characterId, Kind characterKind) : id(characterId), kind(characterKind) {}
};

class swfShape : public swfCharacter {
public:
    explicit swfShape(int32_t characterId) : swfCharacter(characterId, shape) {}
    std::unique_ptr<swfCharacter> clone() const override { return std::make_unique<swfShape>(*this); }

    // The box the pen visited, in twips; it always contains the origin.
    void setPenBox(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY);

    swfPoint penBoxMin, penBoxMax;   // pixels
};

class swfText : public swfCharacter {
public:
    static constexpr int maxGlyphs = 100;

    explicit swfText(int32_t characterId) : swfCharacter(characterId, text) {}
    std::unique_ptr<swfCharacter> clone() const override { return std::make_unique<swfText>(*this); }

    int32_t glyphCount = 0;   // never more than maxGlyphs
    std::array<int32_t, maxGlyphs> glyphIndices{};
    int32_t height = 0;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    int32_t fontId = 0;
};
