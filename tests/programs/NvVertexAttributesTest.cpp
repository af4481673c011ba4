// The vertex side of the layer beyond the conventional arrays: results a
// program writes only in part, the program matrices GL_MATRIX0_NV ..
// GL_MATRIX7_NV, and vertex attributes fed through glVertexAttrib*NV.
#include "programs/NvLayerTest.h"

#include "programs/MatrixTracking.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexProgramTranslator.h"

#include <vector>

using namespace programs;

namespace {

class NvVertexAttributesTest : public NvLayerTest {
protected:
    void TearDown() override
    {
        glMatrixMode(GL_MODELVIEW);
        NvLayerTest::TearDown();
    }

    // Draws one point at the screen centre through the bound program, with
    // `feed` setting the attributes before v[0] provokes the vertex.
    static void drawCentre(void (*feed)())
    {
        glBegin(GL_POINTS);
        feed();
        nv::glVertexAttrib2fNV(0, 0.5f / 320, 0.5f / 240);
        glEnd();
    }
};

TEST_F(NvVertexAttributesTest, PartlyWrittenResultsStartAtZeroZeroZeroOne)
{
    VpParseResult parsed = parseVertexProgram("!!VP1.0\nMOV o[HPOS], v[OPOS];\nMOV o[COL0].xy, v[COL0];\n"
                                              "MOV o[TEX0].xy, v[TEX0];\nMOV o[TEX1], v[TEX1];\nEND\n");
    ASSERT_TRUE(parsed.ok) << parsed.message;
    std::string arb = translateToArbVertexProgram(parsed.program, TrackingTable{});
    EXPECT_NE(arb.find("MOV result.color, {0, 0, 0, 1};\n"), std::string::npos) << arb;
    EXPECT_NE(arb.find("MOV result.texcoord[0], {0, 0, 0, 1};\n"), std::string::npos) << arb;
    // Wholly written results need no start value.
    EXPECT_EQ(arb.find("MOV result.texcoord[1], {"), std::string::npos) << arb;
    EXPECT_EQ(arb.find("MOV result.position, {"), std::string::npos) << arb;
}

TEST_F(NvVertexAttributesTest, AColourTheProgramNeverWritesIsBlack)
{
    loadVertexProgram("!!VP1.0\nMOV o[HPOS], v[OPOS];\nEND\n");
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    glColor3f(1, 1, 1);   // the current colour never reaches the result
    glBegin(GL_POINTS);
    glVertex2f(0.5f / 320, 0.5f / 240);
    glEnd();
    expectPixel(320, 240, {0, 0, 0});
}

TEST_F(NvVertexAttributesTest, AProgramWritingOnlySAndTSamplesWithQOne)
{
    // Texture s and t pick the texel; a q other than 1 would divide them.
    loadVertexProgram("!!VP1.0\nMOV o[HPOS], v[OPOS];\nMOV o[COL0], v[COL0];\nMOV o[TEX0].xy, v[TEX0];\nEND\n");
    GLuint ramp = 0;
    glGenTextures(1, &ramp);
    glBindTexture(GL_TEXTURE_2D, ramp);
    std::vector<unsigned char> texels(256 * 4, 255);
    for (int i = 0; i < 256; ++i)
        texels[i * 4] = static_cast<unsigned char>(i);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    glBegin(GL_POINTS);
    glTexCoord4f(100.5f / 256, 0.5f, 7, 4);   // r and q the program never passes on
    glVertex2f(0.5f / 320, 0.5f / 240);
    glEnd();
    EXPECT_NEAR(testsupport::readPixel(320, 240)[0], 100, 1);
    glDeleteTextures(1, &ramp);
}

TEST_F(NvVertexAttributesTest, ProgramMatricesAreLoadedAndTracked)
{
    const GLfloat scaleAndShift[16] = {0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 1, 0, 0.25f, -0.5f, 0, 1};
    nv::glMatrixMode(GL_MATRIX3_NV);
    glLoadMatrixf(scaleAndShift);
    nv::glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MATRIX3_NV, GL_IDENTITY_NV);
    GLfloat row[4];
    nv::glGetProgramParameterfvNV(GL_VERTEX_PROGRAM_NV, 8, GL_PROGRAM_PARAMETER_NV, row);
    EXPECT_FLOAT_EQ(row[0], 0.5f);
    EXPECT_FLOAT_EQ(row[3], 0.25f);
    nv::glGetProgramParameterfvNV(GL_VERTEX_PROGRAM_NV, 9, GL_PROGRAM_PARAMETER_NV, row);
    EXPECT_FLOAT_EQ(row[1], 0.25f);
    EXPECT_FLOAT_EQ(row[3], -0.5f);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A program placing its vertex with the tracked rows: (0.5, 2) lands at (0.5, 0).
    loadVertexProgram("!!VP1.0\nDP4 o[HPOS].x, c[8], v[OPOS];\nDP4 o[HPOS].y, c[9], v[OPOS];\n"
                      "DP4 o[HPOS].z, c[10], v[OPOS];\nDP4 o[HPOS].w, c[11], v[OPOS];\nMOV o[COL0], v[COL0];\nEND\n");
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    glColor3f(0, 1, 0);
    glBegin(GL_POINTS);
    glVertex2f(0.5f + 1.0f / 320, 2 + 2.0f / 240);
    glEnd();
    auto p = pixelOf(0.5f + 0.5f / 320, 0.5f / 240);
    expectPixel(p[0], p[1], {0, 1, 0});
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(NvVertexAttributesTest, AttributesReachTheirRegistersWithNvAliasing)
{
    struct Row {
        const char* source;   // what the program copies to o[COL0]
        void (*feed)();
        std::array<float, 3> colour;
    };
    const Row rows[] = {
        {"v[1]", [] { nv::glVertexAttrib4fNV(1, 0.25f, 0.5f, 0.75f, 1); }, {0.25f, 0.5f, 0.75f}},
        {"v[6]", [] { nv::glVertexAttrib3fNV(6, 1, 0.5f, 0); }, {1, 0.5f, 0}},
        {"v[7]", [] {
             const GLubyte v[4] = {51, 102, 204, 255};
             nv::glVertexAttrib4ubvNV(7, v);
         }, {0.2f, 0.4f, 0.8f}},
        // Aliased registers read what the conventional inputs read.
        {"v[NRML]", [] { nv::glVertexAttrib3fNV(2, 0.5f, 0.25f, 1); }, {0.5f, 0.25f, 1}},
        {"v[COL0]", [] { nv::glVertexAttrib4fNV(3, 0.75f, 0, 0.25f, 1); }, {0.75f, 0, 0.25f}},
        {"v[COL1]", [] { nv::glVertexAttrib3dNV(4, 0, 0.5, 0.5); }, {0, 0.5f, 0.5f}},
        {"v[FOGC]", [] { nv::glVertexAttrib1fNV(5, 0.5f); }, {0.5f, 0, 0}},
        {"v[TEX3]", [] {
             const GLshort v[2] = {1, 0};
             nv::glVertexAttrib2svNV(11, v);
         }, {1, 0, 0}},
        // A run of attributes, the highest first, so that v[0] comes last.
        {"v[1]", [] {
             const GLfloat v[8] = {0.5f / 320, 0.5f / 240, 0, 1, 0, 1, 0.5f, 1};
             nv::glVertexAttribs4fvNV(0, 2, v);
         }, {0, 1, 0.5f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        loadVertexProgram(std::string("!!VP1.0\nMOV o[HPOS], v[OPOS];\nMOV o[COL0], ") + row.source + ";\nEND\n");
        nv::glEnable(GL_VERTEX_PROGRAM_NV);
        glClear(GL_COLOR_BUFFER_BIT);
        drawCentre(row.feed);
        expectPixel(320, 240, row.colour);
        EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    nv::glVertexAttrib4fNV(16, 0, 0, 0, 1);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
}

TEST_F(NvVertexAttributesTest, AttributeArraysFeedTheirRegistersAndTakeThePlaceOfAliasedArrays)
{
    loadVertexProgram("!!VP1.0\nMOV o[HPOS], v[OPOS];\nMOV R0, v[6];\nADD o[COL0], v[COL0], R0.xyyy;\nEND\n");
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    const GLfloat positions[2][2] = {{-0.5f + 0.5f / 320, 0.5f / 240}, {0.5f + 0.5f / 320, 0.5f / 240}};
    const GLfloat red[2][3] = {{1, 0, 0}, {1, 0, 0}};
    const GLubyte colours[2][4] = {{0, 255, 0, 255}, {0, 0, 255, 255}};
    const GLshort extra[2] = {1, 0};   // v[6].x: 1 for the first point, 0 for the second
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, 0, red);   // replaced by the NV array of v[3]
    nv::glVertexAttribPointerNV(0, 2, GL_FLOAT, 0, positions);
    nv::glVertexAttribPointerNV(3, 4, GL_UNSIGNED_BYTE, 0, colours);
    nv::glVertexAttribPointerNV(6, 1, GL_SHORT, 0, extra);
    for (GLenum array : {GL_VERTEX_ATTRIB_ARRAY0_NV, GL_VERTEX_ATTRIB_ARRAY3_NV, GL_VERTEX_ATTRIB_ARRAY6_NV})
        nv::glEnableClientState(array);
    nv::glDrawArrays(GL_POINTS, 0, 2);
    auto left = pixelOf(positions[0][0], positions[0][1]), right = pixelOf(positions[1][0], positions[1][1]);
    expectPixel(left[0], left[1], {1, 1, 0});
    expectPixel(right[0], right[1], {0, 0, 1});

    // Without the NV array of v[3] the conventional colour array is read again.
    nv::glDisableClientState(GL_VERTEX_ATTRIB_ARRAY3_NV);
    nv::glDrawArrays(GL_POINTS, 0, 2);
    expectPixel(right[0], right[1], {1, 0, 0});
    for (GLenum array : {GL_VERTEX_ATTRIB_ARRAY0_NV, GL_VERTEX_ATTRIB_ARRAY6_NV})
        nv::glDisableClientState(array);
    glDisableClientState(GL_COLOR_ARRAY);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    nv::glVertexAttribPointerNV(3, 3, GL_UNSIGNED_BYTE, 0, colours);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION));
    nv::glVertexAttribPointerNV(2, 5, GL_FLOAT, 0, colours);
    EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
}

} // namespace
