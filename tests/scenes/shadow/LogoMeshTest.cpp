// The logo's mesh sends only the faces turned towards the eye: from beside,
// above or behind a box, the face on that side must still be drawn.
#include "scenes/shadow/LogoMesh.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

using show::Mat4;
using show::Vec3;

using LogoMeshTest = GLTest;

namespace {

const Mat4 projection = Mat4::perspective(45.0f, 640.0f / 480.0f, 0.5f, 50.0f);

// The red of the window pixel that the world point `c` lands on.
int redAt(const Mat4& camera, const Vec3& c)
{
    const Mat4 clip = projection * camera;
    float p[4];
    for (int r = 0; r < 4; ++r)
        p[r] = clip.at(r, 0) * c.x + clip.at(r, 1) * c.y + clip.at(r, 2) * c.z + clip.at(r, 3);
    const int x = static_cast<int>((p[0] / p[3] + 1.0f) * 320.0f);
    const int y = static_cast<int>((p[1] / p[3] + 1.0f) * 240.0f);
    return testsupport::readPixel(x, y)[0];
}

// Culling, depth and one white light shining along `towards` (world).
void lightAlong(const Mat4& camera, const Vec3& towards)
{
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(camera.m);
    const Vec3 n = towards.normalized();
    const GLfloat from[4] = {n.x, n.y, n.z, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, from);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void putBackState()
{
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

} // namespace

TEST_F(LogoMeshTest, FacesSeenFromBesideAboveAndBehindAreDrawn)
{
    LogoMesh mesh(4);
    // Where the box stands, the eye close enough to see a face at a slant,
    // and the centre of that face, lit head on. The last box stands left of
    // the eye, which sees its right face though it looks leftwards.
    const struct {
        Vec3 box, eye, up, faceCentre;
    } views[] = {
        {{0, 0, 0}, {-2.5f, 0, 1.5f}, {0, 1, 0}, {-0.5f, 0, 0}},
        {{0, 0, 0}, {0, 2.5f, 1.5f}, {0, 0, 1}, {0, 0.5f, 0}},
        {{0, 0, 0}, {0.5f, 0, -3.0f}, {0, 1, 0}, {0, 0, -0.25f}},
        {{-2, 0, 0}, {-0.5f, 0, 3.0f}, {0, 1, 0}, {-1.5f, 0, 0}},
    };
    for (const auto& view : views) {
        SCOPED_TRACE(::testing::Message() << "eye " << view.eye.x << "," << view.eye.y << "," << view.eye.z);
        mesh.place({Mat4::translation(view.box.x, view.box.y, view.box.z)});
        const Mat4 camera = Mat4::lookAt(view.eye, view.box, view.up);
        lightAlong(camera, view.faceCentre - view.box);
        mesh.draw();
        EXPECT_GT(redAt(camera, view.faceCentre), 150);
    }
    putBackState();
}

TEST_F(LogoMeshTest, ABoxTurnedUnderTheSameEyeShowsItsOtherFace)
{
    // The faces chosen for one eye are kept for the next pass from it, but
    // not once the boxes move: turned half round, the box's left face is
    // the one on the right.
    LogoMesh mesh(4);
    const Mat4 camera = Mat4::lookAt({2.5f, 0, 1.5f}, {0, 0, 0}, {0, 1, 0});
    for (const float turn : {0.0f, 180.0f}) {
        SCOPED_TRACE(turn);
        mesh.place({Mat4::rotation(turn, 0, 1, 0)});
        lightAlong(camera, {1, 0, 0});
        mesh.draw();
        EXPECT_GT(redAt(camera, {0.5f, 0, 0}), 150);
    }
    putBackState();
}
