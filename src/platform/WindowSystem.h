// The windowing system under the show's one window: the steps that make and
// unmake a window with its OpenGL context, the message queue, and
// presenting. The shell drives the steps in its own order and reports each
// failure with its own message, so every step says whether it worked and
// none of them shows anything.
//
// Two implementations: SDL2 (a real window, when a screen exists) and
// headless (an EGL surfaceless context whose framebuffer object is the
// screen, for runs without a display). Tests substitute a recording fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One message of the window, already in the show's terms.
struct WindowEvent {
    enum class Type {
        Close,     // the user or the window manager asked the window to close
        Activate,  // focus or minimised state changed; see `minimised`
        KeyDown,   // `code` = virtual-key code
        KeyUp,     // `code` = virtual-key code
        Character, // `code` = character code (0-255)
        Size,      // new client size in `width` x `height`
    };
    Type type = Type::Close;
    int code = 0;
    int width = 0;
    int height = 0;
    bool minimised = false;
};

// Pixels of the window icon: `size` x `size` RGBA bytes, rows from the top.
struct IconImage {
    int size = 0;
    std::vector<uint8_t> rgba;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Whether message boxes and dialogs can be shown.
    virtual bool hasScreen() const = 0;

    // Creation steps, in the order the shell calls them.
    virtual bool registerClass() = 0;
    // Switches the display to width x height at `bits` per pixel for a
    // full-screen window; false when the display does not offer that mode.
    virtual bool changeDisplayMode(int width, int height, int bits) = 0;
    virtual void showCursor(bool visible) = 0;
    // A borderless window at (0, 0), not yet shown; full screen when the
    // display mode was changed. The pixel format is fixed here: RGBA with
    // `bits` colour bits, 24 (at least 16) depth bits, a stencil bit, double
    // buffered.
    virtual bool createWindow(const std::string& title, int width, int height, int bits,
                              const IconImage& icon) = 0;
    virtual bool createContext() = 0;
    virtual bool makeCurrent() = 0;
    // Centres the window on the desktop, shows it, brings it to the
    // foreground with keyboard focus, and keeps the screen saver and monitor
    // power-down off while it exists.
    virtual void showCentred() = 0;

    // Teardown steps, in the order the shell calls them.
    virtual bool releaseCurrent() = 0;
    virtual bool deleteContext() = 0;
    virtual bool destroyWindow() = 0;
    // Back to the desktop's own display mode.
    virtual void restoreDisplayMode() = 0;
    virtual bool unregisterClass() = 0;

    // Removes the next waiting message, if any.
    virtual bool pollEvent(WindowEvent& event) = 0;
    // Shows the finished frame (swaps buffers; headless: finishes drawing).
    virtual void present() = 0;
    // Sets how many display refreshes a present waits for; false where the
    // driver cannot.
    virtual bool setSwapInterval(int interval) = 0;
};

// The SDL2 window system when a video display can be opened (and `headless`
// is not asked for), otherwise the headless one. `note` says why a run went
// headless on its own (empty otherwise).
std::unique_ptr<WindowSystem> openWindowSystem(bool headless, std::string& note);

} // namespace platform
