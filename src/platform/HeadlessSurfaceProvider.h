// Off-screen surfaces for a headless main context: further EGL contexts
// sharing the main one's objects, each with its own framebuffer object.
// Does not own the main context, which must outlive it.
#pragma once

#include "platform/HeadlessContext.h"
#include "platform/OffscreenSurface.h"

namespace platform {

class HeadlessSurfaceProvider : public SurfaceProvider {
public:
    explicit HeadlessSurfaceProvider(HeadlessContext& main) : main_(main) {}

    std::unique_ptr<OffscreenSurface> createSharedSurface(int width, int height) override;
    bool makeMainCurrent() override { return main_.makeCurrent(); }

private:
    HeadlessContext& main_;
};

} // namespace platform
