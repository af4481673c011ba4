// The window system on SDL2: one borderless window with an OpenGL
// compatibility context (2.1 or later), full screen through a real display
// mode change where the display offers the mode. Messages come from SDL's
// event queue, translated into the show's key and character codes.
//
// Constructed by openWindowSystem once SDL's video subsystem is up; the
// object keeps that subsystem alive until it is destroyed.
#pragma once

#include "platform/SdlSurfaceProvider.h"
#include "platform/WindowSystem.h"

#include <SDL.h>

#include <deque>
#include <memory>

namespace platform {

class SdlWindowSystem : public WindowSystem {
public:
    SdlWindowSystem() = default;
    ~SdlWindowSystem() override;

    bool hasScreen() const override { return true; }

    bool registerClass() override;
    bool changeDisplayMode(int width, int height, int bits) override;
    void showCursor(bool visible) override;
    bool createWindow(const std::string& title, int width, int height, int bits, const IconImage& icon) override;
    bool createContext() override;
    bool makeCurrent() override;
    void showCentred() override;

    bool releaseCurrent() override;
    bool deleteContext() override;
    bool destroyWindow() override;
    void restoreDisplayMode() override;
    bool unregisterClass() override;

    bool pollEvent(WindowEvent& event) override;
    void present() override;
    bool setSwapInterval(int interval) override;

private:
    void translate(const SDL_Event& sdlEvent);
    void setIcon(const IconImage& icon);

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool fullScreen_ = false;
    SDL_DisplayMode fullScreenMode_{};
    std::deque<WindowEvent> pending_;
    std::unique_ptr<SdlSurfaceProvider> surfaces_;
};

} // namespace platform
