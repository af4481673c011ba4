#include "shell/GLWindow.h"

#include "platform/StopSignal.h"
#include "shell/ShellState.h"
#include "support/FakeWindowSystem.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cmath>

using testsupport::FakeWindowSystem;
using testsupport::LoggingMessageSink;
using testsupport::StepLog;

namespace {

const char* const fallbackQuestion =
    "ask Kelp GL: The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?";

class GLWindowTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        log.clear();
        shell::shellState() = shell::ShellState{};
        auto fake = std::make_unique<FakeWindowSystem>(log);
        windows = fake.get();
        shell::shellState().windowSystem = std::move(fake);
        shell::shellState().initShow = [this] {
            log.push_back("initShow");
            return initShowSucceeds;
        };
        shell::shellState().releaseShow = [this] { log.push_back("releaseShow"); };
    }
    void TearDown() override { shell::shellState() = shell::ShellState{}; }

    StepLog log;
    FakeWindowSystem* windows = nullptr;
    bool initShowSucceeds = true;
};

// The steps up to a current context, windowed, 640 x 480 at 32 bits.
const StepLog windowedOpening = {"registerClass", "createWindow 640x480x32", "createContext", "makeCurrent"};

StepLog concat(StepLog a, const StepLog& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST_F(GLWindowTest, OpensInOrderAndTearsDownInOrder)
{
    LoggingMessageSink messages(log);
    ASSERT_TRUE(shell::createGLWindow(".glint.", 640, 480, 32, false));
    EXPECT_EQ(windows->lastTitle, ".glint.");
    EXPECT_EQ(windows->lastIconSize, 32);
    shell::killGLWindow();
    EXPECT_EQ(log, concat(windowedOpening, {"showCentred", "initShow", "releaseShow", "releaseCurrent",
                                            "deleteContext", "destroyWindow", "unregisterClass"}));
}

TEST_F(GLWindowTest, EachCreationFailureTearsDownWhatExistsThenTellsWhy)
{
    struct Case {
        const char* failingStep;
        StepLog expected;
    };
    const Case cases[] = {
        // Nothing exists yet: no teardown.
        {"registerClass", {"registerClass", "ERROR: Failed To Register The Window Class."}},
        {"createWindow",
         {"registerClass", "createWindow 640x480x32", "releaseShow", "unregisterClass", "ERROR: Window Creation Error."}},
        {"createContext",
         {"registerClass", "createWindow 640x480x32", "createContext", "releaseShow", "destroyWindow",
          "unregisterClass", "ERROR: Can't Create A GL Rendering Context."}},
        {"makeCurrent",
         concat(windowedOpening, {"releaseShow", "releaseCurrent", "deleteContext", "destroyWindow", "unregisterClass",
                                  "ERROR: Can't Activate The GL Rendering Context."})},
        {"initShow",
         concat(windowedOpening, {"showCentred", "initShow", "releaseShow", "releaseCurrent", "deleteContext",
                                  "destroyWindow", "unregisterClass", "ERROR: Initialization Failed."})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingStep);
        SetUp();
        windows->failing.insert(c.failingStep);
        initShowSucceeds = std::string(c.failingStep) != "initShow";
        LoggingMessageSink messages(log);
        EXPECT_FALSE(shell::createGLWindow(".glint.", 640, 480, 32, false));
        EXPECT_EQ(log, c.expected);
        ASSERT_EQ(messages.icons.size(), 1u);
        EXPECT_EQ(messages.icons[0], platform::MessageIcon::Exclamation);
        // Whatever was released is not released again.
        log.clear();
        shell::killGLWindow();
        EXPECT_EQ(log, StepLog{"releaseShow"});
    }
}

TEST_F(GLWindowTest, TeardownFailuresAreToldAndTheTeardownGoesOn)
{
    struct Case {
        std::set<std::string> failing;
        StepLog messages;
    };
    const Case cases[] = {
        {{"releaseCurrent"}, {"SHUTDOWN ERROR: Release Of DC And RC mFailed."}},
        {{"deleteContext"}, {"SHUTDOWN ERROR: Release Rendering Context Failed."}},
        {{"destroyWindow"}, {"SHUTDOWN ERROR: Could Not Release hWnd."}},
        {{"unregisterClass"}, {"SHUTDOWN ERROR: Could Not Unregister Class."}},
        {{"releaseCurrent", "deleteContext", "destroyWindow", "unregisterClass"},
         {"SHUTDOWN ERROR: Release Of DC And RC mFailed.", "SHUTDOWN ERROR: Release Rendering Context Failed.",
          "SHUTDOWN ERROR: Could Not Release hWnd.", "SHUTDOWN ERROR: Could Not Unregister Class."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.failing.begin() + " and " + std::to_string(c.failing.size() - 1) + " more");
        SetUp();
        LoggingMessageSink messages(log);
        ASSERT_TRUE(shell::createGLWindow(".glint.", 640, 480, 32, false));
        windows->failing = c.failing;
        log.clear();
        shell::killGLWindow();
        StepLog steps, shown;
        for (const std::string& entry : log)
            (entry.find(": ") != std::string::npos ? shown : steps).push_back(entry);
        EXPECT_EQ(steps, (StepLog{"releaseShow", "releaseCurrent", "deleteContext", "destroyWindow", "unregisterClass"}));
        EXPECT_EQ(shown, c.messages);
        for (platform::MessageIcon icon : messages.icons)
            EXPECT_EQ(icon, platform::MessageIcon::Information);
    }
}

TEST_F(GLWindowTest, FullScreenChangesTheModeHidesTheCursorAndGivesItBack)
{
    LoggingMessageSink messages(log);
    ASSERT_TRUE(shell::createGLWindow(".glint.", 800, 600, 32, true));
    EXPECT_TRUE(shell::shellState().fullScreenInUse);
    shell::killGLWindow();
    EXPECT_EQ(log, (StepLog{"registerClass", "changeDisplayMode 800x600x32", "hideCursor", "createWindow 800x600x32",
                            "createContext", "makeCurrent", "showCentred", "initShow", "releaseShow", "releaseCurrent",
                            "deleteContext", "destroyWindow", "restoreDisplayMode", "showCursor", "unregisterClass"}));
    EXPECT_FALSE(shell::shellState().fullScreenInUse);
}

TEST_F(GLWindowTest, UnsupportedModeAcceptedGivesAWindow)
{
    windows->displayModeOffered = false;
    LoggingMessageSink messages(log, true);
    ASSERT_TRUE(shell::createGLWindow(".glint.", 640, 480, 32, true));
    EXPECT_FALSE(shell::shellState().fullScreenInUse);
    EXPECT_EQ(log, concat({"registerClass", "changeDisplayMode 640x480x32", fallbackQuestion},
                          concat({"createWindow 640x480x32", "createContext", "makeCurrent"}, {"showCentred", "initShow"})));
    EXPECT_EQ(messages.icons, std::vector<platform::MessageIcon>{platform::MessageIcon::Exclamation});
    log.clear();
    shell::killGLWindow();
    // No display mode to give back.
    EXPECT_EQ(log, (StepLog{"releaseShow", "releaseCurrent", "deleteContext", "destroyWindow", "unregisterClass"}));
}

TEST_F(GLWindowTest, UnsupportedModeDeclinedEndsWithoutAWindow)
{
    windows->displayModeOffered = false;
    LoggingMessageSink messages(log, false);
    EXPECT_FALSE(shell::createGLWindow(".glint.", 640, 480, 32, true));
    EXPECT_EQ(log, (StepLog{"registerClass", "changeDisplayMode 640x480x32", fallbackQuestion,
                            "ERROR: Program Will Now Close.", "releaseShow", "unregisterClass"}));
    EXPECT_EQ(messages.icons.back(), platform::MessageIcon::Stop);
}

TEST_F(GLWindowTest, ViewportAndPerspectiveFollowTheWindowSize)
{
    ASSERT_TRUE(shell::createGLWindow(".glint.", 320, 200, 32, false));
    struct Case {
        int width, height;
        int viewportHeight;
        double aspect;
    };
    // A height of 0 is taken as 1, for the viewport and the aspect alike.
    const Case cases[] = {{320, 200, 200, 1.6}, {640, 480, 480, 4.0 / 3.0}, {500, 0, 1, 500.0}};
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        if (c.width != 320)
            shell::windowProcedure({platform::WindowEvent::Type::Size, 0, c.width, c.height, false});
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        GLfloat projection[16] = {}, modelView[16] = {};
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        EXPECT_NEAR(projection[0], focal / c.aspect, 1e-5);
        EXPECT_NEAR(projection[5], focal, 1e-5);
        // Near 0.1 and far 100: z maps with (f + n) / (n - f) and 2fn / (n - f).
        EXPECT_NEAR(projection[10], 100.1 / -99.9, 1e-5);
        EXPECT_NEAR(projection[14], 20.0 / -99.9, 1e-5);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(modelView[i], i % 5 == 0 ? 1.0f : 0.0f);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
    shell::killGLWindow();
}
