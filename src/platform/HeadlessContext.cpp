#include "platform/HeadlessContext.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace platform {

namespace {

EGLDisplay surfacelessDisplay(std::string& error)
{
    static EGLDisplay display = EGL_NO_DISPLAY;
    if (display != EGL_NO_DISPLAY)
        return display;
    auto getPlatformDisplay = reinterpret_cast<EGLDisplay (*)(EGLenum, void*, const EGLint*)>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay candidate = getPlatformDisplay
        ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
        : EGL_NO_DISPLAY;
    if (candidate == EGL_NO_DISPLAY) {
        error = "no EGL surfaceless display (is Mesa's libegl-mesa0 installed?)";
        return EGL_NO_DISPLAY;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(candidate, &major, &minor)) {
        error = "eglInitialize failed on the surfaceless display";
        return EGL_NO_DISPLAY;
    }
    // The display stays initialised for the whole process: contexts come and
    // go (tests make many), and re-initialising Mesa each time is slow.
    display = candidate;
    return display;
}

EGLContext createEglContext(EGLDisplay display, EGLContext shareWith, std::string& error)
{
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = "eglBindAPI(EGL_OPENGL_API) failed";
        return EGL_NO_CONTEXT;
    }
    const EGLint configAttributes[] = {
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_SURFACE_TYPE, 0,
        EGL_NONE,
    };
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        config = nullptr; // EGL_KHR_no_config_context: Mesa accepts a null config
    }
    const EGLint contextAttributes[] = {
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
        EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, config, shareWith, contextAttributes);
    if (context == EGL_NO_CONTEXT)
        error = "eglCreateContext failed for an OpenGL compatibility context";
    return context;
}

} // namespace

std::unique_ptr<HeadlessContext> HeadlessContext::create(int width, int height, std::string& error)
{
    EGLDisplay display = surfacelessDisplay(error);
    if (display == EGL_NO_DISPLAY)
        return nullptr;
    EGLContext context = createEglContext(display, EGL_NO_CONTEXT, error);
    if (context == EGL_NO_CONTEXT)
        return nullptr;
    std::unique_ptr<HeadlessContext> result(new HeadlessContext);
    result->display_ = display;
    result->context_ = context;
    result->width_ = width;
    result->height_ = height;
    if (!result->makeCurrent()) {
        error = "eglMakeCurrent failed without a surface (EGL_KHR_surfaceless_context missing?)";
        return nullptr;
    }
    if (!result->createFramebuffer(error))
        return nullptr;
    return result;
}

std::unique_ptr<HeadlessContext> HeadlessContext::createShared(int width, int height, std::string& error) const
{
    EGLContext context = createEglContext(display_, context_, error);
    if (context == EGL_NO_CONTEXT)
        return nullptr;
    EGLContext previous = eglGetCurrentContext();
    std::unique_ptr<HeadlessContext> result(new HeadlessContext);
    result->display_ = display_;
    result->context_ = context;
    result->width_ = width;
    result->height_ = height;
    bool ok = result->makeCurrent() && result->createFramebuffer(error);
    // Creating a shared context must not change which context draws.
    if (previous != EGL_NO_CONTEXT)
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, previous);
    else
        releaseCurrent();
    if (!ok)
        return nullptr;
    return result;
}

bool HeadlessContext::createFramebuffer(std::string& error)
{
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "the screen framebuffer object is incomplete";
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, width_, height_);
    return true;
}

HeadlessContext::~HeadlessContext()
{
    if (context_ == nullptr)
        return;
    // Deleting a shared context must leave the context that was drawing
    // current: render targets are destroyed in the middle of a teardown that
    // still deletes textures.
    EGLContext previous = eglGetCurrentContext();
    if (makeCurrent()) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteRenderbuffers(1, &depthStencil_);
    }
    if (previous != EGL_NO_CONTEXT && previous != context_)
        eglMakeCurrent(static_cast<EGLDisplay>(display_), EGL_NO_SURFACE, EGL_NO_SURFACE, previous);
    else
        releaseCurrent();
    eglDestroyContext(static_cast<EGLDisplay>(display_), static_cast<EGLContext>(context_));
}

bool HeadlessContext::makeCurrent()
{
    if (!eglMakeCurrent(static_cast<EGLDisplay>(display_), EGL_NO_SURFACE, EGL_NO_SURFACE,
                        static_cast<EGLContext>(context_)))
        return false;
    if (framebuffer_ != 0)
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return true;
}

bool HeadlessContext::releaseCurrent()
{
    EGLDisplay display = eglGetCurrentDisplay();
    if (display == EGL_NO_DISPLAY)
        return true;
    return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void HeadlessContext::present()
{
    glFinish();
}

} // namespace platform
