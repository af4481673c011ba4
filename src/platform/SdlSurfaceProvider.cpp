#include "platform/SdlSurfaceProvider.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace platform {

namespace {

class SdlSurface : public OffscreenSurface {
public:
    SdlSurface(SDL_Window* window, SDL_GLContext context, int width, int height)
        : window_(window), context_(context), width_(width), height_(height)
    {
    }

    ~SdlSurface() override
    {
        // Leave whichever context was drawing current afterwards.
        SDL_GLContext previous = SDL_GL_GetCurrentContext();
        if (makeCurrent()) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &framebuffer_);
            glDeleteRenderbuffers(2, renderbuffers_);
        }
        SDL_GL_MakeCurrent(window_, previous != context_ ? previous : nullptr);
        SDL_GL_DeleteContext(context_);
    }

    // Builds the framebuffer while the new context is current.
    bool createFramebuffer()
    {
        glGenFramebuffers(1, &framebuffer_);
        glGenRenderbuffers(2, renderbuffers_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glViewport(0, 0, width_, height_);
        return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }

    bool makeCurrent() override
    {
        if (SDL_GL_MakeCurrent(window_, context_) != 0)
            return false;
        if (framebuffer_ != 0)
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        return true;
    }

    int width() const override { return width_; }
    int height() const override { return height_; }

private:
    SDL_Window* window_;
    SDL_GLContext context_;
    int width_;
    int height_;
    GLuint framebuffer_ = 0;
    GLuint renderbuffers_[2] = {0, 0};
};

} // namespace

std::unique_ptr<OffscreenSurface> SdlSurfaceProvider::createSharedSurface(int width, int height)
{
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GL_MakeCurrent(window_, main_);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window_);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (context == nullptr) {
        std::fprintf(stderr, "glint: off-screen surface %dx%d: %s\n", width, height, SDL_GetError());
        SDL_GL_MakeCurrent(window_, previous);
        return nullptr;
    }
    auto surface = std::make_unique<SdlSurface>(window_, context, width, height);
    const bool complete = surface->createFramebuffer();
    SDL_GL_MakeCurrent(window_, previous);
    if (!complete) {
        std::fprintf(stderr, "glint: off-screen surface %dx%d is incomplete\n", width, height);
        return nullptr;
    }
    return surface;
}

} // namespace platform
