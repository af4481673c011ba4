// The shell's process-wide state: the window system and which of its handles
// exist, the display-mode flag, the active flag, the 256-entry key table and
// the hooks through which the show plugs into the window. The window code
// (GLWindow.h) changes it; the frame loop reads the key table and the active
// flag, and sets the hooks before the window is created.
#pragma once

#include "platform/WindowSystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace shell {

struct ShellState {
    // The window system of the run; owned here for the whole run.
    std::unique_ptr<platform::WindowSystem> windowSystem;

    // The handles of the one window: true while the thing exists.
    bool classRegistered = false;
    bool windowCreated = false;
    bool contextCreated = false;

    bool fullScreenInUse = false; // the display mode was changed
    bool active = true;           // false while the window is minimised

    // Indexed by virtual-key code or character code; 1 = down.
    std::array<uint8_t, 256> keys{};
    // Pressed since the frame loop last looked: a key pressed and released
    // between two frames (a quick tap, a remote desktop, xdotool) still
    // counts once.
    std::array<uint8_t, 256> tapped{};

    // A quit was posted (the window was closed) with this exit code.
    bool quitPosted = false;
    int quitCode = 0;

    // Runs once the context is current, as the last step of createGLWindow;
    // false fails the window. Until the show exists it just succeeds.
    std::function<bool()> initShow = [] { return true; };
    // First step of killGLWindow: closes a running capture and deletes the
    // show while its context is still current.
    std::function<void()> releaseShow = [] {};
    // Receives every typed character (code 0-255) before the key table does.
    std::function<void(int character)> onCharacter = [](int) {};
    // Receives every key press (virtual-key code 0-255, repeats included)
    // before the key table does.
    std::function<void(int virtualKey)> onKeyDown = [](int) {};
};

ShellState& shellState();

} // namespace shell
