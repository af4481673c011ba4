// Test support for real GL on headless llvmpipe: one 640 x 480 context for
// the whole test run, made current before each test, plus pixel read-back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>

class GLStateScope;

namespace platform {
class HeadlessContext;
}

namespace testsupport {

// The process-wide headless context, created on first use; aborts the test
// run when no context can be had (every GL test would fail anyway).
platform::HeadlessContext& testContext();

// Makes the test context current with its screen framebuffer bound.
bool makeTestContextCurrent();

// RGBA of one pixel of the current read framebuffer (origin bottom left).
std::array<uint8_t, 4> readPixel(int x, int y);

// A screen of another size (RGBA8, depth 24, stencil 8) bound with its
// viewport while it lives; the test context's screen and 640 x 480 viewport
// come back when it goes.
class LargerScreen {
public:
    LargerScreen(int width, int height);
    ~LargerScreen();
    LargerScreen(const LargerScreen&) = delete;
    LargerScreen& operator=(const LargerScreen&) = delete;

private:
    unsigned framebuffer = 0;
    unsigned buffers[2] = {0, 0};
};

} // namespace testsupport

// A fixture for tests that draw: every test starts on a current context in
// the state the context had when the first test began (GL's defaults), with
// a cleared screen and default matrices, whatever the tests before it
// switched on, bound or left pushed. The state is put back when the fixture
// goes, after the derived fixture's members (and the GL objects they hold).
class GLTest : public ::testing::Test {
protected:
    GLTest();
    ~GLTest() override;
    void SetUp() override;

    // Attribute groups pushed since the test began and not popped.
    int attributePushesLeft() const;

private:
    std::unique_ptr<GLStateScope> startingState;
    int attributeDepthAtStart = 0;
};
