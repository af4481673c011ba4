#include "scenes/shared/VertexProgramFile.h"

#include "programs/NvExtensions.h"
#include "programs/ProgramText.h"
#include "resources/ResourceManager.h"

#include <cstdio>

GLProgramNV loadVertexProgram(const ResourceManager& resources, const char* fileName)
{
    GLProgramNV program = genProgramNV();
    std::printf("loading vertex program\n");
    std::unique_ptr<char[]> text = resources.readFile(fileName);
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, program.get());
    // Errors left over from earlier calls would read as this text's own.
    while (nv::glGetError() != GL_NO_ERROR) {
    }
    if (text != nullptr) {
        programs::compileProgramText(text.get(), static_cast<int>(program.get()));
        programs::printProgramTextErrors(fileName);
    }
    nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, 0);
    return program;
}
