#include "shell/GLWindow.h"

#include "platform/MessageBox.h"
#include "platform/StopSignal.h"
#include "shell/ProgramIcon.h"
#include "shell/ShellState.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cassert>

namespace shell {

namespace {

constexpr int keyEscape = 27;
constexpr int keyF2 = 113;

void creationError(const char* text) { platform::showMessage(text, "ERROR", platform::MessageIcon::Exclamation); }

void shutdownError(const char* text) { platform::showMessage(text, "SHUTDOWN ERROR", platform::MessageIcon::Information); }

// Full screen needs a display mode of exactly the window's size; without one
// the user may take a window instead. False when the user declines.
bool enterFullScreen(platform::WindowSystem& windows, int width, int height, int bits)
{
    ShellState& state = shellState();
    if (windows.changeDisplayMode(width, height, bits)) {
        state.fullScreenInUse = true;
        windows.showCursor(false);
        return true;
    }
    state.fullScreenInUse = false;
    if (platform::askYesNo("The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                           "Kelp GL", platform::MessageIcon::Exclamation, true))
        return true;
    platform::showMessage("Program Will Now Close.", "ERROR", platform::MessageIcon::Stop);
    return false;
}

// The window and its current context; false after the message of the step
// that failed (the window system chooses the pixel format while it creates
// the window and the context, so those are the steps that can fail).
bool openWindowAndContext(platform::WindowSystem& windows, const std::string& title, int width, int height, int bits)
{
    ShellState& state = shellState();
    if (!windows.createWindow(title, width, height, bits, programIcon())) {
        killGLWindow();
        creationError("Window Creation Error.");
        return false;
    }
    state.windowCreated = true;
    if (!windows.createContext()) {
        killGLWindow();
        creationError("Can't Create A GL Rendering Context.");
        return false;
    }
    state.contextCreated = true;
    if (!windows.makeCurrent()) {
        killGLWindow();
        creationError("Can't Activate The GL Rendering Context.");
        return false;
    }
    return true;
}

} // namespace

bool createGLWindow(const std::string& title, int width, int height, int bits, bool fullScreen)
{
    ShellState& state = shellState();
    assert(state.windowSystem && "createGLWindow needs a window system");
    platform::WindowSystem& windows = *state.windowSystem;
    state.active = true;
    state.quitPosted = false;

    if (!windows.registerClass()) {
        creationError("Failed To Register The Window Class.");
        return false;
    }
    state.classRegistered = true;
    if (fullScreen && !enterFullScreen(windows, width, height, bits)) {
        killGLWindow(); // gives back the class; nothing else exists yet
        return false;
    }
    if (!openWindowAndContext(windows, title, width, height, bits))
        return false;
    windows.showCentred();
    resizeGLScene(width, height);
    if (!state.initShow()) {
        killGLWindow();
        creationError("Initialization Failed.");
        return false;
    }
    return true;
}

void killGLWindow()
{
    ShellState& state = shellState();
    state.releaseShow();
    if (!state.windowSystem)
        return;
    platform::WindowSystem& windows = *state.windowSystem;
    // Each handle is given up once, whether or not its release worked, so a
    // second teardown never releases anything twice.
    if (state.contextCreated) {
        if (!windows.releaseCurrent())
            shutdownError("Release Of DC And RC mFailed.");
        if (!windows.deleteContext())
            shutdownError("Release Rendering Context Failed.");
        state.contextCreated = false;
    }
    if (state.windowCreated) {
        if (!windows.destroyWindow())
            shutdownError("Could Not Release hWnd.");
        state.windowCreated = false;
    }
    if (state.fullScreenInUse) {
        windows.restoreDisplayMode();
        windows.showCursor(true);
        state.fullScreenInUse = false;
    }
    if (state.classRegistered) {
        if (!windows.unregisterClass())
            shutdownError("Could Not Unregister Class.");
        state.classRegistered = false;
    }
}

void resizeGLScene(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / height, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void windowProcedure(const platform::WindowEvent& event)
{
    using Type = platform::WindowEvent::Type;
    ShellState& state = shellState();
    // Codes outside the table come from no key the show knows.
    bool inTable = event.code >= 0 && event.code < static_cast<int>(state.keys.size());
    switch (event.type) {
    case Type::Activate: state.active = !event.minimised; break;
    case Type::Close:
        state.quitPosted = true;
        state.quitCode = 0;
        break;
    case Type::KeyDown:
        if (inTable) {
            state.onKeyDown(event.code);
            state.keys[event.code] = 1;
            state.tapped[event.code] = 1;
        }
        break;
    case Type::KeyUp:
        if (inTable)
            state.keys[event.code] = 0;
        break;
    case Type::Character:
        if (inTable) {
            state.onCharacter(event.code);
            state.keys[event.code] = 1;
            state.tapped[event.code] = 1;
        }
        break;
    case Type::Size: resizeGLScene(event.width, event.height); break;
    }
}

PumpResult pumpMessage()
{
    ShellState& state = shellState();
    if (state.quitPosted)
        return PumpResult::Quit;
    platform::WindowEvent event;
    if (!state.windowSystem || !state.windowSystem->pollEvent(event))
        return PumpResult::Idle;
    windowProcedure(event);
    return PumpResult::Handled;
}

bool keyHit(int code)
{
    const ShellState& state = shellState();
    return state.keys[static_cast<size_t>(code)] || state.tapped[static_cast<size_t>(code)];
}

void forgetKeyTaps() { shellState().tapped.fill(0); }

bool escapeRequested() { return keyHit(keyEscape) || keyHit(keyF2) || platform::stopRequested(); }

} // namespace shell
