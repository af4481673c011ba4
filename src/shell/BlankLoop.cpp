#include "shell/BlankLoop.h"

#include "platform/Clock.h"
#include "shell/GLWindow.h"
#include "shell/ShellState.h"

#include <epoxy/gl.h>

namespace shell {

namespace {

// A black frame has nothing to show at a higher rate, and headless presents
// never wait for a display; pacing keeps the loop from taking a whole core.
constexpr int framePauseMilliseconds = 15;

} // namespace

int runBlankLoop()
{
    ShellState& state = shellState();
    for (;;) {
        PumpResult pumped = pumpMessage();
        if (pumped == PumpResult::Quit)
            return state.quitCode;
        if (pumped == PumpResult::Handled)
            continue;
        if (state.active) {
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glFlush();
            state.windowSystem->present();
        }
        if (escapeRequested())
            return 0;
        platform::sleepMilliseconds(framePauseMilliseconds);
    }
}

} // namespace shell
