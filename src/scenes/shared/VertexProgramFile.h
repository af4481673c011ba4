// Loading a scene's vertex program from its text in the data: a new program
// name, "loading vertex program" on standard output, the text compiled into
// that name, and the compiler's messages on standard error. A missing file or
// a text that does not compile still leaves a name: drawing with it then
// shows nothing of the program, and the show goes on.
//
// The caller owns the returned name.
#pragma once

#include "core/GLObjects.h"

class ResourceManager;

GLProgramNV loadVertexProgram(const ResourceManager& resources, const char* fileName);
