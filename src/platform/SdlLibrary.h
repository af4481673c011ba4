// SDL as a whole. The show starts SDL's subsystems one at a time where they
// are needed (video, audio); the library itself is shut down when the
// process exits, so what SDL's core set up for them (its D-Bus connection
// among others) is released instead of being left for the leak checker.
#pragma once

#include <cstdint>

namespace platform {

// SDL_InitSubSystem(flags); the first success arranges SDL_Quit at exit.
// False with SDL's error left in SDL_GetError.
bool initSdlSubsystem(uint32_t flags);

} // namespace platform
