// The real SDL window and settings dialog on an X display (test.sh starts a
// virtual one when there is none). Events are pushed into SDL's queue as the
// keyboard would deliver them.
#include "platform/HeadlessContext.h"
#include "platform/OffscreenSurface.h"
#include "platform/StopSignal.h"
#include "platform/WindowSystem.h"
#include "shell/GLWindow.h"
#include "shell/SettingsDialog.h"
#include "shell/ShellState.h"
#include "support/MessageRecorder.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

// Present only in sanitizer builds.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace {

class ScreenWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display (test.sh starts Xvfb)";
        // The X, GLX and D-Bus libraries under SDL keep allocations for the
        // life of the process (some in modules unloaded before the leak
        // check runs); they are not the show's to free.
        if (__lsan_disable)
            __lsan_disable();
        shell::shellState() = shell::ShellState{};
        platform::clearStopRequest();
        // A thread has one current context across EGL and GLX: the headless
        // one of other tests in this process must go first.
        platform::HeadlessContext::releaseCurrent();
        std::string note;
        shell::shellState().windowSystem = platform::openWindowSystem(false, note);
        ASSERT_TRUE(shell::shellState().windowSystem->hasScreen()) << note;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        shell::shellState() = shell::ShellState{};
        if (__lsan_enable && std::getenv("DISPLAY"))
            __lsan_enable();
    }

    static void pushKey(SDL_Keycode key)
    {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        SDL_PushEvent(&event);
    }

    testsupport::MessageRecorder messages;
};

} // namespace

TEST_F(ScreenWindowTest, WindowOpensBorderlessCentredAtItsSizeAndClosesOnEscape)
{
    std::vector<int> typed;
    shell::shellState().onCharacter = [&](int character) { typed.push_back(character); };
    ASSERT_TRUE(shell::createGLWindow(".glint.", 320, 240, 32, false));
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    int width = 0, height = 0, x = 0, y = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    SDL_Rect desktop{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0);
    SDL_GetWindowPosition(window, &x, &y);
    EXPECT_EQ(x, desktop.x + desktop.w / 2 - 160);
    EXPECT_EQ(y, desktop.y + desktop.h / 2 - 120);
    Uint32 flags = SDL_GetWindowFlags(window);
    EXPECT_TRUE(flags & SDL_WINDOW_BORDERLESS);
    EXPECT_TRUE(flags & SDL_WINDOW_SHOWN);
    EXPECT_FALSE(flags & SDL_WINDOW_FULLSCREEN);
    EXPECT_STREQ(SDL_GetWindowTitle(window), ".glint.");
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);

    pushKey(SDLK_ESCAPE);
    while (shell::pumpMessage() == shell::PumpResult::Handled) {
    }
    EXPECT_TRUE(shell::escapeRequested());
    EXPECT_EQ(shell::shellState().keys[27], 1);
    EXPECT_EQ(typed, std::vector<int>{27}); // Escape also types its character
    shell::killGLWindow();
    EXPECT_EQ(SDL_GL_GetCurrentWindow(), nullptr);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ScreenWindowTest, OffscreenSurfacesShareTexturesWithTheWindow)
{
    ASSERT_TRUE(shell::createGLWindow(".glint.", 320, 240, 32, false));
    platform::SurfaceProvider* provider = platform::surfaceProvider();
    ASSERT_NE(provider, nullptr);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    auto surface = provider->createSharedSurface(64, 64);
    ASSERT_TRUE(surface);
    ASSERT_TRUE(surface->makeCurrent());
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 64, 64);
    glFinish();
    ASSERT_TRUE(provider->makeMainCurrent());

    std::vector<uint8_t> texel(64 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
    EXPECT_EQ(texel[1], 255);
    EXPECT_EQ(texel[0], 0);
    surface.reset();
    EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr); // the window's context stays current
    glDeleteTextures(1, &texture);
    shell::killGLWindow();
    EXPECT_EQ(platform::surfaceProvider(), nullptr);
}

TEST_F(ScreenWindowTest, ModeTheDisplayLacksAsksAndFallsBackToAWindow)
{
    // No display offers 333 x 222.
    ASSERT_TRUE(shell::createGLWindow(".glint.", 333, 222, 32, true));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].question);
    EXPECT_EQ(messages.messages[0].caption, "Kelp GL");
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 333);
    EXPECT_EQ(height, 222);
    shell::killGLWindow();
}

TEST_F(ScreenWindowTest, OfferedModeGoesFullScreen)
{
    SDL_DisplayMode mode{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
    ASSERT_TRUE(shell::createGLWindow(".glint.", mode.w, mode.h, SDL_BYTESPERPIXEL(mode.format) * 8, true));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(shell::shellState().fullScreenInUse);
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    shell::killGLWindow();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_FALSE(shell::shellState().fullScreenInUse);
}

TEST_F(ScreenWindowTest, DialogOkGives640x480AndTheCheckedFullScreen)
{
    shell::ShowSettings settings;
    shell::applySwitches("/z2/w", settings);
    pushKey(SDLK_RETURN);
    EXPECT_TRUE(shell::runSettingsDialog(settings));
    EXPECT_EQ(settings.width, 640);
    EXPECT_EQ(settings.height, 480);
    EXPECT_TRUE(settings.fullScreen);
}

TEST_F(ScreenWindowTest, DialogCancelEscapeOrClosingEndTheRun)
{
    struct Case {
        const char* name;
        SDL_Event event;
    };
    SDL_Event escape{}, quit{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    quit.type = SDL_QUIT;
    for (const Case& c : {Case{"escape", escape}, Case{"closed", quit}}) {
        SCOPED_TRACE(c.name);
        shell::ShowSettings settings;
        shell::applySwitches("/z2", settings);
        SDL_Event event = c.event;
        SDL_PushEvent(&event);
        EXPECT_FALSE(shell::runSettingsDialog(settings));
        EXPECT_EQ(settings.width, 1024);
    }
}
