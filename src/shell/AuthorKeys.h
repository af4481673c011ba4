// The keys of author mode (--author): they move about the running show and
// toggle the on-screen line. Each is a key press (virtual-key code) that
// the show gives no meaning: not Escape, F2, keypad minus, nor a letter
// that a scene or an accent reads as a typed character ("a", "b", "c", "d",
// "i", "j", "k", "m", "q", "r", "s", "w", "x", "z", space).
#pragma once

class Demo;

namespace shell {

enum class AuthorAction {
    None,
    Pause,          // P: pause and resume, music and picture together
    BeatBack,       // Left: to the whole beat before
    BeatForward,    // Right: to the next whole beat
    PreviousScene,  // Page Up: to the start of the scene before
    NextScene,      // Page Down: to the start of the scene after
    SceneStart,     // Home: back to the running scene's start
    ToggleLine,     // L: the on-screen line on and off
};

AuthorAction authorActionOf(int virtualKey);

// Carries out a moving action on the show (ToggleLine and None do nothing
// here).
void applyAuthorAction(Demo& demo, AuthorAction action);

// The keys for --help, one indented line each.
extern const char authorKeysHelp[];

} // namespace shell
