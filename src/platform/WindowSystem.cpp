#include "platform/WindowSystem.h"

#include "platform/HeadlessWindowSystem.h"
#include "platform/MessageBox.h"
#include "platform/SdlLibrary.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// SDL falls back to drivers that draw where nobody sees it (offscreen, dummy);
// a run on one of those has no screen and is better off headless. Unless the
// user picked a driver, only those that show something are tried, one at a
// time, Wayland only where it can have a socket (probing it elsewhere only
// prints noise). Returns false with SDL's reasons in `error`.
bool initVisibleVideo(std::string& error)
{
    if (std::getenv("SDL_VIDEODRIVER")) {
        if (initSdlSubsystem(SDL_INIT_VIDEO))
            return true;
        error = SDL_GetError();
        return false;
    }
    std::vector<const char*> drivers{"x11"};
    if (std::getenv("XDG_RUNTIME_DIR"))
        drivers.push_back("wayland");
    drivers.push_back("KMSDRM");
    for (const char* driver : drivers) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (initSdlSubsystem(SDL_INIT_VIDEO))
            return true;
        error += (error.empty() ? "" : "; ") + std::string(SDL_GetError());
    }
    return false;
}

bool drawsOnAScreen()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

} // namespace

std::unique_ptr<WindowSystem> openWindowSystem(bool headless, std::string& note)
{
    note.clear();
    if (!headless) {
        // The show records SIGINT and SIGTERM itself (StopSignal.h).
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        std::string error;
        if (!initVisibleVideo(error)) {
            note = "no video display (" + error + "), running headless";
        } else if (!drawsOnAScreen()) {
            note = std::string("the video driver '") + SDL_GetCurrentVideoDriver() + "' has no screen, running headless";
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        } else {
            setMessageDialogsEnabled(true);
            return std::make_unique<SdlWindowSystem>();
        }
    }
    setMessageDialogsEnabled(false);
    return std::make_unique<HeadlessWindowSystem>();
}

} // namespace platform
