#include "programs/ProgramText.h"

#include "programs/CombinerProgram.h"
#include "programs/ConstantProgram.h"
#include "programs/NvExtensions.h"
#include "programs/ProgramTextApply.h"
#include "programs/TextureShaderProgram.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace programs {

namespace {

bool startsWith(std::string_view text, std::string_view header) { return text.substr(0, header.size()) == header; }

bool mentionsVertexShader(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("vs.1.0") != std::string::npos;
}

ExtensionProbe layerProbe()
{
    return {nv::vertexProgramsAvailable, nv::registerCombinersAvailable, nv::registerCombinersAvailable,
            nv::textureShadersAvailable};
}

// Line, column and the statement around a load error: the text between the
// semicolons that enclose the position.
std::string loadErrorMessage(std::string_view text, size_t position)
{
    position = std::min(position, text.size());
    int line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < position; ++i)
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    size_t before = position == 0 ? std::string_view::npos : text.rfind(';', position - 1);
    size_t begin = before == std::string_view::npos ? 0 : before + 1;
    size_t end = text.find(';', position);
    std::string_view statement = text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    size_t first = statement.find_first_not_of(" \t\r\n");
    statement = first == std::string_view::npos ? std::string_view() : statement.substr(first);
    statement = statement.substr(0, statement.find_last_not_of(" \t\r\n") + 1);
    return formatMessage("error at line %d character %d\n\"%s\"\n", line, static_cast<int>(position - lineStart),
                         std::string(statement).c_str());
}

} // namespace

ProgramTextCompiler::ProgramTextCompiler() : ProgramTextCompiler(layerProbe(), readIncludeFromFolders) {}

ProgramTextCompiler::ProgramTextCompiler(ExtensionProbe probe, IncludeReader includes)
    : probe_(std::move(probe)), includes_(std::move(includes))
{
}

ProgramTextKind programTextKind(const char* text)
{
    if (!text)
        return ProgramTextKind::Null;
    std::string_view t(text);
    // The eight-character headers first: "!!VP1.0" is a prefix of neither.
    if (startsWith(t, "!!VCP1.0"))
        return ProgramTextKind::ConstantProgram;
    if (startsWith(t, "!!VSP1.0"))
        return ProgramTextKind::StateProgram;
    if (startsWith(t, "!!VP1.0"))
        return ProgramTextKind::VertexProgram;
    if (startsWith(t, "!!RC1.0"))
        return ProgramTextKind::RegisterCombiners;
    if (startsWith(t, "!!TS1.0"))
        return ProgramTextKind::TextureShader;
    if (mentionsVertexShader(t))
        return ProgramTextKind::VertexShader;
    return ProgramTextKind::Unknown;
}

const char* programTextKindName(ProgramTextKind kind)
{
    switch (kind) {
    case ProgramTextKind::Null: return "no text";
    case ProgramTextKind::ConstantProgram: return "vertex constant program (!!VCP1.0)";
    case ProgramTextKind::StateProgram: return "vertex state program (!!VSP1.0)";
    case ProgramTextKind::VertexProgram: return "vertex program (!!VP1.0)";
    case ProgramTextKind::RegisterCombiners: return "register combiners (!!RC1.0)";
    case ProgramTextKind::TextureShader: return "texture shader (!!TS1.0)";
    case ProgramTextKind::VertexShader: return "DirectX 8 vertex shader (vs.1.0)";
    case ProgramTextKind::Unknown: break;
    }
    return "unknown";
}

void ProgramTextCompiler::compile(const char* text, int id)
{
    errors_.clear();
    ProgramTextKind kind = programTextKind(text);
    if (kind == ProgramTextKind::Null) {
        errors_.add("NULL string passed to compileProgramText");
        return;
    }
    const std::string copy(text);
    std::string_view t(copy);
    switch (kind) {
    case ProgramTextKind::ConstantProgram: constantProgram(t); break;
    case ProgramTextKind::StateProgram: stateProgram(t, id); break;
    case ProgramTextKind::VertexProgram: vertexProgram(t); break;
    case ProgramTextKind::RegisterCombiners: registerCombiners(t); break;
    case ProgramTextKind::TextureShader: textureShader(t); break;
    case ProgramTextKind::VertexShader: vertexShader(t); break;
    default:
        errors_.add("invalid string.\n"
                    "                     first characters must be: !!VP1.0 or !!VSP1.0 or !!RC1.0 or !!TS1.0\n"
                    "                     or it must be a valid DirectX 8.0 Vertex Shader");
        break;
    }
}

bool ProgramTextCompiler::needVertexPrograms()
{
    if (!vertexProgramsFound_)
        vertexProgramsFound_ = probe_.vertexPrograms && probe_.vertexPrograms();
    if (!vertexProgramsFound_)
        errors_.add("unable to initialize GL_NV_vertex_program");
    return vertexProgramsFound_;
}

bool ProgramTextCompiler::needCombiners()
{
    if (!combinersFound_)
        combinersFound_ = probe_.registerCombiners && probe_.registerCombiners();
    if (!combinersFound_)
        errors_.add("unable to initialize GL_NV_register_combiners\n");
    return combinersFound_;
}

bool ProgramTextCompiler::needTextureShaders()
{
    if (!textureShadersFound_)
        textureShadersFound_ = probe_.textureShaders && probe_.textureShaders();
    if (!textureShadersFound_)
        errors_.add("unable to initialize GL_NV_texture_shader\n");
    return textureShadersFound_;
}

void ProgramTextCompiler::constantProgram(std::string_view text)
{
    if (!needVertexPrograms())
        return;
    ConstantProgramResult result = compileConstantProgram(text);
    errors_.addAll(result.messages);
    if (result.ok)
        applyConstantProgram(result.statements);
}

void ProgramTextCompiler::stateProgram(std::string_view text, int id)
{
    if (!needVertexPrograms())
        return;
    if (nv::glGetError() != GL_NO_ERROR)
        errors_.add("Previous GL_ERROR prior to vertex state program parsing.");
    load(GL_VERTEX_STATE_PROGRAM_NV, static_cast<unsigned>(id), text);
}

int ProgramTextCompiler::boundVertexProgram(const char* previousErrorMessage)
{
    GLint bound = 0;
    nv::glGetIntegerv(GL_VERTEX_PROGRAM_BINDING_NV, &bound);
    if (nv::glGetError() != GL_NO_ERROR)
        errors_.add(previousErrorMessage);
    if (bound == 0)
        errors_.addf("No vertex program id bound for compileProgramText() invocation.  Bound id = %d\n", bound);
    return bound;
}

void ProgramTextCompiler::vertexProgram(std::string_view text)
{
    if (!needVertexPrograms())
        return;
    int bound = boundVertexProgram("Previous GL_ERROR prior to vertex program parsing.\n");
    if (bound != 0)
        load(GL_VERTEX_PROGRAM_NV, static_cast<unsigned>(bound), text);
}

void ProgramTextCompiler::vertexShader(std::string_view text)
{
    if (!needVertexPrograms())
        return;
    int bound = boundVertexProgram("Previous GL_ERROR prior to vertex shader parsing.\n");
    if (bound == 0)
        return;
    VertexShaderResult result = translateVertexShader(text, includes_);
    errors_.addAll(result.messages);
    if (!result.ok)
        return;
    if (result.instructionCount > vpMaxInstructions)
        errors_.addf("Vertex Shader had more than 128 instructions. (Converted to: %d)\n", result.instructionCount);
    load(GL_VERTEX_PROGRAM_NV, static_cast<unsigned>(bound), result.program);
}

void ProgramTextCompiler::load(unsigned target, unsigned id, std::string_view text)
{
    nv::glLoadProgramNV(target, id, static_cast<GLsizei>(text.size()), reinterpret_cast<const GLubyte*>(text.data()));
    if (nv::glGetError() == GL_NO_ERROR)
        return;
    GLint position = 0;
    nv::glGetIntegerv(GL_PROGRAM_ERROR_POSITION_NV, &position);
    errors_.add(loadErrorMessage(text, position < 0 ? 0 : static_cast<size_t>(position)));
}

void ProgramTextCompiler::registerCombiners(std::string_view text)
{
    if (!needCombiners())
        return;
    GLint supported = maxGeneralCombiners;
    nv::glGetIntegerv(GL_MAX_GENERAL_COMBINERS_NV, &supported);
    bool perStage = probe_.registerCombiners2 && probe_.registerCombiners2();
    CombinerCompileResult result = compileRegisterCombiners(text, 7, supported, perStage);
    errors_.addAll(result.messages);
    if (result.ok)
        applyCombinerSetup(result.setup, perStage);
}

void ProgramTextCompiler::textureShader(std::string_view text)
{
    if (!needTextureShaders())
        return;
    TextureShaderCompileResult result = compileTextureShader(text, 7);
    errors_.addAll(result.messages);
    if (result.ok)
        applyTextureShader(result.stages);
}

namespace {
ProgramTextCompiler& processCompiler()
{
    static ProgramTextCompiler compiler;
    return compiler;
}
}

void compileProgramText(const char* text, int id) { processCompiler().compile(text, id); }

const char* const* programTextErrors() { return processCompiler().errors(); }

void printProgramTextErrors(const char* source)
{
    if (source != nullptr && programTextErrors()[0] != nullptr)
        std::fprintf(stderr, "%s: the program text does not compile:\n", source);
    for (const char* const* e = programTextErrors(); *e; ++e) {
        size_t n = std::strlen(*e);
        std::fprintf(stderr, "%s%s", *e, n > 0 && (*e)[n - 1] == '\n' ? "" : "\n");
    }
}

} // namespace programs
