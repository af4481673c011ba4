#include "shell/BlankLoop.h"

#include "platform/HeadlessWindowSystem.h"
#include "platform/StopSignal.h"
#include "shell/GLWindow.h"
#include "shell/ShellState.h"
#include "support/FakeWindowSystem.h"
#include "support/GLTest.h"
#include "support/MessageRecorder.h"

#include <epoxy/gl.h>

#include <csignal>

namespace {

class BlankLoopTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        shell::shellState() = shell::ShellState{};
        platform::clearStopRequest();
    }
    void TearDown() override
    {
        shell::shellState() = shell::ShellState{};
        platform::clearStopRequest();
    }
};

platform::WindowEvent key(platform::WindowEvent::Type type, int code)
{
    platform::WindowEvent event;
    event.type = type;
    event.code = code;
    return event;
}

} // namespace

TEST_F(BlankLoopTest, MessagesComeFirstThenAFrameThenTheKeysAreRead)
{
    testsupport::StepLog log;
    auto fake = std::make_unique<testsupport::FakeWindowSystem>(log);
    fake->events = {key(platform::WindowEvent::Type::KeyDown, 'A'), key(platform::WindowEvent::Type::KeyDown, 113)};
    shell::shellState().windowSystem = std::move(fake);
    EXPECT_EQ(shell::runBlankLoop(), 0);
    // Both messages were handled before the only frame; F2 then ended the loop.
    EXPECT_EQ(log, testsupport::StepLog{"present"});
}

TEST_F(BlankLoopTest, ClosingTheWindowEndsTheLoopWithoutAFrame)
{
    testsupport::StepLog log;
    auto fake = std::make_unique<testsupport::FakeWindowSystem>(log);
    fake->events = {key(platform::WindowEvent::Type::Close, 0)};
    shell::shellState().windowSystem = std::move(fake);
    EXPECT_EQ(shell::runBlankLoop(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(BlankLoopTest, HeadlessRunClearsToBlackUntilAStopSignal)
{
    testsupport::MessageRecorder messages;
    shell::shellState().windowSystem = std::make_unique<platform::HeadlessWindowSystem>();
    // Full screen cannot be had headless: the fallback question takes the window.
    ASSERT_TRUE(shell::createGLWindow(".glint.", 320, 240, 32, true));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].question);
    EXPECT_EQ(messages.messages[0].caption, "Kelp GL");

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    platform::installStopSignalHandlers();
    std::raise(SIGTERM);
    EXPECT_EQ(shell::runBlankLoop(), 0);
    auto pixel = testsupport::readPixel(160, 120);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
    shell::killGLWindow();
    EXPECT_EQ(messages.messages.size(), 1u);
}
