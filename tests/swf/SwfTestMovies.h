// Small movies for the SWF tests, made with the SWF writer.
#pragma once

#include "swf/swfMovie.h"
#include "swf/swfReader.h"
#include "swfwriter/SwfMovieWriter.h"

#include <cstdint>
#include <vector>

namespace swftest {

inline std::vector<uint8_t> movieBytes(const swfwriter::TagWriter& tags, swfwriter::Header header = {})
{
    return swfwriter::writeMovie(header, tags);
}

// Reads `bytes` into `movie` and returns the reader's result.
inline int readInto(swfMovie& movie, const std::vector<uint8_t>& bytes, bool* damaged = nullptr)
{
    swfReader reader(movie, bytes.data(), bytes.size());
    if (damaged)
        *damaged = reader.damaged();
    return reader.result();
}

inline swfwriter::ColourTransform multiplyBy(int16_t r, int16_t g, int16_t b, int16_t a)
{
    swfwriter::ColourTransform c;
    c.hasMultiply = true;
    c.redMultiply = r;
    c.greenMultiply = g;
    c.blueMultiply = b;
    c.alphaMultiply = a;
    return c;
}

// A PlaceObject2 that puts `character` on `depth` at (x, y) twips with the
// given colour transform.
inline swfwriter::Placement placeAt(uint16_t depth, uint16_t character, int32_t x, int32_t y,
                                    swfwriter::ColourTransform colour = multiplyBy(256, 256, 256, 256))
{
    swfwriter::Placement p;
    p.depth = depth;
    p.character = character;
    p.matrix = swfwriter::Matrix::translation(x, y);
    p.colourTransform = colour;
    return p;
}

// The same, moving whatever is on `depth` instead of adding a character.
inline swfwriter::Placement moveTo(uint16_t depth, int32_t x, int32_t y,
                                   swfwriter::ColourTransform colour = multiplyBy(256, 256, 256, 256))
{
    swfwriter::Placement p = placeAt(depth, 0, x, y, colour);
    p.character.reset();
    p.move = true;
    return p;
}

} // namespace swftest
