#include "shell/GLWindow.h"

#include "platform/StopSignal.h"
#include "shell/ShellState.h"
#include "support/FakeWindowSystem.h"

#include <gtest/gtest.h>

#include <csignal>

using platform::WindowEvent;
using Type = platform::WindowEvent::Type;

namespace {

WindowEvent event(Type type, int code = 0)
{
    WindowEvent e;
    e.type = type;
    e.code = code;
    return e;
}

class WindowProcedureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::shellState() = shell::ShellState{};
        auto fake = std::make_unique<testsupport::FakeWindowSystem>(log);
        windows = fake.get();
        shell::shellState().windowSystem = std::move(fake);
        platform::clearStopRequest();
    }
    void TearDown() override
    {
        shell::shellState() = shell::ShellState{};
        platform::clearStopRequest();
    }

    testsupport::StepLog log;
    testsupport::FakeWindowSystem* windows = nullptr;
};

} // namespace

TEST_F(WindowProcedureTest, KeysSetAndClearTheirTableEntries)
{
    auto& keys = shell::shellState().keys;
    shell::windowProcedure(event(Type::KeyDown, 27));
    shell::windowProcedure(event(Type::KeyDown, 'A'));
    EXPECT_EQ(keys[27], 1);
    EXPECT_EQ(keys['A'], 1);
    shell::windowProcedure(event(Type::KeyUp, 27));
    EXPECT_EQ(keys[27], 0);
    EXPECT_EQ(keys['A'], 1);
    // Codes outside the table belong to no key and change nothing.
    shell::windowProcedure(event(Type::KeyDown, 256));
    shell::windowProcedure(event(Type::Character, -1));
    int down = 0;
    for (uint8_t key : keys)
        down += key;
    EXPECT_EQ(down, 1);
}

TEST_F(WindowProcedureTest, CharactersReachTheShowFirstThenTheTable)
{
    auto& keys = shell::shellState().keys;
    std::vector<std::pair<int, int>> seen; // character, its table entry at that moment
    shell::shellState().onCharacter = [&](int character) { seen.push_back({character, keys[character]}); };
    shell::windowProcedure(event(Type::Character, 'm'));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(int('m'), 0));
    // "m" shares its entry with keypad minus (109); releasing the M key
    // (virtual key 77) does not clear it, releasing keypad minus does.
    EXPECT_EQ(keys[109], 1);
    shell::windowProcedure(event(Type::KeyUp, 'M'));
    EXPECT_EQ(keys[109], 1);
    shell::windowProcedure(event(Type::KeyUp, 109));
    EXPECT_EQ(keys[109], 0);
}

TEST_F(WindowProcedureTest, MinimisingDeactivatesAndRestoringActivates)
{
    WindowEvent minimised = event(Type::Activate);
    minimised.minimised = true;
    shell::windowProcedure(minimised);
    EXPECT_FALSE(shell::shellState().active);
    // Losing the focus without being minimised keeps the show running.
    shell::windowProcedure(event(Type::Activate));
    EXPECT_TRUE(shell::shellState().active);
}

TEST_F(WindowProcedureTest, ClosingPostsAQuitThatThePumpDelivers)
{
    windows->events = {event(Type::KeyDown, 32), event(Type::Close), event(Type::KeyDown, 33)};
    EXPECT_EQ(shell::pumpMessage(), shell::PumpResult::Handled);
    EXPECT_EQ(shell::pumpMessage(), shell::PumpResult::Handled);
    EXPECT_EQ(shell::pumpMessage(), shell::PumpResult::Quit);
    EXPECT_EQ(shell::shellState().quitCode, 0);
    EXPECT_EQ(shell::shellState().keys[32], 1);
    EXPECT_EQ(shell::shellState().keys[33], 0);
}

TEST_F(WindowProcedureTest, PumpIsIdleWithoutMessages)
{
    EXPECT_EQ(shell::pumpMessage(), shell::PumpResult::Idle);
}

TEST_F(WindowProcedureTest, EscapeF2AndStopSignalsEndTheRun)
{
    struct Case {
        const char* name;
        int key;
        bool signal;
        bool expected;
    };
    const Case cases[] = {
        {"nothing", 0, false, false}, {"escape", 27, false, true}, {"F2", 113, false, true},
        {"F1", 112, false, false},    {"space", 32, false, false}, {"signal", 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.key)
            shell::windowProcedure(event(Type::KeyDown, c.key));
        if (c.signal) {
            platform::installStopSignalHandlers();
            std::raise(SIGTERM);
        }
        EXPECT_EQ(shell::escapeRequested(), c.expected);
    }
}

TEST_F(WindowProcedureTest, AKeyPressedAndReleasedBetweenTwoFramesStillCounts)
{
    shell::windowProcedure(event(Type::KeyDown, 27));
    shell::windowProcedure(event(Type::KeyUp, 27));
    EXPECT_EQ(shell::shellState().keys[27], 0);
    EXPECT_TRUE(shell::escapeRequested());
    // Once the frame loop has looked, the tap is spent.
    shell::forgetKeyTaps();
    EXPECT_FALSE(shell::escapeRequested());
}
