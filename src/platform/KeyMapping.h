// Keyboard codes as the show knows them: the virtual-key codes of its home
// platform for key down / key up (Escape 27, F2 113, keypad minus 109,
// letters 65-90 whatever the case, digits 48-57, space 32, ...) and 8-bit
// character codes for typed characters. The show indexes its 256-entry key
// table with both, so the values must match exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The virtual-key code of an SDL keycode (SDL_Keycode), or 0 when the show
// has no code for that key.
int virtualKeyOf(int32_t sdlKeycode);

// The character that pressing a key types without the text-input path: the
// control characters Backspace 8, Tab 9, Enter 13 and Escape 27. 0 for keys
// whose characters arrive as text input (or that type nothing).
int controlCharacterOf(int virtualKey);

// The character codes of a UTF-8 text-input string: one code per character,
// Latin-1 values (0-255) only; characters beyond Latin-1 and malformed bytes
// are dropped, since the key table has no entry for them.
std::vector<int> charactersOfText(const std::string& utf8);

} // namespace platform
