// The window system of runs without a screen: no window and no messages; the
// "window" is a HeadlessContext whose framebuffer object of the window's size
// is the screen. The display mode cannot change (there is no display), so a
// full-screen request falls back to the windowed path.
#pragma once

#include "platform/HeadlessContext.h"
#include "platform/HeadlessSurfaceProvider.h"
#include "platform/WindowSystem.h"

namespace platform {

class HeadlessWindowSystem : public WindowSystem {
public:
    bool hasScreen() const override { return false; }

    bool registerClass() override { return true; }
    bool changeDisplayMode(int, int, int) override { return false; }
    void showCursor(bool) override {}
    bool createWindow(const std::string& title, int width, int height, int bits, const IconImage& icon) override;
    bool createContext() override;
    bool makeCurrent() override;
    void showCentred() override {}

    bool releaseCurrent() override;
    bool deleteContext() override;
    bool destroyWindow() override { return true; }
    void restoreDisplayMode() override {}
    bool unregisterClass() override { return true; }

    bool pollEvent(WindowEvent&) override { return false; }
    void present() override;
    // There is no display to wait for.
    bool setSwapInterval(int) override { return false; }

private:
    std::unique_ptr<HeadlessContext> context_;
    std::unique_ptr<HeadlessSurfaceProvider> surfaces_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace platform
