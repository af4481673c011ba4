// Reads an uncompressed SWF file image into a swfMovie: the header values,
// the character dictionary (shapes and texts reduced to colour, bounds and
// placement data), the fonts, and per frame the display events and text
// commands. The reader lives only for one load; it keeps nothing afterwards
// and only views the image, which the caller owns.
//
// Reads are bounded by the bytes that really exist (never more than the
// header's stated length). A tag that claims more bytes than its timeline
// holds ends that timeline as an End tag would; a tag whose contents run past
// its own end is dropped whole. Either way the movie keeps what was read
// before, and damaged() tells.
#pragma once

#include "swf/swfInput.h"

#include <array>
#include <cstddef>
#include <cstdint>

class swfMovie;
struct swfColour;

class swfReader {
public:
    // Reads the whole image into `movie` at once; `size` is the number of
    // bytes available at `image`.
    swfReader(swfMovie& movie, const uint8_t* image, size_t size);

    // 1 if the header was accepted and the tags were read, 0 otherwise.
    int result() const { return result_; }
    // Whether a tag was dropped or a timeline ended without its End tag.
    bool damaged() const { return damaged_; }

private:
    static constexpr size_t glyphCountTableSize = 265;
    // Sprites inside sprites are rare in practice; the bound keeps a hostile
    // file from recursing without end.
    static constexpr int maxSpriteNesting = 8;

    bool readHeader();
    void readTagStream(int level, size_t end);
    void readTag(unsigned code, int level, size_t frame, size_t tagEnd);

    void readPlaceObject(size_t frame, size_t tagEnd);
    void readPlaceObject2(size_t frame);
    void readRemoveObject(size_t frame, bool withCharacter);
    void readDoAction(size_t frame);
    void readSprite(int level, size_t tagEnd);

    void readShape(bool alpha);
    void readFillStyles(bool alpha, swfColour* colour);
    void readLineStyles(bool alpha);
    void readShapeRecords(bool alpha, int64_t box[4]);
    void readText();
    void readFont();
    void readFontInfo();

    swfMovie& movie_;
    swfInput input_;
    unsigned fillIndexBits_ = 0;
    unsigned lineIndexBits_ = 0;
    std::array<uint32_t, glyphCountTableSize> glyphCounts_{};
    int result_ = 0;
    bool damaged_ = false;
};
