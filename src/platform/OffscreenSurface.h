// Off-screen drawing surfaces that share textures, display lists and
// programs with the show's main context: the platform's stand-in for
// pbuffers. Each surface is a GL context of its own (so its viewport,
// matrices and enables are separate from the window's) drawing into its own
// framebuffer object with a depth buffer.
//
// The window system in use installs the provider once its context exists;
// render targets ask it for surfaces and for the way back to the main
// context.
#pragma once

#include <memory>

namespace platform {

class OffscreenSurface {
public:
    virtual ~OffscreenSurface() = default;
    // Makes the surface's context current with its framebuffer bound.
    virtual bool makeCurrent() = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class SurfaceProvider {
public:
    virtual ~SurfaceProvider() = default;
    // A new surface of width x height sharing objects with the main context;
    // null when the driver refuses. Does not change the current context.
    virtual std::unique_ptr<OffscreenSurface> createSharedSurface(int width, int height) = 0;
    // Makes the main context (and its screen) current again.
    virtual bool makeMainCurrent() = 0;
};

// The provider of the running window system; null before a context exists.
SurfaceProvider* surfaceProvider();
void setSurfaceProvider(SurfaceProvider* provider);

} // namespace platform
