#include "platform/OffscreenSurface.h"

namespace platform {

static SurfaceProvider* currentProvider = nullptr;

SurfaceProvider* surfaceProvider() { return currentProvider; }
void setSurfaceProvider(SurfaceProvider* provider) { currentProvider = provider; }

} // namespace platform
