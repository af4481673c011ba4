// Builds a tag stream: the main timeline of a movie or the body of a sprite.
// Each call appends one tag; showFrame() ends a frame. Nothing is checked
// against the dictionary, so tests can write movies that refer to missing
// characters or depths outside the player's range on purpose.
#pragma once

#include "swfwriter/SwfActionWriter.h"
#include "swfwriter/SwfRecords.h"

#include <cstdint>
#include <vector>

namespace swfwriter {

enum TagCode : uint16_t {
    tagEnd = 0,
    tagShowFrame = 1,
    tagDefineShape = 2,
    tagPlaceObject = 4,
    tagRemoveObject = 5,
    tagSetBackgroundColor = 9,
    tagDefineFont = 10,
    tagDefineText = 11,
    tagDoAction = 12,
    tagDefineFontInfo = 13,
    tagDefineShape2 = 22,
    tagPlaceObject2 = 26,
    tagRemoveObject2 = 28,
    tagDefineShape3 = 32,
    tagDefineSprite = 39,
};

class TagWriter {
public:
    void setBackgroundColor(Rgba colour);
    void defineShape(const Shape& shape);
    void defineText(const Text& text);
    // A font of `glyphCount` empty glyphs: the player needs only the count.
    void defineFont(uint16_t id, uint16_t glyphCount);
    void defineFontInfo(const FontInfo& info);
    // PlaceObject; the colour transform (without alpha) is optional.
    void placeObject(uint16_t character, uint16_t depth, const Matrix& matrix,
                     const ColourTransform* colourTransform = nullptr);
    void placeObject2(const Placement& placement);
    void removeObject(uint16_t character, uint16_t depth);
    void removeObject2(uint16_t depth);
    void doAction(const ActionWriter& actions);
    // A sprite whose body is `body`, closed with an End tag if it has none.
    void defineSprite(uint16_t id, const TagWriter& body);
    void showFrame();
    void end();
    // Any tag; `longHeader` forces the 32-bit length form.
    void tag(uint16_t code, const std::vector<uint8_t>& body, bool longHeader = false);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    int frameCount() const { return frames_; }
    bool ended() const { return ended_; }

private:
    std::vector<uint8_t> bytes_;
    int frames_ = 0;
    bool ended_ = false;
};

} // namespace swfwriter
