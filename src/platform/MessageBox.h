// Message boxes: the show's way of telling the user about fatal conditions
// and missing data. Every message is printed to standard error as
// "caption: text"; when a screen exists it is also shown as a dialog.
// Headless runs cannot ask, so a question takes its non-fatal answer.
//
// Tests install a MessageSink to record messages instead of showing them.
#pragma once

#include <string>

namespace platform {

enum class MessageIcon { Information, Warning, Exclamation, Stop };

struct MessageSink {
    virtual ~MessageSink() = default;
    virtual void show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Returns true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon,
                          bool nonFatalAnswer) = 0;
};

void showMessage(const std::string& text, const std::string& caption, MessageIcon icon);
// A Yes/No question; `nonFatalAnswer` is what a run without a screen answers.
bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon, bool nonFatalAnswer);

// Replaces where messages go (null restores the default); returns the previous sink.
MessageSink* setMessageSink(MessageSink* sink);
// Whether dialogs may be shown (false for headless runs and before a screen exists).
void setMessageDialogsEnabled(bool enabled);

} // namespace platform
