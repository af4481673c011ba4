#include "platform/KeyMapping.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(KeyMappingTest, SdlKeysGiveTheShowsVirtualKeyCodes)
{
    struct Case {
        SDL_Keycode key;
        int virtualKey;
    };
    const Case cases[] = {
        // The keys the show reacts to.
        {SDLK_ESCAPE, 27}, {SDLK_F2, 113}, {SDLK_KP_MINUS, 109}, {SDLK_SPACE, 32},
        // Letters in upper case, whatever the key types; digits as themselves.
        {SDLK_a, 'A'}, {SDLK_m, 'M'}, {SDLK_z, 'Z'}, {SDLK_0, '0'}, {SDLK_9, '9'},
        // Function keys and the keypad, whose SDL order differs (1-9, then 0).
        {SDLK_F1, 112}, {SDLK_F12, 123}, {SDLK_KP_0, 96}, {SDLK_KP_1, 97}, {SDLK_KP_9, 105},
        {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107}, {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111},
        {SDLK_KP_ENTER, 13}, {SDLK_RETURN, 13}, {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},
        {SDLK_LSHIFT, 16}, {SDLK_RSHIFT, 16}, {SDLK_LCTRL, 17}, {SDLK_RCTRL, 17},
        {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40},
        {SDLK_MINUS, 189}, {SDLK_PERIOD, 190}, {SDLK_QUOTE, 222},
        // Keys the show has no code for.
        {SDLK_UNKNOWN, 0}, {SDLK_F13, 0}, {SDLK_MUTE, 0}, {SDLK_LGUI, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.key));
        EXPECT_EQ(platform::virtualKeyOf(c.key), c.virtualKey);
    }
}

TEST(KeyMappingTest, OnlyControlKeysTypeCharactersOfTheirOwn)
{
    for (int key = 0; key < 256; ++key) {
        SCOPED_TRACE(key);
        bool control = key == 8 || key == 9 || key == 13 || key == 27;
        EXPECT_EQ(platform::controlCharacterOf(key), control ? key : 0);
    }
}

TEST(KeyMappingTest, TextBecomesLatin1CharacterCodes)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::vector<int> characters;
    };
    const Case cases[] = {
        {"ascii", "am-", {'a', 'm', '-'}},
        {"latin-1", "\xC3\xA9\xC2\xA0\xC3\xBF", {0xE9, 0xA0, 0xFF}},
        {"beyond latin-1 dropped", "a\xE2\x82\xAC" "b\xF0\x9F\x98\x80" "c", {'a', 'b', 'c'}},
        {"stray continuation bytes", "\x80\xBFx", {'x'}},
        {"truncated sequence", "x\xC3", {'x'}},
        {"lead without continuation", "\xC3y", {'y'}},
        {"overlong encoding", "\xC0\xAFz", {'z'}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::charactersOfText(c.utf8), c.characters);
    }
}
