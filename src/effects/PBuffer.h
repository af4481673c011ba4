// PBuffer: an off-screen drawing surface with a GL context of its own that
// shares textures with the main context. A pass makes it current, draws,
// copies the result into a CopyScreen texture while still current, and
// restores the main context, where that texture is then usable.
//
// The driver refusing a surface, or a switch to or from it, ends the process
// with exit code -1: the show has no path without its render targets.
#pragma once

#include "platform/OffscreenSurface.h"

#include <memory>

class PBuffer {
public:
    PBuffer(int width, int height);
    ~PBuffer();
    PBuffer(const PBuffer&) = delete;
    PBuffer& operator=(const PBuffer&) = delete;

    // Creates the surface; the size becomes the one the driver reports.
    // Surfaces always share objects with the main context here, since that
    // is the only way the show uses them; `shareTextures` is kept for the
    // callers' sake.
    void create(bool shareTextures);
    void makeCurrent();
    void restore();
    void destroy();

    int width;
    int height;

private:
    std::unique_ptr<platform::OffscreenSurface> surface;
};
