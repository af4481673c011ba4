#include "platform/HeadlessSurfaceProvider.h"

#include <cstdio>
#include <string>

namespace platform {

namespace {

class HeadlessSurface : public OffscreenSurface {
public:
    explicit HeadlessSurface(std::unique_ptr<HeadlessContext> context) : context_(std::move(context)) {}
    bool makeCurrent() override { return context_->makeCurrent(); }
    int width() const override { return context_->width(); }
    int height() const override { return context_->height(); }

private:
    std::unique_ptr<HeadlessContext> context_;
};

} // namespace

std::unique_ptr<OffscreenSurface> HeadlessSurfaceProvider::createSharedSurface(int width, int height)
{
    std::string error;
    std::unique_ptr<HeadlessContext> context = main_.createShared(width, height, error);
    if (!context) {
        std::fprintf(stderr, "glint: off-screen surface %dx%d: %s\n", width, height, error.c_str());
        return nullptr;
    }
    return std::make_unique<HeadlessSurface>(std::move(context));
}

} // namespace platform
