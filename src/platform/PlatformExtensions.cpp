#include "platform/PlatformExtensions.h"

#include "platform/WindowSystem.h"

#include <epoxy/gl.h>

namespace platform {

std::string platformExtensionNames(WindowSystem& windows)
{
    std::string names = "WGL_ARB_pixel_format";
    if (epoxy_gl_version() >= 30 || epoxy_has_gl_extension("GL_ARB_framebuffer_object") ||
        epoxy_has_gl_extension("GL_EXT_framebuffer_object"))
        names += " WGL_ARB_pbuffer";
    // SDL has no question for this; setting it is the only way to know.
    if (windows.setSwapInterval(1))
        names += " WGL_EXT_swap_control";
    return names;
}

} // namespace platform
