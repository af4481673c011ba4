#include "platform/HeadlessWindowSystem.h"

#include <cstdio>

namespace platform {

bool HeadlessWindowSystem::createWindow(const std::string&, int width, int height, int, const IconImage&)
{
    width_ = width;
    height_ = height;
    return width > 0 && height > 0;
}

bool HeadlessWindowSystem::createContext()
{
    std::string error;
    context_ = HeadlessContext::create(width_, height_, error);
    if (!context_) {
        std::fprintf(stderr, "glint: headless OpenGL: %s\n", error.c_str());
        return false;
    }
    surfaces_ = std::make_unique<HeadlessSurfaceProvider>(*context_);
    setSurfaceProvider(surfaces_.get());
    return true;
}

bool HeadlessWindowSystem::makeCurrent() { return context_ && context_->makeCurrent(); }

bool HeadlessWindowSystem::releaseCurrent() { return HeadlessContext::releaseCurrent(); }

bool HeadlessWindowSystem::deleteContext()
{
    setSurfaceProvider(nullptr);
    surfaces_.reset();
    context_.reset();
    return true;
}

void HeadlessWindowSystem::present()
{
    if (context_)
        context_->present();
}

} // namespace platform
