// The scenes' own vertex programs, compiled from the data and run on a test
// quad: they must compile without a message and light the quad the way their
// scenes expect (pixels read back).
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"
#include "resources/TempDirectory.h"
#include "scenes/shared/VertexProgramFile.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <array>

namespace {

class SceneProgramsTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        // A narrow view of a far quad: the programs light per vertex, so
        // every corner must see the light and the eye as the centre does.
        glFrustum(-0.01, 0.01, -0.0075, 0.0075, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
    }
    void TearDown() override
    {
        glDisable(GL_VERTEX_PROGRAM_NV);
        program.reset();
    }

    // Compiles `file`, which must leave no message, and binds it with the
    // three tracked matrices every scene program reads.
    void useProgram(const char* file)
    {
        program = loadVertexProgram(resources, file);
        EXPECT_EQ(programs::programTextErrors()[0], nullptr) << programs::programTextErrors()[0];
        glEnable(GL_VERTEX_PROGRAM_NV);
        nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
        nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
        nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW, GL_IDENTITY_NV);
        nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    }

    // A quad 500 units ahead filling the view, every vertex with `normal`.
    static void drawQuad(float nx, float ny, float nz)
    {
        nv::glBegin(GL_QUADS);
        glNormal3f(nx, ny, nz);
        glVertex3f(-6, -5, -500);
        glVertex3f(6, -5, -500);
        glVertex3f(6, 5, -500);
        glVertex3f(-6, 5, -500);
        glEnd();
    }

    ResourceManager resources{false, true};
    GLProgramNV program;
};

void expectColour(const std::array<uint8_t, 4>& pixel, int r, int g, int b)
{
    EXPECT_NEAR(pixel[0], r, 6);
    EXPECT_NEAR(pixel[1], g, 6);
    EXPECT_NEAR(pixel[2], b, 6);
}

} // namespace

TEST_F(SceneProgramsTest, RibbonsShineAcrossTheirDirectionAndDarkenAlongIt)
{
    useProgram("hribbonaniso.vpc");
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, 0, 0, 0, 1);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 14, 0.5f, 1, 100, 0);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 16, 2, 3.14159f, 0.04f, 2.718f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 17, 2, 1, 0, 0);
    glColor3f(0.2f, 0.4f, 0.6f);

    // Light and eye at the origin, ribbon running across the view: full
    // diffuse light and the whole highlight: base + 0.5 + Fresnel 0.04.
    drawQuad(1, 0, 0);
    expectColour(testsupport::readPixel(320, 240), 189, 240, 255);
    // Running straight away from the eye: no light across it, no highlight,
    // only the ambient half of the base colour.
    drawQuad(0, 0, 1);
    expectColour(testsupport::readPixel(320, 240), 26, 51, 77);
}

TEST_F(SceneProgramsTest, PetalsAreLitFromEitherSideWithAGlossAndAStemColouredRoot)
{
    useProgram("flower.vpc");
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, 0, 0, 0, 1);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 14, 0.5f, 1, 24, 0);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 15, 0, 0, 1000, 1000);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 16, 4, 3.14159f, 0.25f, 2.718f);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 17, 4, 1, 0, 0);
    glColor3f(0.2f, 0.4f, 0.6f);
    glSecondaryColor3f(0.0f, 0.6f, 0.0f);
    // A petal's frame turned so that its cross-section faces the eye: x (out
    // along the petal) towards the eye, z (across it) to the right. The quad
    // stands at x = 0, where the petal does not bow.
    glTranslatef(0, 0, -500);
    glRotatef(90, 0, 1, 0);
    const auto drawCrossSection = [](float nx) {
        nv::glBegin(GL_QUADS);
        glNormal3f(nx, 0, 0);
        glVertex3f(0, -5, -6);
        glVertex3f(0, -5, 6);
        glVertex3f(0, 5, 6);
        glVertex3f(0, 5, -6);
        glEnd();
    };

    // Half way out, facing the headlight: the ring's colour, its normals
    // leaned out across the cupped width by a half (diffuse 0.894), the
    // rim's F0 (x 0.5) on it and the highlight 0.894^24 (x 0.5) added:
    // base x 1.072 + 0.034.
    glTexCoord3f(0.25f, 0.25f, 0.25f);
    drawCrossSection(-1);
    expectColour(testsupport::readPixel(320, 240), 63, 118, 173);
    // Seen from behind it is lit the same.
    drawCrossSection(1);
    expectColour(testsupport::readPixel(320, 240), 63, 118, 173);
    // Near the root the stem colour takes over: a fifth of the way to the
    // ring's colour at a tenth of the length.
    glTexCoord3f(0.05f, 0.05f, 0.05f);
    drawCrossSection(-1);
    expectColour(testsupport::readPixel(320, 240), 20, 162, 42);
}

TEST_F(SceneProgramsTest, AProgramFileCutShortIsReportedUnderItsName)
{
    const std::unique_ptr<char[]> whole = resources.readFile("flower.vpc");
    ASSERT_NE(whole, nullptr);
    const std::string text = whole.get();
    testsupport::TempDirectory folder;
    folder.write("whole.vpc", text);
    folder.write("cut.vpc", text.substr(0, text.size() / 2));
    ResourceManager own(false, false);
    own.dataDir = folder.path().string() + "/";

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    program = loadVertexProgram(own, "whole.vpc");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    testing::internal::CaptureStderr();
    program = loadVertexProgram(own, "cut.vpc");
    const std::string notes = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    // The file first, then the compiler's own words.
    EXPECT_EQ(notes.rfind("cut.vpc: the program text does not compile:\nerror at line ", 0), 0u) << notes;
}
