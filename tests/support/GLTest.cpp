#include "support/GLTest.h"

#include "core/GLStateScope.h"
#include "platform/HeadlessContext.h"
#include "platform/HeadlessSurfaceProvider.h"
#include "programs/NvExtensions.h"

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

LargerScreen::LargerScreen(int width, int height)
{
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(2, buffers);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    glViewport(0, 0, width, height);
}

LargerScreen::~LargerScreen()
{
    glBindFramebuffer(GL_FRAMEBUFFER, testContext().framebuffer());
    glViewport(0, 0, 640, 480);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(2, buffers);
}

} // namespace testsupport

namespace {

// NV vertex programs have 96 parameters; a tracked matrix takes four.
constexpr GLuint programParameters = 96;

// The NV layer's pending error first, then GL's (bounded: a lost context
// reports its loss for ever).
void drainErrors()
{
    for (int pending = 0; pending < 16 && nv::glGetError() != GL_NO_ERROR; ++pending) {
    }
}

} // namespace

GLTest::GLTest() = default;

GLTest::~GLTest()
{
    if (!startingState)
        return;
    // Without its context the state cannot be put back (nor safely touched).
    if (!testsupport::makeTestContextCurrent()) {
        startingState.release();
        return;
    }
    startingState.reset();
    // The NV layer's matrix tracking is its own record, outside GL's state.
    for (GLuint address = 0; address < programParameters; address += 4)
        nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, address, GL_NONE, GL_IDENTITY_NV);
    drainErrors();
}

void GLTest::SetUp()
{
    ASSERT_TRUE(testsupport::makeTestContextCurrent());
    startingState = std::make_unique<GLStateScope>();
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &attributeDepthAtStart);
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
    drainErrors();
}

int GLTest::attributePushesLeft() const
{
    GLint depth = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    return depth - attributeDepthAtStart;
}
