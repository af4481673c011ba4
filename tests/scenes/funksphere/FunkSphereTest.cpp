#include "core/ShowMath.h"
#include "effects/SharedObjects.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"
#include "scenes/funksphere/FunkSphere.h"
#include "scenes/funksphere/OrbitRibbon.h"
#include "support/ShowResourcesTest.h"

#include <epoxy/gl.h>

#include <memory>

using testsupport::readPixel;

namespace {

class FunkSphereTest : public ShowResourcesTest {
protected:
    // The sphere from 150 units away on +z, as the scene's camera sees it.
    static void lookAtSphere()
    {
        const show::Mat4 projection = show::Mat4::perspective(45, 640.0f / 480, 1, 1000);
        const show::Mat4 view = show::Mat4::lookAt({0, 0, 150}, {0, 0, 0}, {0, 1, 0});
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(projection.m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(view.m);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }
};

} // namespace

TEST_F(FunkSphereTest, CombinerSetupAddsPrimarySecondaryAndTexture)
{
    const GLDisplayList list = compileSphereCombiners();
    ASSERT_TRUE(list);
    EXPECT_EQ(programs::programTextErrors()[0], nullptr);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const uint8_t blue[3] = {0, 0, 102};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, blue);
    glEnable(GL_TEXTURE_2D);
    nv::glEnable(GL_REGISTER_COMBINERS_NV);
    nv::glCallList(list.get());
    glColor3f(0.2f, 0, 0.1f);
    glSecondaryColor3f(0, 0.3f, 0.1f);
    nv::glBegin(GL_QUADS);
    glTexCoord2f(0.5f, 0.5f);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    glDisable(GL_TEXTURE_2D);
    const auto pixel = readPixel(320, 240);
    EXPECT_NEAR(pixel[0], 51, 2);
    EXPECT_NEAR(pixel[1], 77, 2);
    EXPECT_NEAR(pixel[2], 153, 2);   // 0.1 + 0.1 + 0.4
    glDeleteTextures(1, &texture);
}

TEST_F(FunkSphereTest, TheSphereSitsInTheMiddleAndCarriesItsTexture)
{
    FunkSphere sphere(resources.get());
    EXPECT_EQ(sphere.vertexCount(), 1026);
    EXPECT_EQ(sphere.triangleIndices().size(), 3u * 2048u);
    lookAtSphere();
    sphere.draw(0.7f);
    const auto middle = readPixel(320, 240);
    EXPECT_GT(middle[0] + middle[1] + middle[2], 60);
    EXPECT_EQ(readPixel(2, 2)[0], 0);   // the sphere stays well inside the frame
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_PROGRAM_NV));
    EXPECT_FALSE(nv::glIsEnabled(GL_REGISTER_COMBINERS_NV));

    // A green texture is added on top.
    std::vector<uint8_t> green(FunkSphere::textureSize * FunkSphere::textureSize * 3, 0);
    for (size_t i = 1; i < green.size(); i += 3)
        green[i] = 200;
    glBindTexture(GL_TEXTURE_2D, sphere.texture());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, FunkSphere::textureSize, FunkSphere::textureSize, GL_RGB,
                    GL_UNSIGNED_BYTE, green.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sphere.draw(0.7f);
    EXPECT_GE(readPixel(320, 240)[1], std::min(255, middle[1] + 190));
}

TEST_F(FunkSphereTest, TheSurfaceProgramShadesWhereTheUnlitSphereIsFlat)
{
    FunkSphere lit(resources.get());
    ASSERT_TRUE(lit.hasProgram());
    FunkSphere unlit(nullptr);
    unlit.mt = lit.mt;
    std::copy(lit.diffuse, lit.diffuse + 3, unlit.diffuse);
    auto brightness = [](int x, int y) {
        const auto p = readPixel(x, y);
        return p[0] + p[1] + p[2];
    };
    lookAtSphere();
    unlit.draw(0.0f);
    const int flat = brightness(320, 240);
    EXPECT_EQ(brightness(312, 232), flat);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    lit.draw(0.0f);
    EXPECT_GT(std::abs(brightness(320, 240) - flat), 30);
    EXPECT_GT(brightness(320, 240), 30);
}

TEST_F(FunkSphereTest, WithoutItsProgramTheSphereStillDrawsInItsColour)
{
    FunkSphere sphere(nullptr);
    EXPECT_FALSE(sphere.hasProgram());
    lookAtSphere();
    sphere.draw(0.0f);
    const auto p = readPixel(320, 240);
    EXPECT_NEAR(p[0], sphere.diffuse[0] * 255, 2);
    EXPECT_NEAR(p[2], sphere.diffuse[2] * 255, 2);
}

TEST(OrbitRibbon, RibbonsShareOneClockThatTheFirstOfAFrameStepsFrom)
{
    std::srand(1);
    OrbitRibbon first, second;
    OrbitRibbon::resetSharedClock();
    auto pointOf = [](const OrbitRibbon& r) {
        const RibbonSection& s = r.trail().section(0);
        return (s.left + s.right) * 0.5f;
    };
    first.advance(2.0f);    // the first call ever starts the clock at 1
    EXPECT_LE((pointOf(first) - first.path().position(1.0f)).length(), 1e-3f);
    first.advance(4.0f);    // steps from the previous frame's 1 ...
    EXPECT_LE((pointOf(first) - first.path().position(1.0f)).length(), 1e-3f);
    second.advance(4.0f);   // ... the next ribbon from this frame's 2
    EXPECT_LE((pointOf(second) - second.path().position(2.0f)).length(), 1e-3f);
    // Edges two half widths apart, across the direction of flight.
    const RibbonSection& s = second.trail().section(0);
    EXPECT_NEAR((s.left - s.right).length(), 2 * OrbitRibbon::halfWidth, 1e-3f);
    OrbitRibbon::resetSharedClock();
}

TEST(OrbitRibbon, OrbitsStayInsideTheirOutermostPoints)
{
    std::srand(1);
    const OrbitRibbon ribbon;
    float farthest = 0;
    for (float t = 0; t < 100; t += 0.25f)
        farthest = std::max(farthest, ribbon.path().position(t).length());
    EXPECT_GT(farthest, 400.0f);   // wide orbits
    EXPECT_LT(farthest, 1120.0f);  // a B-spline stays inside its points
}
