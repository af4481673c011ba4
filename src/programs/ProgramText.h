// The program-text compiler entry: every GPU program text of the show (vertex
// programs, vertex state and constant programs, DirectX 8 vertex shaders,
// register-combiner and texture-shader setups) goes through
// compileProgramText, which looks at the first characters and hands the text
// to one of the compilers. The resulting state is set through the NV layer
// (NvExtensions.h), so it lands in a display list being compiled.
//
// Failures never stop anything: they are messages in the error list of the
// last call, which callers print to standard error, one per line.
#pragma once

#include "programs/ErrorList.h"
#include "programs/VertexShaderTranslator.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace programs {

// Compiles one zero-terminated program text (copied; the caller keeps it).
// `id` names the program a vertex state program is loaded into.
void compileProgramText(const char* text, int id);

// The messages of the last call, followed by a null entry.
const char* const* programTextErrors();

// Prints the messages of the last call to standard error, one per line (an
// entry that ends in a line break gets no second one). With `source`, the
// data file the text came from, a line naming it goes first when there are
// messages: theirs speak of lines and characters, not of files.
void printProgramTextErrors(const char* source = nullptr);

// The languages compileProgramText tells apart, in the order it tests them.
enum class ProgramTextKind {
    Null, ConstantProgram, StateProgram, VertexProgram, RegisterCombiners, TextureShader, VertexShader, Unknown
};
ProgramTextKind programTextKind(const char* text);
const char* programTextKindName(ProgramTextKind kind);

// Which families of extensions the compilers may use. The entry asks each
// only until it has once said yes.
struct ExtensionProbe {
    std::function<bool()> vertexPrograms;
    std::function<bool()> registerCombiners;
    std::function<bool()> registerCombiners2;
    std::function<bool()> textureShaders;
};

// The entry as an object, for tools and tests that bring their own probe or
// include reader; compileProgramText uses one process-wide instance with the
// NV layer's probe and the file system.
class ProgramTextCompiler {
public:
    ProgramTextCompiler();
    ProgramTextCompiler(ExtensionProbe probe, IncludeReader includes);

    void compile(const char* text, int id);
    const char* const* errors() const { return errors_.entries(); }

private:
    bool needVertexPrograms();
    bool needCombiners();
    bool needTextureShaders();
    void constantProgram(std::string_view text);
    void stateProgram(std::string_view text, int id);
    void vertexProgram(std::string_view text);
    void vertexShader(std::string_view text);
    void registerCombiners(std::string_view text);
    void textureShader(std::string_view text);
    // The bound vertex program name, after reporting a pending GL error.
    int boundVertexProgram(const char* previousErrorMessage);
    void load(unsigned target, unsigned id, std::string_view text);

    ErrorList errors_;
    ExtensionProbe probe_;
    IncludeReader includes_;
    bool vertexProgramsFound_ = false;
    bool combinersFound_ = false;
    bool textureShadersFound_ = false;
};

} // namespace programs
