// The depth pass on the SDL platform: the light's surface is a context of
// the window's GL (GLX), not of EGL, and the copy into the depth texture
// must still carry that surface's depth back to the window's context.
#include "effects/PBuffer.h"
#include "scenes/shadow/ShadowLight.h"
#include "platform/HeadlessContext.h"
#include "platform/StopSignal.h"
#include "platform/WindowSystem.h"
#include "programs/NvExtensions.h"
#include "shell/GLWindow.h"
#include "shell/ShellState.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

TEST(ShadowLightWindow, TheDepthCopyCarriesTheSurfacesDepthOnTheWindowsPlatform)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no X display (test.sh starts Xvfb)";
    if (__lsan_disable)
        __lsan_disable();   // X and GLX keep allocations for the process's life
    shell::shellState() = shell::ShellState{};
    platform::clearStopRequest();
    platform::HeadlessContext::releaseCurrent();
    std::string note;
    shell::shellState().windowSystem = platform::openWindowSystem(false, note);
    ASSERT_TRUE(shell::shellState().windowSystem->hasScreen()) << note;
    ASSERT_TRUE(shell::createGLWindow(".glint.", 320, 240, 32, false));
    {
        PBuffer surface(512, 512);
        surface.create(true);
        ShadowLight light;
        light.mapWidth = light.mapHeight = 256;
        light.position = show::Vec3(0, 0, 20);
        light.createDepthTexture(GL_UNSIGNED_INT);
        light.beginDepthPass(surface);
        // A far plane across the whole map and a near square in its middle.
        for (float z : {-10.0f, 5.0f}) {
            const float h = z < 0 ? 100.0f : 2.0f;
            nv::glBegin(GL_QUADS);
            glVertex3f(-h, -h, z);
            glVertex3f(h, -h, z);
            glVertex3f(h, h, z);
            glVertex3f(-h, h, z);
            glEnd();
        }
        light.endDepthPass(surface);

        std::vector<float> depth(256 * 256, -1.0f);
        glBindTexture(GL_TEXTURE_2D, light.depthTexture.get());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        const float middle = depth[128 * 256 + 128];
        const float corner = depth[4 * 256 + 4];
        EXPECT_GT(middle, 0.0f);
        EXPECT_LT(middle, corner);
        EXPECT_LT(corner, 1.0f);
    }
    shell::killGLWindow();
    shell::shellState() = shell::ShellState{};
    if (__lsan_enable)
        __lsan_enable();
}
