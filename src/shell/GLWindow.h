// The show's one window: created borderless with its OpenGL context (full
// screen through a display-mode change when asked, with a windowed fallback
// the user agrees to), and torn down again in a fixed order. Every failure is
// told with a message box; teardown failures never stop the teardown.
//
// Works on the window system in shellState(), which the caller installs
// first. The window procedure keeps the key table, the active flag and the
// projection up to date and forwards typed characters to the show.
#pragma once

#include "platform/WindowSystem.h"

#include <string>

namespace shell {

// Opens the window and runs shellState().initShow once its context is
// current. Returns false, after its message, when anything fails.
bool createGLWindow(const std::string& title, int width, int height, int bits, bool fullScreen);

// Releases the show, the context, the window, the display mode and the
// window class, whatever of them exists; safe on a partly created window.
void killGLWindow();

// Viewport (0, 0, width, height) with a height of 0 taken as 1, a 45 degree
// perspective for width / height between 0.1 and 100, identity model-view.
void resizeGLScene(int width, int height);

// What the window does with one of its messages.
void windowProcedure(const platform::WindowEvent& event);

enum class PumpResult { Idle, Handled, Quit };
// One pass of the message pump: handles the next waiting message if there is
// one; Quit once a quit has been posted (the window was closed).
PumpResult pumpMessage();

// The key `code` is down, or was pressed since the frame loop last called
// forgetKeyTaps.
bool keyHit(int code);
void forgetKeyTaps();

// Escape or F2 was hit, or a stop signal arrived (the Escape of runs that
// have no keyboard).
bool escapeRequested();

} // namespace shell
