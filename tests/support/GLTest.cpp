#include "support/GLTest.h"

#include "platform/HeadlessContext.h"
#include "platform/HeadlessSurfaceProvider.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace testsupport {

namespace {
std::unique_ptr<platform::HeadlessContext> context;
std::string error;
}

platform::HeadlessContext& testContext()
{
    if (!context)
        context = platform::HeadlessContext::create(640, 480, error);
    if (!context) {
        std::fprintf(stderr, "no headless GL context: %s\n", error.c_str());
        std::abort();
    }
    return *context;
}

bool makeTestContextCurrent()
{
    return testContext().makeCurrent();
}

std::array<uint8_t, 4> readPixel(int x, int y)
{
    std::array<uint8_t, 4> rgba{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

} // namespace testsupport

void GLTest::SetUp()
{
    ASSERT_TRUE(testsupport::makeTestContextCurrent());
    // Render targets (pbuffers) come from the test context, as they come
    // from the window's context in the show.
    static platform::HeadlessSurfaceProvider surfaces(testsupport::testContext());
    platform::setSurfaceProvider(&surfaces);
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // The context lives for the whole run: an error an earlier test left
    // behind must not be reported by this one.
    for (int pending = 0; pending < 16 && glGetError() != GL_NO_ERROR; ++pending) {
    }
}
