#include "scenes/ribbonstack/BarField.h"

#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <vector>

namespace {

using Face = BarField::Face;

void expectFaces(const std::vector<Face>& got, const std::vector<Face>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(got[i].x0, want[i].x0, 1e-4f);
        EXPECT_NEAR(got[i].x1, want[i].x1, 1e-4f);
        EXPECT_EQ(got[i].z, want[i].z);
    }
}

} // namespace

TEST(BarFieldTest, ANearerBarHidesWhatLiesInItsShadowOverTheWholeHeight)
{
    // From (0, 0, 10): the bar at depth 0 spans u = x / 10 of -0.2..0.2; at
    // depth -10, u = x / 20. A cut piece reaches 0.01 of u under its cutter.
    const std::vector<BarField::Bar> bars = {
        {0.0f, 0.0f, 0.0f, 4.0f},     // nearest, whole
        {-1.0f, 0.0f, 0.0f, 2.0f},    // as near, in the first's plane: the first keeps the face
        {0.0f, 0.0f, -10.0f, 4.0f},   // x -2..2 at u -0.1..0.1: hidden
        {4.0f, 0.0f, -10.0f, 4.0f},   // x 2..6 at u 0.1..0.3: hidden to u 0.2
        {-8.0f, 0.0f, -10.0f, 8.0f},  // x -12..-4 at u -0.6..-0.2: whole
    };
    const Face cutAt3_8{3.8f, 6.0f, 0.0f, -10.0f};
    expectFaces(BarField::frontFaces(bars, {0.0f, 0.0f, 10.0f}),
                {{-2.0f, 2.0f, 0.0f, 0.0f}, cutAt3_8, {-12.0f, -4.0f, 0.0f, -10.0f}});
    // A bar cut on both sides keeps the middle, reaching under both.
    expectFaces(BarField::frontFaces({{-3.0f, 0.0f, 0.0f, 2.0f}, {3.0f, 0.0f, 0.0f, 2.0f}, {0.0f, 0.0f, -10.0f, 10.0f}},
                                     {0.0f, 0.0f, 10.0f}),
                {{-4.0f, -2.0f, 0.0f, 0.0f}, {2.0f, 4.0f, 0.0f, 0.0f}, {-4.2f, 4.2f, 0.0f, -10.0f}});
    // From above the bars' height, or behind the nearest, a shadow no longer
    // covers the whole height: every face whole.
    for (const show::Vec3& eye : {show::Vec3(0.0f, 16.0f, 10.0f), show::Vec3(0.0f, 0.0f, -1.0f)}) {
        SCOPED_TRACE(eye.y);
        EXPECT_EQ(BarField::frontFaces(bars, eye).size(), bars.size());
    }
}

namespace {

class BarFieldLightTest : public GLTest {
protected:
    // The screen after the faces' depth was laid and white light at a
    // quarter added where the faces pass the depth test again, seen from
    // `eye` (stack coordinates) towards `centre`: once with the field's cut
    // faces, once with every bar's whole face.
    std::vector<uint8_t> lit(const BarField& field, const show::Vec3& eye, const show::Vec3& centre, bool whole)
    {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(show::Mat4::perspective(50.0f, 640.0f / 480.0f, 1.0f, 200.0f).m);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(show::Mat4::lookAt(eye, centre, {0.0f, 1.0f, 0.0f}).m);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        auto faces = [&] {
            if (!whole)
                return field.drawFaces(eye);
            glTranslatef(0.0f, 0.0f, BarField::depthBehindStack);
            glBegin(GL_QUADS);
            for (int i : field.nearestFirst) {
                const BarField::Bar& b = field.bars[i];
                const float w = b.width / 2.0f, h = BarField::barHeight / 2.0f;
                glVertex3f(b.x - w, b.y - h, b.z), glVertex3f(b.x + w, b.y - h, b.z);
                glVertex3f(b.x + w, b.y + h, b.z), glVertex3f(b.x - w, b.y + h, b.z);
            }
            glEnd();
            glTranslatef(0.0f, 0.0f, -BarField::depthBehindStack);
        };
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        faces();
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glColor4f(0.25f, 0.25f, 0.25f, 1.0f);
        faces();
        std::vector<uint8_t> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

} // namespace

TEST_F(BarFieldLightTest, LightLandsOnTheCutFacesWhereItLandedOnTheWholeOnes)
{
    // Where the camera rides beside the stack and where it turns along it:
    // no seam between a piece and its cutter, no face lit twice or missed.
    // The field of seed 34 has overlapping bars in one plane, which the
    // whole faces light twice wherever their depths round alike.
    std::srand(34);
    const BarField field;
    struct View {
        show::Vec3 eye, centre;
    };
    for (const View& v : {View{{30.0f, 0.5f, 14.0f}, {29.0f, 0.0f, 0.0f}}, View{{60.0f, -1.0f, 15.0f}, {75.0f, 0.0f, 5.0f}},
                          View{{100.0f, 2.0f, 6.0f}, {90.0f, 0.0f, -3.0f}}}) {
        SCOPED_TRACE(v.eye.x);
        const std::vector<uint8_t> cut = lit(field, v.eye, v.centre, false), whole = lit(field, v.eye, v.centre, true);
        long differ = 0, covered = 0, twice = 0;
        for (size_t i = 0; i < cut.size(); i += 4) {
            differ += (cut[i] != 0) != (whole[i] != 0);
            covered += whole[i] != 0;
            twice += cut[i] > 70;
        }
        EXPECT_GT(covered, 640 * 480 / 2);
        // A piece's top and bottom run along its bar's, between other
        // corners: a pixel whose centre lies on such an edge may go either way.
        EXPECT_LE(differ, 8);
        EXPECT_EQ(twice, 0);
    }
}

TEST_F(BarFieldLightTest, OneQuadPerOverlapAddsTheRedTheFacesAddOneByOne)
{
    // The field drawn face by face from its list, and drawn a region of
    // overlapping faces at a time, from the camera's places beside the stack
    // (stack coordinates): the same frame, but for a pixel here and there
    // on an edge, which its own corners and a region's place a hair apart.
    const BarField field;
    struct View {
        show::Vec3 eye, centre;
    };
    for (const View& v : {View{{30.0f, 0.5f, 14.0f}, {29.0f, 0.0f, 0.0f}}, View{{60.0f, -1.0f, 15.0f}, {75.0f, 0.0f, 5.0f}},
                          View{{100.0f, 9.0f, 6.0f}, {90.0f, 0.0f, -3.0f}}}) {
        SCOPED_TRACE(v.eye.x);
        std::vector<uint8_t> frames[2];
        for (int regions = 0; regions < 2; ++regions) {
            glMatrixMode(GL_PROJECTION);
            glLoadMatrixf(show::Mat4::perspective(50.0f, 640.0f / 480.0f, 1.0f, 200.0f).m);
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(show::Mat4::lookAt(v.eye, v.centre, {0.0f, 1.0f, 0.0f}).m);
            glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            BarField& bars = const_cast<BarField&>(field);
            if (regions)
                bars.draw(v.eye);
            else
                bars.draw(0.0f);
            frames[regions].resize(640 * 480 * 4);
            glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, frames[regions].data());
        }
        long differ = 0, red = 0;
        for (size_t i = 0; i < frames[0].size(); i += 4) {
            differ += frames[0][i] != frames[1][i];
            red += frames[0][i];
        }
        EXPECT_GT(red, 640L * 480 * 40);   // the field covers the view
        EXPECT_LE(differ, 640 * 480 / 1000);
    }
}
