#include "platform/SdlLibrary.h"

#include <SDL.h>

#include <cstdlib>

namespace platform {

bool initSdlSubsystem(uint32_t flags)
{
    if (SDL_InitSubSystem(flags) != 0)
        return false;
    static const bool quitAtExit = std::atexit(SDL_Quit) == 0;
    (void)quitAtExit;
    return true;
}

} // namespace platform
