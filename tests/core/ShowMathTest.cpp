#include "core/ShowMath.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>
// GLU after epoxy: epoxy replaces GL/gl.h, which GLU would pull in.
#include <GL/glu.h>

using namespace show;

TEST(ShowMath, RemapLerpAndRandomRange)
{
    EXPECT_FLOAT_EQ(remap(5, 0, 10, 100, 200), 150);
    EXPECT_FLOAT_EQ(remap(20, 0, 10, 0, 1), 2);        // no clamping
    EXPECT_FLOAT_EQ(remap(0, 0, 15, 0.1f, 0.0f), 0.1f);
    EXPECT_FLOAT_EQ(lerp(0.25f, 4, 8), 5);
    std::srand(1);
    const int first = std::rand() % 1000;
    std::srand(1);
    EXPECT_FLOAT_EQ(random(-20, 20), -20 + first * 40 / 1000.0f);
}

TEST(ShowMath, NormalisingZeroLeavesZero)
{
    const Vec3 zero = Vec3().normalized();
    EXPECT_EQ(zero.x, 0);
    EXPECT_EQ(zero.y, 0);
    EXPECT_EQ(zero.z, 0);
    EXPECT_FLOAT_EQ(Vec3(3, 0, 4).normalized().z, 0.8f);
    const Vec3 c = Vec3(1, 0, 0).cross(Vec3(0, 1, 0));
    EXPECT_FLOAT_EQ(c.z, 1);
}

using ShowMathGLTest = GLTest;

// The matrices must be exactly what the GL builds, since scenes mix both.
TEST_F(ShowMathGLTest, MatricesMatchTheFixedFunctionStack)
{
    struct Case {
        const char* name;
        Mat4 ours;
        void (*gl)();
    };
    const Case cases[] = {
        {"rotate", Mat4::rotation(33, 1, 2, 3), [] { glRotatef(33, 1, 2, 3); }},
        {"translate scale", Mat4::translation(1, 2, 3) * Mat4::scaling(2, 3, 4),
         [] { glTranslatef(1, 2, 3); glScalef(2, 3, 4); }},
        {"perspective", Mat4::perspective(60, 4.0f / 3, 1, 100), [] { gluPerspective(60, 4.0 / 3, 1, 100); }},
        {"look at", Mat4::lookAt(Vec3(20, 5, 10), Vec3(20, 0, 0), Vec3(0, 0, 1)),
         [] { gluLookAt(20, 5, 10, 20, 0, 0, 0, 0, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        c.gl();
        float gl[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(c.ours.m[i], gl[i], 1e-4) << "element " << i;
    }
}
