// Records the show's message boxes during a test instead of showing them.
// Installed for the recorder's lifetime; questions answer `answer`.
#pragma once

#include "platform/MessageBox.h"

#include <string>
#include <vector>

namespace testsupport {

struct RecordedMessage {
    std::string text;
    std::string caption;
    platform::MessageIcon icon;
    bool question;
};

class MessageRecorder : public platform::MessageSink {
public:
    explicit MessageRecorder(bool answer = true) : answer_(answer) { previous_ = platform::setMessageSink(this); }
    ~MessageRecorder() override { platform::setMessageSink(previous_); }

    void show(const std::string& text, const std::string& caption, platform::MessageIcon icon) override
    {
        messages.push_back({text, caption, icon, false});
    }
    bool askYesNo(const std::string& text, const std::string& caption, platform::MessageIcon icon, bool) override
    {
        messages.push_back({text, caption, icon, true});
        return answer_;
    }

    std::vector<RecordedMessage> messages;

private:
    bool answer_;
    platform::MessageSink* previous_ = nullptr;
};

} // namespace testsupport
