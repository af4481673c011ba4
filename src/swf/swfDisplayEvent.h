// The records an SWF movie's timeline is made of, as the reader hands them to
// playback: rectangles, placement matrices and colour transforms in the file's
// own units (twips, 16.16 fixed point, 1/256 colour steps), and the display
// event that places or removes a character on a depth.
#pragma once

#include <cstdint>

// A RECT in twips (1/20 pixel).
struct swfRect {
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// MATRIX terms in file order. Scale and rotate/skew terms are 16.16 fixed
// point; translations are twips.
struct swfMatrix {
    int32_t scaleX = 0x10000, rotateSkew0 = 0, rotateSkew1 = 0, scaleY = 0x10000;
    int32_t translateX = 0, translateY = 0;

    // What an event without a matrix carries: scale terms of 1 (that is
    // 1/65536 once converted), no rotation, no translation.
    static swfMatrix eventDefault()
    {
        swfMatrix m;
        m.scaleX = m.scaleY = 1;
        return m;
    }
};

// CXFORM terms in the order the events store them. Multipliers are in 1/256.
struct swfColourTransform {
    int16_t alphaMultiply = 256, alphaAdd = 0;
    int16_t redMultiply = 256, redAdd = 0;
    int16_t greenMultiply = 256, greenAdd = 0;
    int16_t blueMultiply = 256, blueAdd = 0;

    // What an event without a colour transform carries: multipliers 255.
    static swfColourTransform eventDefault()
    {
        swfColourTransform c;
        c.alphaMultiply = c.redMultiply = c.greenMultiply = c.blueMultiply = 255;
        return c;
    }
};

// One placement or removal, kept in file order in its frame.
struct swfDisplayEvent {
    enum Code : uint32_t { place = 4, remove = 5, place2 = 26 };

    uint32_t code = 0;
    uint8_t flags = 0;          // the PlaceObject2 flag byte, 0 for other tags
    uint16_t depth = 0;
    uint16_t characterId = 0;   // 0 when the tag names no character
    swfMatrix matrix = swfMatrix::eventDefault();
    swfColourTransform colourTransform = swfColourTransform::eventDefault();
};
