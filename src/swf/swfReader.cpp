// The header, the tag stream and the timeline tags (placements, removals,
// actions, sprites). The definition tags are in swfReaderDefinitions.cpp.
#include "swf/swfReader.h"

#include "swf/swfMovie.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace {

enum TagCode : unsigned {
    codeEnd = 0,
    codeShowFrame = 1,
    codeDefineShape = 2,
    codePlaceObject = 4,
    codeRemoveObject = 5,
    codeDefineFont = 10,
    codeDefineText = 11,
    codeDoAction = 12,
    codeDefineFontInfo = 13,
    codeDefineShape2 = 22,
    codePlaceObject2 = 26,
    codeRemoveObject2 = 28,
    codeDefineShape3 = 32,
    codeDefineSprite = 39,
};

enum ActionCode : uint8_t { actionGetURL = 0x83, actionPush = 0x96 };

constexpr size_t headerSize = 8;
constexpr uint32_t minimumFileLength = 21;

uint32_t littleEndian32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The bytes the reader may look at: none unless the signature is the
// uncompressed "FWS" and the stated length is plausible, otherwise the
// stated length or what really exists, whichever is less.
size_t readableSize(const uint8_t* image, size_t size)
{
    if (!image || size < headerSize || image[0] != 'F' || image[1] != 'W' || image[2] != 'S')
        return 0;
    uint32_t length = littleEndian32(image + 4);
    if (length < minimumFileLength)
        return 0;
    return std::min<size_t>(length, size);
}

bool isFscommand(const std::string& s)
{
    static const char marker[] = "fscommand:";
    if (s.size() != sizeof marker - 1)
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != marker[i])
            return false;
    return true;
}

// Twips to whole pixels, truncated toward zero.
int32_t pixelSpan(int32_t from, int32_t to)
{
    return static_cast<int32_t>(std::trunc((double(to) - double(from)) * 0.05));
}

} // namespace

swfReader::swfReader(swfMovie& movie, const uint8_t* image, size_t size)
    : movie_(movie), input_(image, readableSize(image, size))
{
    if (input_.size() == 0 || !readHeader())
        return;
    readTagStream(0, input_.size());
    result_ = 1;
}

bool swfReader::readHeader()
{
    input_.seek(headerSize);
    swfRect frameSize = input_.rect();
    uint16_t frameRate = input_.ui16();
    uint16_t frameCount = input_.ui16();
    if (input_.failed())
        return false;
    // The rate is 8.8 fixed point; only its whole frames are kept.
    movie_.setHeader(pixelSpan(frameSize.xMin, frameSize.xMax), pixelSpan(frameSize.yMin, frameSize.yMax),
                     double(frameRate >> 8), frameCount);
    return true;
}

// One timeline: the main one at level 0, a sprite's body deeper. Its frames
// are appended to the movie's single list; its tags go into the frames
// counted from 0 by its own frame counter.
void swfReader::readTagStream(int level, size_t end)
{
    size_t frame = 0;
    movie_.appendFrame();
    for (;;) {
        input_.setLimit(end);
        input_.clearFailure();
        uint16_t header = input_.ui16();
        size_t length = header & 0x3F;
        if (length == 0x3F)
            length = input_.ui32();
        if (input_.failed() || length > end - input_.position()) {
            damaged_ = true;   // the data ends before this timeline's End tag
            return;
        }
        unsigned code = header >> 6;
        if (code == codeEnd)
            return;
        size_t tagEnd = input_.position() + length;
        if (code == codeShowFrame) {
            ++frame;
            movie_.appendFrame();
        } else {
            input_.setLimit(tagEnd);
            readTag(code, level, frame, tagEnd);
            damaged_ = damaged_ || input_.failed();
        }
        // Whatever a handler read, the next tag starts where this one ends.
        input_.seek(tagEnd);
    }
}

// Each handler reads its whole tag first and stores nothing if any read ran
// past the tag's end.
void swfReader::readTag(unsigned code, int level, size_t frame, size_t tagEnd)
{
    switch (code) {
    case codeDefineShape:
    case codeDefineShape2: readShape(false); break;
    case codeDefineShape3: readShape(true); break;
    case codePlaceObject: readPlaceObject(frame, tagEnd); break;
    case codePlaceObject2: readPlaceObject2(frame); break;
    case codeRemoveObject: readRemoveObject(frame, true); break;
    case codeRemoveObject2: readRemoveObject(frame, false); break;
    case codeDefineFont: readFont(); break;
    case codeDefineText: readText(); break;
    case codeDoAction: readDoAction(frame); break;
    case codeDefineFontInfo: readFontInfo(); break;
    case codeDefineSprite: readSprite(level, tagEnd); break;
    default: break;   // nothing else carries what playback uses
    }
}

void swfReader::readPlaceObject(size_t frame, size_t tagEnd)
{
    swfDisplayEvent event;
    event.code = swfDisplayEvent::place;
    event.characterId = input_.ui16();
    event.depth = input_.ui16();
    event.matrix = input_.matrix();
    if (input_.position() < tagEnd)
        event.colourTransform = input_.colourTransform(false);
    if (!input_.failed())
        movie_.addEvent(frame, event);
}

void swfReader::readPlaceObject2(size_t frame)
{
    enum : uint8_t { hasCharacter = 0x02, hasMatrix = 0x04, hasColourTransform = 0x08 };
    swfDisplayEvent event;
    event.code = swfDisplayEvent::place2;
    event.flags = input_.ui8();
    event.depth = input_.ui16();
    if (event.flags & hasCharacter)
        event.characterId = input_.ui16();
    if (event.flags & hasMatrix)
        event.matrix = input_.matrix();
    if (event.flags & hasColourTransform)
        event.colourTransform = input_.colourTransform(true);
    // A placement that neither moves nor tints adds nothing, even with a
    // character id.
    if (!(event.flags & (hasMatrix | hasColourTransform)) || input_.failed())
        return;
    movie_.addEvent(frame, event);
}

// RemoveObject names the character and the depth, RemoveObject2 only the
// depth; both become the same removal event.
void swfReader::readRemoveObject(size_t frame, bool withCharacter)
{
    swfDisplayEvent event;
    event.code = swfDisplayEvent::remove;
    if (withCharacter)
        event.characterId = input_.ui16();
    event.depth = input_.ui16();
    if (!input_.failed())
        movie_.addEvent(frame, event);
}

// GetURL targets become commands as they come; a block that pushed the
// string "fscommand:" (in any letter case) also yields its last pushed
// string, after them. Only the first value of a Push record counts.
void swfReader::readDoAction(size_t frame)
{
    std::vector<std::string> commands;
    std::string lastPushed;
    bool pushedFscommand = false;
    for (;;) {
        uint8_t code = input_.ui8();
        if (input_.failed() || code == 0)
            break;
        if (code < 0x80)
            continue;
        uint16_t length = input_.ui16();
        size_t recordEnd = input_.position() + length;
        if (code == actionGetURL) {
            input_.string();   // the url plays no part
            commands.push_back(input_.string());
        } else if (code == actionPush && input_.ui8() == 0) {
            std::string value = input_.string();
            if (!value.empty())
                lastPushed = value;
            pushedFscommand = pushedFscommand || isFscommand(value);
        }
        input_.seek(recordEnd);
    }
    if (input_.failed())
        return;
    if (pushedFscommand)
        commands.push_back(lastPushed);
    for (const std::string& command : commands)
        movie_.addCommand(frame, command);
}

void swfReader::readSprite(int level, size_t tagEnd)
{
    input_.ui16();   // sprite id
    input_.ui16();   // frame count
    if (input_.failed())
        return;
    if (level + 1 > maxSpriteNesting) {
        damaged_ = true;
        return;
    }
    readTagStream(level + 1, tagEnd);
    input_.clearFailure();   // the body reported its own damage
}
