// What holds for the whole test binary, whichever tests run in it and in
// whichever order:
// - Death tests run their statement in a freshly started copy of the binary
//   instead of a fork of this process. The software renderer keeps worker
//   threads; a fork taken while one of them holds a lock leaves the child
//   waiting for it forever.
// - Messages never open a dialog. A test that opens a window system on a
//   display switches dialogs on, and a dialog nobody answers would stop the
//   run. Messages still go to standard error as the show writes them, and a
//   question takes its non-fatal answer, as in a run without a screen.
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace {

class NoDialogs : public platform::MessageSink {
public:
    void show(const std::string& text, const std::string& caption, platform::MessageIcon icon) override
    {
        AsTheShowWithoutAScreen plain(this);
        platform::showMessage(text, caption, icon);
    }
    bool askYesNo(const std::string& text, const std::string& caption, platform::MessageIcon icon,
                  bool nonFatalAnswer) override
    {
        AsTheShowWithoutAScreen plain(this);
        return platform::askYesNo(text, caption, icon, nonFatalAnswer);
    }

private:
    // The show's own message handling, dialogs off, for one message.
    struct AsTheShowWithoutAScreen {
        explicit AsTheShowWithoutAScreen(NoDialogs* self) : self(self)
        {
            platform::setMessageDialogsEnabled(false);
            platform::setMessageSink(nullptr);
        }
        ~AsTheShowWithoutAScreen() { platform::setMessageSink(self); }
        NoDialogs* self;
    };
};

class TestRun : public ::testing::Environment {
public:
    // After the flags are read, so no command line brings the fork back.
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        platform::setMessageSink(&sink);
    }
    void TearDown() override { platform::setMessageSink(nullptr); }

private:
    NoDialogs sink;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new TestRun);

} // namespace
