// The window-system extension names that stand in for the show's WGL ones,
// for the capability check: "WGL_ARB_pixel_format" always (every context
// here has a fixed RGBA pixel format), "WGL_ARB_pbuffer" when framebuffer
// objects exist (off-screen surfaces are built on them) and
// "WGL_EXT_swap_control" when the window system can set a swap interval.
//
// Needs the window's context current. Asking whether a swap interval can be
// set sets it to 1, the interval the show asks for anyway.
#pragma once

#include <string>

namespace platform {

class WindowSystem;

// The names, separated by single blanks.
std::string platformExtensionNames(WindowSystem& windows);

} // namespace platform
