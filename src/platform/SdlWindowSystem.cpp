#include "platform/SdlWindowSystem.h"

#include "platform/KeyMapping.h"
#include "platform/SdlLibrary.h"

#include <cstdio>

namespace platform {

namespace {

void reportSdlError(const char* call) { std::fprintf(stderr, "glint: %s: %s\n", call, SDL_GetError()); }

// The colour bits of a mode as the show counts them: 32 for 8 bits per channel
// in four bytes, whether or not the fourth byte is alpha.
int bitsOfMode(const SDL_DisplayMode& mode) { return SDL_BYTESPERPIXEL(mode.format) * 8; }

struct PixelFormatChoice {
    int alphaBits;
    int depthBits;
};

void requestPixelFormat(int bits, const PixelFormatChoice& choice)
{
    int channelBits = bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, choice.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, choice.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
}

} // namespace

SdlWindowSystem::~SdlWindowSystem()
{
    if (context_)
        SDL_GL_DeleteContext(context_);
    if (window_)
        SDL_DestroyWindow(window_);
    // Balances the initialisation in openWindowSystem.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindowSystem::registerClass()
{
    if (!initSdlSubsystem(SDL_INIT_VIDEO)) {
        reportSdlError("SDL_InitSubSystem");
        return false;
    }
    return true;
}

bool SdlWindowSystem::changeDisplayMode(int width, int height, int bits)
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            continue;
        if (mode.w == width && mode.h == height && bitsOfMode(mode) == bits) {
            fullScreenMode_ = mode;
            fullScreen_ = true;
            return true;
        }
    }
    return false;
}

void SdlWindowSystem::showCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool SdlWindowSystem::createWindow(const std::string& title, int width, int height, int bits, const IconImage& icon)
{
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (fullScreen_)
        flags |= SDL_WINDOW_FULLSCREEN;
    // The first format the display can make wins; destination alpha and a
    // 24-bit depth buffer are wishes, 16 depth bits the least the show needs.
    const PixelFormatChoice choices[] = {{8, 24}, {0, 24}, {0, 16}};
    for (const PixelFormatChoice& choice : choices) {
        requestPixelFormat(bits, choice);
        window_ = SDL_CreateWindow(title.c_str(), 0, 0, width, height, flags);
        if (window_)
            break;
    }
    if (!window_) {
        reportSdlError("SDL_CreateWindow");
        return false;
    }
    if (fullScreen_ && SDL_SetWindowDisplayMode(window_, &fullScreenMode_) != 0)
        reportSdlError("SDL_SetWindowDisplayMode");
    setIcon(icon);
    return true;
}

void SdlWindowSystem::setIcon(const IconImage& icon)
{
    if (icon.size <= 0)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.rgba.data()), icon.size,
                                                              icon.size, 32, icon.size * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

bool SdlWindowSystem::createContext()
{
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
        reportSdlError("SDL_GL_CreateContext");
        return false;
    }
    surfaces_ = std::make_unique<SdlSurfaceProvider>(window_, context_);
    setSurfaceProvider(surfaces_.get());
    return true;
}

bool SdlWindowSystem::makeCurrent()
{
    if (SDL_GL_MakeCurrent(window_, context_) != 0) {
        reportSdlError("SDL_GL_MakeCurrent");
        return false;
    }
    return true;
}

void SdlWindowSystem::showCentred()
{
    SDL_Rect desktop{};
    if (SDL_GetDisplayBounds(0, &desktop) == 0 && !fullScreen_) {
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        SDL_SetWindowPosition(window_, desktop.x + desktop.w / 2 - width / 2, desktop.y + desktop.h / 2 - height / 2);
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    SDL_DisableScreenSaver();
}

bool SdlWindowSystem::releaseCurrent()
{
    if (SDL_GL_MakeCurrent(window_, nullptr) != 0) {
        reportSdlError("SDL_GL_MakeCurrent");
        return false;
    }
    return true;
}

bool SdlWindowSystem::deleteContext()
{
    setSurfaceProvider(nullptr);
    surfaces_.reset();
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    return true;
}

bool SdlWindowSystem::destroyWindow()
{
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    pending_.clear();
    return true;
}

void SdlWindowSystem::restoreDisplayMode()
{
    // Destroying a full-screen window already gives the desktop its mode back;
    // a window that still exists leaves full screen here.
    if (window_)
        SDL_SetWindowFullscreen(window_, 0);
    fullScreen_ = false;
}

bool SdlWindowSystem::unregisterClass()
{
    SDL_EnableScreenSaver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

bool SdlWindowSystem::pollEvent(WindowEvent& event)
{
    SDL_Event sdlEvent;
    while (pending_.empty() && SDL_PollEvent(&sdlEvent))
        translate(sdlEvent);
    if (pending_.empty())
        return false;
    event = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlWindowSystem::translate(const SDL_Event& sdlEvent)
{
    using Type = WindowEvent::Type;
    auto push = [this](Type type, int code = 0) {
        WindowEvent event;
        event.type = type;
        event.code = code;
        pending_.push_back(event);
    };
    switch (sdlEvent.type) {
    case SDL_QUIT: push(Type::Close); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        int key = virtualKeyOf(sdlEvent.key.keysym.sym);
        if (key == 0)
            break;
        push(sdlEvent.type == SDL_KEYDOWN ? Type::KeyDown : Type::KeyUp, key);
        // Control characters never come as text input; the show still sees them typed.
        if (sdlEvent.type == SDL_KEYDOWN && controlCharacterOf(key) != 0)
            push(Type::Character, controlCharacterOf(key));
        break;
    }
    case SDL_TEXTINPUT:
        for (int character : charactersOfText(sdlEvent.text.text))
            push(Type::Character, character);
        break;
    case SDL_WINDOWEVENT:
        switch (sdlEvent.window.event) {
        case SDL_WINDOWEVENT_CLOSE: push(Type::Close); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            WindowEvent size;
            size.type = Type::Size;
            size.width = sdlEvent.window.data1;
            size.height = sdlEvent.window.data2;
            pending_.push_back(size);
            break;
        }
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST: {
            WindowEvent activate;
            activate.type = Type::Activate;
            activate.minimised = sdlEvent.window.event == SDL_WINDOWEVENT_MINIMIZED
                || (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0
                    && sdlEvent.window.event != SDL_WINDOWEVENT_RESTORED);
            pending_.push_back(activate);
            break;
        }
        default: break;
        }
        break;
    default: break;
    }
}

void SdlWindowSystem::present() { SDL_GL_SwapWindow(window_); }

bool SdlWindowSystem::setSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

} // namespace platform
