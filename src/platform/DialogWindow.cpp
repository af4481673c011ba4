#include "platform/DialogWindow.h"

#include "platform/StopSignal.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <cerrno>
#include <cstdio>

namespace platform {

namespace {

// Pixels per dialog unit: the show's dialog font makes a unit about one and a
// half to two pixels; two keeps the built-in ImGui font inside the boxes.
constexpr int unitPixels = 2;

// The window, its context and ImGui, released in reverse order.
class DialogSession {
public:
    bool open(const DialogTemplate& dialog)
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window_ = SDL_CreateWindow(dialog.caption.c_str(), 0, 0, dialog.width * unitPixels,
                                   dialog.height * unitPixels, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window_ || !(context_ = SDL_GL_CreateContext(window_)))
            return false;
        SDL_GL_MakeCurrent(window_, context_);
        centre();
        ImGui::CreateContext();
        ImGui::GetIO().IniFilename = nullptr; // nothing of the dialog persists
        ImGui::StyleColorsLight();
        ImGui_ImplSDL2_InitForOpenGL(window_, context_);
        imguiReady_ = ImGui_ImplOpenGL2_Init();
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
        return imguiReady_;
    }

    ~DialogSession()
    {
        if (ImGui::GetCurrentContext()) {
            if (imguiReady_)
                ImGui_ImplOpenGL2_Shutdown();
            ImGui_ImplSDL2_Shutdown();
            ImGui::DestroyContext();
        }
        if (context_)
            SDL_GL_DeleteContext(context_);
        if (window_)
            SDL_DestroyWindow(window_);
    }

    SDL_Window* window() const { return window_; }

private:
    void centre()
    {
        SDL_Rect desktop{};
        if (SDL_GetDisplayBounds(0, &desktop) != 0)
            return;
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        SDL_SetWindowPosition(window_, desktop.x + desktop.w / 2 - width / 2, desktop.y + desktop.h / 2 - height / 2);
    }

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool imguiReady_ = false;
};

int defaultButtonId(const DialogTemplate& dialog)
{
    for (const DialogControl& control : dialog.controls)
        if (control.kind == DialogControl::Kind::DefaultButton)
            return control.id;
    return -1;
}

// Keys and closing, as a dialog box answers them; -1 when the event ends nothing.
int commandOfEvent(const SDL_Event& event, const DialogTemplate& dialog)
{
    if (event.type == SDL_QUIT)
        return dialogCancelId;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
        return dialogCancelId;
    if (event.type == SDL_KEYDOWN) {
        SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_ESCAPE)
            return dialogCancelId;
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER)
            return defaultButtonId(dialog);
    }
    return -1;
}

// Draws one frame of the dialog; returns the id of a button pressed in it, or -1.
int drawDialog(DialogTemplate& dialog)
{
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("##dialog", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    int pressed = -1;
    for (DialogControl& control : dialog.controls) {
        std::string label = control.text + "##" + std::to_string(control.id);
        ImVec2 size(static_cast<float>(control.width * unitPixels), static_cast<float>(control.height * unitPixels));
        float y = static_cast<float>(control.y * unitPixels);
        if (control.kind == DialogControl::Kind::CheckBox)
            y += (size.y - ImGui::GetFrameHeight()) / 2;
        ImGui::SetCursorPos(ImVec2(static_cast<float>(control.x * unitPixels), y));
        if (control.kind == DialogControl::Kind::CheckBox)
            ImGui::Checkbox(label.c_str(), &control.checked);
        else if (ImGui::Button(label.c_str(), size))
            pressed = control.id;
    }
    ImGui::End();
    ImGui::Render();
    return pressed;
}

} // namespace

int runDialog(DialogTemplate& dialog, int& errorCode)
{
    DialogSession session;
    errno = 0;
    if (!session.open(dialog)) {
        errorCode = errno;
        std::fprintf(stderr, "glint: dialog: %s\n", SDL_GetError());
        return -1;
    }
    for (;;) {
        // Sleep until something happens; the dialog has nothing to animate.
        SDL_WaitEventTimeout(nullptr, 100);
        // A stop signal answers the dialog like closing it.
        if (stopRequested())
            return dialogCancelId;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            ImGui_ImplSDL2_ProcessEvent(&event);
            int command = commandOfEvent(event, dialog);
            if (command >= 0)
                return command;
        }
        int pressed = drawDialog(dialog);
        ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
        SDL_GL_SwapWindow(session.window());
        if (pressed >= 0)
            return pressed;
    }
}

} // namespace platform
