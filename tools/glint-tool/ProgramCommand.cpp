// glint-tool program FILE: compiles a program text the way the show does, on
// a headless GL context, and prints its kind, what it becomes (the NV text a
// vertex shader turns into, the ARB program texts) and the compiler's error
// list, one entry per line; for combiner and texture-shader texts it first
// lists the textures it assumes on each unit. Exit code 1 when the list is
// not empty.
#include "glint-tool/ToolCommand.h"

#include "platform/HeadlessContext.h"
#include "programs/CombinerProgram.h"
#include "programs/ConstantProgram.h"
#include "programs/ErrorList.h"
#include "programs/FragmentProgramBuilder.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "programs/TextureShaderProgram.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexProgramTranslator.h"
#include "programs/VertexShaderTranslator.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace programs;

void printSection(const char* title, const std::string& text)
{
    std::printf("--- %s ---\n%s", title, text.c_str());
    if (!text.empty() && text.back() != '\n')
        std::printf("\n");
}

void printVertexProgram(const std::string& text)
{
    VpParseResult parsed = parseVertexProgram(text);
    if (!parsed.ok) {
        std::printf("--- why the program does not load ---\n%s (at byte %zu)\n", parsed.message.c_str(),
                    parsed.errorPosition);
        return;
    }
    if (parsed.program.kind == VpKind::State) {
        std::printf("--- runs on the CPU when executed (%zu instructions) ---\n", parsed.program.instructions.size());
        return;
    }
    printSection("ARB vertex program (no matrix tracked)", translateToArbVertexProgram(parsed.program, TrackingTable{}));
}

const char* targetText(GLenum target)
{
    switch (target) {
    case GL_TEXTURE_1D: return "1-D";
    case GL_TEXTURE_3D: return "3-D";
    case GL_TEXTURE_RECTANGLE_NV: return "rectangle";
    case GL_TEXTURE_CUBE_MAP: return "cube map";
    default: return "2-D";
    }
}

// What the layer reads at draw time (the targets enabled on each unit, the
// formats of the bound textures, the environment modes) is not in the text,
// so the tool assumes the way the show sets them up and says so: a colour
// texture on every unit the setup reads, except that a unit an offset stage
// reads from holds a DSDT offset texture (that is what offsetting needs, and
// such a unit adds no colour), and the modulate environment.
void printFragmentProgram(FragmentDescription d)
{
    std::string assumed;
    for (int i = 0; i < textureShaderStages; ++i) {
        FragmentUnit& unit = d.units[i];
        unit.target = d.textureShader ? textureShaderTarget(d.shader[i].operation) : GLenum(GL_TEXTURE_2D);
        if (unit.target == 0)
            continue;
        for (int later = i + 1; later < textureShaderStages && d.textureShader; ++later)
            if (isOffsetTextureOperation(d.shader[later].operation) &&
                d.shader[later].previousInput == GL_TEXTURE0_ARB + static_cast<GLenum>(i))
                unit.format = TextureFormat::Offset;
        assumed += formatMessage("unit %d: a %s %s texture%s\n", i, targetText(unit.target),
                                 unit.format == TextureFormat::Offset ? "DSDT offset" : "RGBA colour",
                                 d.combiners ? "" : ", modulate");
    }
    printSection("assumed textures (the layer reads them when it draws)", assumed.empty() ? "none\n" : assumed);
    printSection("ARB fragment program", buildFragmentProgram(d));
}

void printTranslation(ProgramTextKind kind, const std::string& text)
{
    switch (kind) {
    case ProgramTextKind::VertexProgram:
    case ProgramTextKind::StateProgram:
        printVertexProgram(text);
        break;
    case ProgramTextKind::ConstantProgram: {
        ConstantProgramResult vcp = compileConstantProgram(text);
        std::string calls;
        for (const ConstantStatement& st : vcp.statements) {
            if (st.kind == ConstantStatement::Kind::Constant)
                calls += formatMessage("glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, %d, %g, %g, %g, %g)\n", st.address,
                                       st.values[0], st.values[1], st.values[2], st.values[3]);
            else
                calls += formatMessage("glTrackMatrixNV(GL_VERTEX_PROGRAM_NV, %d, 0x%04X, 0x%04X)\n", st.address,
                                       st.matrix, st.transform);
        }
        if (vcp.ok)
            printSection("calls", calls);
        break;
    }
    case ProgramTextKind::VertexShader: {
        VertexShaderResult shader = translateVertexShader(text, readIncludeFromFolders);
        printSection("NV vertex program", shader.program);
        if (shader.ok)
            printVertexProgram(shader.program);
        break;
    }
    case ProgramTextKind::RegisterCombiners: {
        CombinerCompileResult rc = compileRegisterCombiners(text, 7, maxGeneralCombiners, true);
        if (!rc.ok)
            break;
        FragmentDescription d;
        d.combiners = true;
        d.combinerState = rc.setup.state;
        d.perStageConstants = rc.setup.perStageConstants;
        printFragmentProgram(d);
        break;
    }
    case ProgramTextKind::TextureShader: {
        TextureShaderCompileResult ts = compileTextureShader(text, 7);
        if (!ts.ok)
            break;
        FragmentDescription d;
        d.textureShader = true;
        d.shader = ts.stages;
        printFragmentProgram(d);
        break;
    }
    default:
        break;
    }
}

int programCommand(const tool::Args& args)
{
    if (args.size() != 1)
        return tool::usageError("program");
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "glint-tool: cannot read %s\n", args[0].c_str());
        return 1;
    }
    std::stringstream contents;
    contents << in.rdbuf();
    std::string text = contents.str();
    std::string error;
    auto context = platform::HeadlessContext::create(64, 64, error);
    if (!context) {
        std::fprintf(stderr, "glint-tool: no GL context: %s\n", error.c_str());
        return 1;
    }
    ProgramTextKind kind = programTextKind(text.c_str());
    std::printf("kind: %s\n", programTextKindName(kind));
    GLuint name = 0;
    if (kind == ProgramTextKind::VertexProgram || kind == ProgramTextKind::VertexShader ||
        kind == ProgramTextKind::StateProgram) {
        nv::glGenProgramsNV(1, &name);
        if (kind != ProgramTextKind::StateProgram)
            nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, name);
    }
    nv::glGetError();
    compileProgramText(text.c_str(), static_cast<int>(name));
    printTranslation(kind, text);
    std::printf("--- errors ---\n");
    int count = 0;
    for (const char* const* e = programTextErrors(); *e; ++e, ++count) {
        std::string entry = *e;
        std::printf("%s%s", entry.c_str(), !entry.empty() && entry.back() == '\n' ? "" : "\n");
    }
    if (count == 0)
        std::printf("none\n");
    return count == 0 ? 0 : 1;
}

} // namespace

GLINT_TOOL_COMMAND("program", "program FILE - compile a GPU program text and print its translation and errors",
                   programCommand);
