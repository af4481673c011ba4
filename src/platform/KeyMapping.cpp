#include "platform/KeyMapping.h"

#include <SDL.h>

namespace platform {

namespace {

struct KeyCode {
    SDL_Keycode sdl;
    int virtualKey;
};

// Keys outside the contiguous letter, digit and function-key ranges.
const KeyCode namedKeys[] = {
    {SDLK_BACKSPACE, 8},   {SDLK_TAB, 9},          {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},     {SDLK_RSHIFT, 16},      {SDLK_LCTRL, 17},      {SDLK_RCTRL, 17},
    {SDLK_PAUSE, 19},      {SDLK_CAPSLOCK, 20},    {SDLK_ESCAPE, 27},     {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},     {SDLK_PAGEDOWN, 34},    {SDLK_END, 35},        {SDLK_HOME, 36},
    {SDLK_LEFT, 37},       {SDLK_UP, 38},          {SDLK_RIGHT, 39},      {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45},     {SDLK_DELETE, 46},
    {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},  {SDLK_KP_MINUS, 109},  {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111}, {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},
    // Punctuation keys of a US layout.
    {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187},     {SDLK_COMMA, 188},     {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},    {SDLK_SLASH, 191},      {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};

// SDL numbers the keypad digits 1-9 then 0; the show's codes run 96 (0) to 105 (9).
int keypadDigit(SDL_Keycode key)
{
    if (key == SDLK_KP_0)
        return 0;
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 1 + static_cast<int>(key - SDLK_KP_1);
    return -1;
}

} // namespace

int virtualKeyOf(int32_t sdlKeycode)
{
    SDL_Keycode key = sdlKeycode;
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + static_cast<int>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + static_cast<int>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 112 + static_cast<int>(key - SDLK_F1);
    if (int digit = keypadDigit(key); digit >= 0)
        return 96 + digit;
    for (const KeyCode& named : namedKeys)
        if (named.sdl == key)
            return named.virtualKey;
    return 0;
}

int controlCharacterOf(int virtualKey)
{
    switch (virtualKey) {
    case 8:
    case 9:
    case 13:
    case 27: return virtualKey;
    default: return 0;
    }
}

std::vector<int> charactersOfText(const std::string& utf8)
{
    std::vector<int> characters;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            characters.push_back(lead);
            i += 1;
            continue;
        }
        // Latin-1 above 127 is the two-byte sequences led by 0xC2 and 0xC3.
        bool twoByteLatin1 = (lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size()
            && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        if (twoByteLatin1) {
            characters.push_back(((lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            i += 2;
            continue;
        }
        // Skip the whole sequence (or the stray byte) of anything else.
        i += 1;
        while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            i += 1;
    }
    return characters;
}

} // namespace platform
