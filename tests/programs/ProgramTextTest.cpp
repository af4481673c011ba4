// The compileProgramText entry: dispatch, the error list, and the messages
// the entry itself records.
#include "programs/NvLayerTest.h"

#include "programs/ProgramText.h"

#include <string>
#include <vector>

using namespace programs;

namespace {

using ProgramTextTest = NvLayerTest;

std::vector<std::string> errorsOf(const ProgramTextCompiler& compiler)
{
    std::vector<std::string> errors;
    for (const char* const* e = compiler.errors(); *e; ++e)
        errors.emplace_back(*e);
    return errors;
}

const std::string shortProgram = "!!VP1.0\nDP4 o[HPOS].x, c[0], v[OPOS];\nEND\n";

TEST(ProgramTextKind, EightCharacterHeadersAreTestedFirst)
{
    struct Row {
        const char* text;
        ProgramTextKind kind;
    };
    const Row rows[] = {
        {nullptr, ProgramTextKind::Null},
        {"!!VCP1.0\nc[0] = (1, 2, 3, 4);", ProgramTextKind::ConstantProgram},
        {"!!VSP1.0\nEND", ProgramTextKind::StateProgram},
        {"!!VP1.0\nEND", ProgramTextKind::VertexProgram},
        {"!!RC1.0\n", ProgramTextKind::RegisterCombiners},
        {"!!TS1.0\n", ProgramTextKind::TextureShader},
        {"; shader\nVS.1.0\nmov oPos, v0", ProgramTextKind::VertexShader},   // found in a lower-cased copy
        {"!!VP1.0 vs.1.0", ProgramTextKind::VertexProgram},
        {" !!VP1.0\nEND", ProgramTextKind::Unknown},                          // the header must come first
        {"!!vp1.0\nEND", ProgramTextKind::Unknown},
        {"", ProgramTextKind::Unknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text ? row.text : "(null)");
        EXPECT_EQ(programTextKind(row.text), row.kind);
    }
}

TEST_F(ProgramTextTest, NullAndUnknownTexts)
{
    compileProgramText(nullptr, 0);
    ASSERT_NE(programTextErrors()[0], nullptr);
    EXPECT_STREQ(programTextErrors()[0], "NULL string passed to compileProgramText");
    EXPECT_EQ(programTextErrors()[1], nullptr);
    EXPECT_EQ(compile("hello"), (std::vector<std::string>{
                                    "invalid string.\n"
                                    "                     first characters must be: !!VP1.0 or !!VSP1.0 or !!RC1.0 or !!TS1.0\n"
                                    "                     or it must be a valid DirectX 8.0 Vertex Shader"}));
    // The list is emptied by the next call.
    EXPECT_TRUE(compile("!!RC1.0\n").empty());
}

TEST_F(ProgramTextTest, VertexProgramWithoutBoundNameLoadsNothing)
{
    GLuint id = 0;
    nv::glGenProgramsNV(1, &id);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, 0);
    EXPECT_EQ(compile(shortProgram),
              (std::vector<std::string>{"No vertex program id bound for compileProgramText() invocation.  Bound id = 0\n"}));
    EXPECT_FALSE(nv::glIsProgramNV(id));
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, id);
    EXPECT_TRUE(compile(shortProgram).empty());
    EXPECT_TRUE(nv::glIsProgramNV(id));
}

TEST_F(ProgramTextTest, PendingGlErrorsAreReportedFirst)
{
    GLuint id = 0;
    nv::glGenProgramsNV(1, &id);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, id);
    glEnable(0x1234);   // leaves GL_INVALID_ENUM pending
    EXPECT_EQ(compile(shortProgram), (std::vector<std::string>{"Previous GL_ERROR prior to vertex program parsing.\n"}));
    EXPECT_TRUE(nv::glIsProgramNV(id));   // loaded all the same

    glEnable(0x1234);
    EXPECT_EQ(compile("vs.1.0\nmov oPos, v0\n"),
              (std::vector<std::string>{"Previous GL_ERROR prior to vertex shader parsing.\n"}));

    glEnable(0x1234);
    EXPECT_EQ(compile("!!VSP1.0\nMOV c[0], v[0];\nEND\n", static_cast<int>(id + 1)),
              (std::vector<std::string>{"Previous GL_ERROR prior to vertex state program parsing."}));
}

TEST_F(ProgramTextTest, LoadErrorsGiveLineCharacterAndStatement)
{
    loadVertexProgram(shortProgram);
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"!!VP1.0\nDP4 o[HPOS].x, c[0], v[OPOS];\n  MUL R0, c[1], c[2];\nEND\n",
         "error at line 3 character 2\n\"MUL R0, c[1], c[2]\"\n"},
        {"!!VP1.0\nDP4 o[HPOS].x, c[0], v[OPOS]; MOV R0, R13;\nEND\n",
         "error at line 2 character 38\n\"MOV R0, R13\"\n"},
        {"!!VP1.0\nMOV R0, v[0];\nEND\n", "error at line 3 character 0\n\"END\"\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(compile(row.text), (std::vector<std::string>{row.message}));
    }
}

TEST_F(ProgramTextTest, VertexShadersTranslateAndLoadIntoTheBoundName)
{
    GLuint id = loadVertexProgram(shortProgram);
    EXPECT_TRUE(compile("; a DirectX 8 shader\nvs.1.0\nm4x4 oPos, v0, c0\nmov oD0, v3\n").empty());
    EXPECT_TRUE(nv::glIsProgramNV(id));

    std::string longShader = "vs.1.0\nmov oPos, v0\n";
    for (int i = 0; i < 130; ++i)
        longShader += "mov r0, v0\n";
    EXPECT_EQ(compile(longShader),
              (std::vector<std::string>{"Vertex Shader had more than 128 instructions. (Converted to: 131)\n",
                                        "error at line 130 character 0\n\"MOV R0, v[0]\"\n"}));

    // Translation errors load nothing.
    EXPECT_EQ(compile("vs.1.0\nmov r0, v99\n"), (std::vector<std::string>{"(2) Error: source register index out of range\n"}));
}

TEST_F(ProgramTextTest, StateProgramsLoadUnderTheGivenName)
{
    GLuint ids[2];
    nv::glGenProgramsNV(2, ids);
    EXPECT_TRUE(compile("!!VSP1.0\nMOV c[3], v[0];\nEND\n", static_cast<int>(ids[0])).empty());
    EXPECT_TRUE(nv::glIsProgramNV(ids[0]));
    EXPECT_EQ(compile("!!VSP1.0\nMOV o[HPOS], v[0];\nEND\n", static_cast<int>(ids[1])).size(), 1u);
    EXPECT_FALSE(nv::glIsProgramNV(ids[1]));
    // Names the show picks itself are taken too: generated names avoid them.
    EXPECT_TRUE(compile("!!VSP1.0\nMOV c[3], v[0];\nEND\n", static_cast<int>(ids[1] + 10)).empty());
    GLuint next = 0;
    nv::glGenProgramsNV(1, &next);
    EXPECT_GT(next, ids[1] + 10);
}

TEST_F(ProgramTextTest, ConstantProgramsSetParametersAndTracking)
{
    EXPECT_TRUE(compile("!!VCP1.0\n# constants\nc[12] = (0, 0.5, -1, 1e2);\n"
                        "c[8] = track(GL_MODELVIEW GL_INVERSE_TRANSPOSE_NV);\nEND\n")
                    .empty());
    GLfloat v[4];
    nv::glGetProgramParameterfvNV(GL_VERTEX_PROGRAM_NV, 12, GL_PROGRAM_PARAMETER_NV, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), (std::vector<float>{0, 0.5f, -1, 100}));
    GLint matrix = 0, transform = 0;
    nv::glGetTrackMatrixivNV(GL_VERTEX_PROGRAM_NV, 8, GL_TRACK_MATRIX_NV, &matrix);
    nv::glGetTrackMatrixivNV(GL_VERTEX_PROGRAM_NV, 8, GL_TRACK_MATRIX_TRANSFORM_NV, &transform);
    EXPECT_EQ(matrix, GL_MODELVIEW);
    EXPECT_EQ(transform, GL_INVERSE_TRANSPOSE_NV);
}

TEST_F(ProgramTextTest, TheThirtyThirdErrorIsDropped)
{
    std::string text = "!!RC1.0\n";
    for (int i = 0; i < 40; ++i)
        text += "const0 = (0, 0, 0, 0);\n";
    std::vector<std::string> errors = compile(text);
    ASSERT_EQ(errors.size(), 32u);
    EXPECT_EQ(errors.front(), "error on line 3: global constant set twice");
    EXPECT_EQ(errors.back(), "error on line 34: global constant set twice");
}

TEST(ProgramTextCompiler, MissingExtensionsAreReportedAndTestedUntilFound)
{
    int probes = 0;
    bool present = false;
    auto probe = [&] {
        ++probes;
        return present;
    };
    ProgramTextCompiler compiler(ExtensionProbe{probe, probe, probe, probe}, nullptr);
    struct Row {
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"!!VCP1.0\n", "unable to initialize GL_NV_vertex_program"},
        {"!!VSP1.0\nEND", "unable to initialize GL_NV_vertex_program"},
        {"!!VP1.0\nEND", "unable to initialize GL_NV_vertex_program"},
        {"vs.1.0\n", "unable to initialize GL_NV_vertex_program"},
        {"!!RC1.0\n", "unable to initialize GL_NV_register_combiners\n"},
        {"!!TS1.0\n", "unable to initialize GL_NV_texture_shader\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        compiler.compile(row.text, 0);
        EXPECT_EQ(errorsOf(compiler), (std::vector<std::string>{row.message}));
    }
    EXPECT_EQ(probes, 6);
    present = true;
    compiler.compile("!!VCP1.0\n", 0);
    compiler.compile("!!VCP1.0\n", 0);
    EXPECT_TRUE(errorsOf(compiler).empty());
    EXPECT_EQ(probes, 7);   // found once, not asked again
}

} // namespace
