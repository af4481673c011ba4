#include "effects/PBuffer.h"

#include <cstdlib>

namespace {

[[noreturn]] void driverRefused()
{
    std::exit(-1);
}

platform::SurfaceProvider& provider()
{
    platform::SurfaceProvider* p = platform::surfaceProvider();
    if (p == nullptr)
        driverRefused();
    return *p;
}

} // namespace

PBuffer::PBuffer(int width, int height) : width(width), height(height) {}

PBuffer::~PBuffer() { destroy(); }

void PBuffer::create(bool)
{
    surface = provider().createSharedSurface(width, height);
    if (!surface)
        driverRefused();
    width = surface->width();
    height = surface->height();
}

void PBuffer::makeCurrent()
{
    if (!surface || !surface->makeCurrent())
        driverRefused();
}

void PBuffer::restore()
{
    if (!provider().makeMainCurrent())
        driverRefused();
}

void PBuffer::destroy()
{
    surface.reset();
}
