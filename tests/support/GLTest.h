// Test support for real GL on headless llvmpipe: one 640 x 480 context for
// the whole test run, made current before each test, plus pixel read-back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

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

} // namespace testsupport

// A fixture for tests that draw: every test starts on a current context with
// a cleared screen and default matrices.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
};
