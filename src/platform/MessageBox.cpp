#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

namespace platform {

namespace {

bool dialogsEnabled = false;

Uint32 sdlFlags(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::Warning:
    case MessageIcon::Exclamation: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Stop: return SDL_MESSAGEBOX_ERROR;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

struct DefaultSink : MessageSink {
    void show(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        if (dialogsEnabled)
            SDL_ShowSimpleMessageBox(sdlFlags(icon), caption.c_str(), text.c_str(), nullptr);
    }

    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon,
                  bool nonFatalAnswer) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        if (!dialogsEnabled) {
            std::fprintf(stderr, "%s: (no screen to ask on; answering %s)\n", caption.c_str(),
                         nonFatalAnswer ? "Yes" : "No");
            return nonFatalAnswer;
        }
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        };
        SDL_MessageBoxData data{};
        data.flags = sdlFlags(icon);
        data.title = caption.c_str();
        data.message = text.c_str();
        data.numbuttons = 2;
        data.buttons = buttons;
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) != 0)
            return nonFatalAnswer;
        return pressed == 1;
    }
};

DefaultSink defaultSink;
MessageSink* currentSink = &defaultSink;

} // namespace

void showMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    currentSink->show(text, caption, icon);
}

bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon, bool nonFatalAnswer)
{
    return currentSink->askYesNo(text, caption, icon, nonFatalAnswer);
}

MessageSink* setMessageSink(MessageSink* sink)
{
    MessageSink* previous = currentSink;
    currentSink = sink ? sink : &defaultSink;
    return previous == &defaultSink ? nullptr : previous;
}

void setMessageDialogsEnabled(bool enabled) { dialogsEnabled = enabled; }

} // namespace platform
