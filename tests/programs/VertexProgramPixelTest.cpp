// Vertex programs run as ARB programs on llvmpipe, checked against the CPU
// interpreter: each vertex is drawn as a one-pixel point where the
// interpreter puts it, in the colour the interpreter computes.
#include "programs/NvLayerTest.h"

#include "programs/TrackedMatrixValues.h"
#include "programs/VertexMachine.h"
#include "programs/VertexProgramParser.h"

#include <cmath>

using namespace programs;

namespace {

const char* const lightingProgram =
    "!!VP1.0\n"
    "DP4 o[HPOS].x, c[0], v[OPOS];\n"
    "DP4 o[HPOS].y, c[1], v[OPOS];\n"
    "DP4 o[HPOS].z, c[2], v[OPOS];\n"
    "DP4 o[HPOS].w, c[3], v[OPOS];\n"
    "DP3 R0.x, v[NRML], c[20];\n"
    "MAX R0.x, R0.x, c[21].x;\n"
    "MUL R1, v[COL0], R0.x;\n"
    "ADD o[COL0], R1, c[22];\n"
    "MOV o[TEX0], v[TEX0];\n"
    "END\n";

struct Vertex {
    Vec4 position, normal, colour, texcoord;
};

class VertexProgramPixelTest : public NvLayerTest {
protected:
    // Sends one vertex as a point through the bound program.
    static void drawPoint(const Vertex& v)
    {
        glBegin(GL_POINTS);
        glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
        glColor4f(v.colour[0], v.colour[1], v.colour[2], v.colour[3]);
        glTexCoord4f(v.texcoord[0], v.texcoord[1], v.texcoord[2], v.texcoord[3]);
        glVertex4f(v.position[0], v.position[1], v.position[2], v.position[3]);
        glEnd();
    }

    // Where the interpreter puts the vertex, as a window pixel.
    static std::array<int, 2> pixelOfClip(const Vec4& clip) { return pixelOf(clip[0] / clip[3], clip[1] / clip[3]); }
};

TEST_F(VertexProgramPixelTest, PositionsColoursAndTextureCoordinatesMatchTheInterpreter)
{
    loadVertexProgram(lightingProgram);
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30, 0, 0, 1);
    const Vec4 light{0.0f, 0.6f, 0.8f, 0}, floor{0, 0, 0, 0}, ambient{0.1f, 0.2f, 0.05f, 0};
    nv::glProgramParameter4fvNV(GL_VERTEX_PROGRAM_NV, 20, light.data());
    nv::glProgramParameter4fvNV(GL_VERTEX_PROGRAM_NV, 21, floor.data());
    nv::glProgramParameter4fvNV(GL_VERTEX_PROGRAM_NV, 22, ambient.data());

    // Texture coordinate s shows as red through a 256-texel ramp.
    GLuint ramp = 0;
    glGenTextures(1, &ramp);
    glBindTexture(GL_TEXTURE_2D, ramp);
    std::vector<unsigned char> texels(256 * 4);
    for (int i = 0; i < 256; ++i)
        texels[i * 4] = static_cast<unsigned char>(i), texels[i * 4 + 3] = 255;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    const Vertex vertices[] = {
        {{0.5f, 0.25f, 0, 1}, {0, 0, 1, 0}, {1, 0.5f, 0.25f, 1}, {100.5f / 256, 0, 0, 1}},
        {{-1, 0.75f, 0.5f, 1}, {0, 1, 0, 0}, {0.2f, 0.9f, 0.4f, 1}, {10.5f / 256, 0, 0, 1}},
        {{0.3f, -1.2f, 0, 2}, {0, -1, 0, 0}, {1, 1, 1, 1}, {200.5f / 256, 0, 0, 1}},
    };
    VpParseResult parsed = parseVertexProgram(lightingProgram);
    ASSERT_TRUE(parsed.ok);
    VertexMachine m;
    auto rows = trackedMatrixRows({GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV, 0});
    for (int r = 0; r < 4; ++r)
        m.parameters[r] = rows[r];
    m.parameters[20] = light;
    m.parameters[21] = floor;
    m.parameters[22] = ambient;

    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    for (const Vertex& v : vertices) {
        m.attributes[0] = v.position;
        m.attributes[2] = v.normal;
        m.attributes[3] = v.colour;
        m.attributes[8] = v.texcoord;
        m.run(parsed.program);
        auto p = pixelOfClip(m.outputs[HPOS]);
        glDisable(GL_TEXTURE_2D);
        drawPoint(v);
        expectPixel(p[0], p[1], {m.outputs[COL0][0], m.outputs[COL0][1], m.outputs[COL0][2]});
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        drawPoint(v);
        EXPECT_NEAR(testsupport::readPixel(p[0], p[1])[0], std::floor(m.outputs[TEX0][0] * 256), 1);
    }
    glDeleteTextures(1, &ramp);
}

TEST_F(VertexProgramPixelTest, TrackedMatricesFollowLaterMatrixChanges)
{
    loadVertexProgram("!!VP1.0\n"
                      "DP4 o[HPOS].x, c[4], v[OPOS];\nDP4 o[HPOS].y, c[5], v[OPOS];\n"
                      "DP4 o[HPOS].z, c[6], v[OPOS];\nDP4 o[HPOS].w, c[7], v[OPOS];\n"
                      "MOV o[COL0], v[COL0];\nEND\n");
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    const float steps[][2] = {{0.25f, 0.5f}, {-0.5f, -0.25f}, {0.75f, -0.75f}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0]);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(step[0], step[1], 0);   // after tracking was set
        drawPoint({{0.5f / 320, 0.5f / 240, 0, 1}, {}, {1, 1, 0, 1}, {}});
        auto p = pixelOf(step[0] + 0.5f / 320, step[1] + 0.5f / 240);
        expectPixel(p[0], p[1], {1, 1, 0});
    }
}

TEST_F(VertexProgramPixelTest, InverseTransposeTrackingTransformsNormals)
{
    loadVertexProgram("!!VP1.0\n"
                      "MOV o[HPOS], v[OPOS];\n"
                      "DP3 R0.x, c[8], v[NRML];\nDP3 R0.y, c[9], v[NRML];\nDP3 R0.z, c[10], v[NRML];\n"
                      "MAD o[COL0], R0, c[12].x, c[12].x;\nEND\n");
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV);
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 12, 0.5f, 0, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(90, 0, 0, 1);
    glScalef(4, 4, 4);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    drawPoint({{0.5f / 320, 0.5f / 240, 0, 1}, {1, 0, 0, 0}, {}, {}});
    // The normal (1, 0, 0) turns to (0, 1/4, 0): colour 0.5 + 0.5 n.
    expectPixel(320, 240, {0.5f, 0.625f, 0.5f});
}

TEST_F(VertexProgramPixelTest, RelativeAddressingPicksParameters)
{
    loadVertexProgram("!!VP1.0\n"
                      "MOV o[HPOS], v[OPOS];\n"
                      "ARL A0.x, v[TEX1].x;\n"
                      "MOV o[COL0], c[A0.x + 30];\nEND\n");
    const float colours[4][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};
    nv::glProgramParameters4fvNV(GL_VERTEX_PROGRAM_NV, 30, 4, &colours[0][0]);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    for (int i = 0; i < 4; ++i) {
        float x = -0.5f + 0.25f * i + 0.5f / 320;
        glBegin(GL_POINTS);
        glMultiTexCoord2f(GL_TEXTURE1, i + 0.5f, 0);
        glVertex2f(x, 0.5f / 240);
        glEnd();
        auto p = pixelOf(x, 0.5f / 240);
        expectPixel(p[0], p[1], {colours[i][0], colours[i][1], colours[i][2]});
    }
}

TEST_F(VertexProgramPixelTest, StateProgramsWriteParametersThePixelsThenShow)
{
    loadVertexProgram("!!VP1.0\nMOV o[HPOS], v[OPOS];\nMOV o[COL0], c[40];\nEND\n");
    GLuint state = 0;
    nv::glGenProgramsNV(1, &state);
    EXPECT_TRUE(compile("!!VSP1.0\nMUL c[40], v[0], c[41];\nEND\n", static_cast<int>(state)).empty());
    nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 41, 0.5f, 1, 2, 1);
    const GLfloat input[4] = {1, 0.5f, 0.125f, 1};
    nv::glExecuteProgramNV(GL_VERTEX_STATE_PROGRAM_NV, state, input);
    nv::glEnable(GL_VERTEX_PROGRAM_NV);
    drawPoint({{0.5f / 320, 0.5f / 240, 0, 1}, {}, {}, {}});
    expectPixel(320, 240, {0.5f, 0.5f, 0.25f});
}

TEST_F(VertexProgramPixelTest, ParameterQueriesSeeTrackedMatrices)
{
    nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 16, GL_MODELVIEW, GL_TRANSPOSE_NV);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3, 4, 5);
    GLfloat row[4];
    nv::glGetProgramParameterfvNV(GL_VERTEX_PROGRAM_NV, 19, GL_PROGRAM_PARAMETER_NV, row);
    // Row 3 of the transposed translation is the translation column.
    EXPECT_FLOAT_EQ(row[0], 3);
    EXPECT_FLOAT_EQ(row[1], 4);
    EXPECT_FLOAT_EQ(row[2], 5);
    GLint tracked = 0;
    nv::glGetTrackMatrixivNV(GL_VERTEX_PROGRAM_NV, 16, GL_TRACK_MATRIX_NV, &tracked);
    EXPECT_EQ(tracked, GL_MODELVIEW);
}

TEST_F(VertexProgramPixelTest, LayerErrorsForBadCalls)
{
    struct Row {
        const char* what;
        void (*call)();
        GLenum error;
    };
    const Row rows[] = {
        {"track at an unaligned address", [] { nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 5, GL_MODELVIEW, GL_IDENTITY_NV); },
         GL_INVALID_VALUE},
        {"track an unknown matrix", [] { nv::glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, 4, GL_FOG, GL_IDENTITY_NV); },
         GL_INVALID_ENUM},
        {"parameter 96", [] { nv::glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 96, 0, 0, 0, 0); }, GL_INVALID_VALUE},
        {"bind another target", [] { nv::glBindProgramNV(GL_FRAGMENT_PROGRAM_ARB, 1); }, GL_INVALID_ENUM},
        {"execute a vertex program", [] {
             const GLfloat v[4] = {};
             nv::glExecuteProgramNV(GL_VERTEX_STATE_PROGRAM_NV, 12345, v);
         }, GL_INVALID_OPERATION},
        {"load into name 0", [] {
             const char* text = "!!VP1.0\nEND";
             nv::glLoadProgramNV(GL_VERTEX_PROGRAM_NV, 0, 11, reinterpret_cast<const GLubyte*>(text));
         }, GL_INVALID_OPERATION},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.call();
        EXPECT_EQ(nv::glGetError(), row.error);
        EXPECT_EQ(nv::glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

} // namespace
