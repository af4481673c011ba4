// Off-screen surfaces for the SDL2 window: further GL contexts made on the
// window with object sharing, each drawing into its own framebuffer object
// (colour + depth) instead of the window. Does not own the window or its
// context, which must outlive every surface.
#pragma once

#include "platform/OffscreenSurface.h"

#include <SDL.h>

namespace platform {

class SdlSurfaceProvider : public SurfaceProvider {
public:
    SdlSurfaceProvider(SDL_Window* window, SDL_GLContext mainContext) : window_(window), main_(mainContext) {}

    std::unique_ptr<OffscreenSurface> createSharedSurface(int width, int height) override;
    bool makeMainCurrent() override { return SDL_GL_MakeCurrent(window_, main_) == 0; }

private:
    SDL_Window* window_;
    SDL_GLContext main_;
};

} // namespace platform
