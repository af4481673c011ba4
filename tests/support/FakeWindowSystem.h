// A window system that records every step into a shared log and fails the
// steps it is told to, for checking the shell's creation and teardown order
// and its messages. Its "context" is the test run's headless GL context, so
// the shell's GL calls work.
#pragma once

#include "platform/MessageBox.h"
#include "platform/WindowSystem.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

using StepLog = std::vector<std::string>;

class FakeWindowSystem : public platform::WindowSystem {
public:
    explicit FakeWindowSystem(StepLog& log) : log_(log) {}

    std::set<std::string> failing;   // names of the steps that fail
    bool displayModeOffered = true;  // whether changeDisplayMode succeeds
    bool screen = true;
    std::deque<platform::WindowEvent> events;

    bool hasScreen() const override { return screen; }
    bool registerClass() override { return step("registerClass"); }
    bool changeDisplayMode(int width, int height, int bits) override
    {
        log_.push_back("changeDisplayMode " + std::to_string(width) + "x" + std::to_string(height) + "x"
                       + std::to_string(bits));
        return displayModeOffered;
    }
    void showCursor(bool visible) override { log_.push_back(visible ? "showCursor" : "hideCursor"); }
    bool createWindow(const std::string& title, int width, int height, int bits,
                      const platform::IconImage& icon) override
    {
        lastTitle = title;
        lastIconSize = icon.size;
        log_.push_back("createWindow " + std::to_string(width) + "x" + std::to_string(height) + "x"
                       + std::to_string(bits));
        return !failing.count("createWindow");
    }
    bool createContext() override { return step("createContext"); }
    bool makeCurrent() override;
    void showCentred() override { log_.push_back("showCentred"); }
    bool releaseCurrent() override { return step("releaseCurrent"); }
    bool deleteContext() override { return step("deleteContext"); }
    bool destroyWindow() override { return step("destroyWindow"); }
    void restoreDisplayMode() override { log_.push_back("restoreDisplayMode"); }
    bool unregisterClass() override { return step("unregisterClass"); }
    bool pollEvent(platform::WindowEvent& event) override
    {
        if (events.empty())
            return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    void present() override { log_.push_back("present"); }
    bool setSwapInterval(int) override { return false; }

    std::string lastTitle;
    int lastIconSize = 0;

private:
    bool step(const char* name)
    {
        log_.push_back(name);
        return !failing.count(name);
    }

    StepLog& log_;
};

// Writes message boxes into the same log as the steps ("caption: text"), so
// tests see messages and steps in their true order. Questions answer `answer`.
class LoggingMessageSink : public platform::MessageSink {
public:
    LoggingMessageSink(StepLog& log, bool answer = true) : log_(log), answer_(answer)
    {
        previous_ = platform::setMessageSink(this);
    }
    ~LoggingMessageSink() override { platform::setMessageSink(previous_); }

    void show(const std::string& text, const std::string& caption, platform::MessageIcon icon) override
    {
        log_.push_back(caption + ": " + text);
        icons.push_back(icon);
    }
    bool askYesNo(const std::string& text, const std::string& caption, platform::MessageIcon icon, bool) override
    {
        log_.push_back("ask " + caption + ": " + text);
        icons.push_back(icon);
        return answer_;
    }

    std::vector<platform::MessageIcon> icons;

private:
    StepLog& log_;
    bool answer_;
    platform::MessageSink* previous_ = nullptr;
};

} // namespace testsupport
