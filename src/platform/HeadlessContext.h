// An OpenGL compatibility context without a screen: an EGL surfaceless
// context on Mesa, with a framebuffer object of width x height (RGBA8, depth
// 24, stencil 8) bound as the screen. Everything the show draws to "the
// screen" lands in that framebuffer object, where glReadPixels finds it.
//
// The context owns its EGL display reference, context and framebuffer; it
// stays current on the creating thread until it is destroyed. Shared
// contexts (for off-screen render targets) are created from it and share its
// textures, display lists and programs.
#pragma once

#include <memory>
#include <string>

namespace platform {

class HeadlessContext {
public:
    // Creates the context and makes it current with its framebuffer bound.
    // Returns null and fills `error` when EGL or GL refuse.
    static std::unique_ptr<HeadlessContext> create(int width, int height, std::string& error);

    // A further context that shares objects with this one, with its own
    // framebuffer object of the given size (colour + depth). Not made current.
    std::unique_ptr<HeadlessContext> createShared(int width, int height, std::string& error) const;

    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Makes this context current and binds its framebuffer as the screen.
    bool makeCurrent();
    // Releases the context from the thread (no context current afterwards).
    static bool releaseCurrent();
    // Headless "swap": finishes the frame so read-backs see all of it.
    void present();

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned framebuffer() const { return framebuffer_; }

private:
    HeadlessContext() = default;
    bool createFramebuffer(std::string& error);

    void* display_ = nullptr;
    void* context_ = nullptr;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace platform
