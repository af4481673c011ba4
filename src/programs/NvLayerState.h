// Inside the NV extension layer: the one process-wide state record behind
// the nv:: entry points, the layer's own GL error, and display-list
// recording. Only the layer's source files include this.
#pragma once

#include "programs/CombinerState.h"
#include "programs/FragmentProgramBuilder.h"
#include "programs/MatrixTracking.h"
#include "programs/VertexProgram.h"

#include <epoxy/gl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace nv::detail {

struct ProgramObject {
    bool loaded = false;
    GLenum target = GL_VERTEX_PROGRAM_NV;
    programs::VertexProgram program;
    std::map<std::string, GLuint> arbPrograms;   // one per tracking table
};

struct LayerState {
    GLenum pendingError = GL_NO_ERROR;
    GLint errorPosition = -1;

    GLuint nextProgramName = 1;
    std::map<GLuint, ProgramObject> programs;
    GLuint boundVertexProgram = 0;
    programs::TrackingTable tracking;
    uint16_t attributeArrays = 0;   // bit n: GL_VERTEX_ATTRIB_ARRAYn_NV enabled

    programs::CombinerState combiners;
    programs::TextureShaderState textureShader;
    bool combinersEnabled = false;
    bool textureShaderEnabled = false;
    bool perStageConstants = false;
    std::map<std::string, GLuint> fragmentPrograms;
    // Texture names holding images of NV formats (DSDT offsets, HILO and
    // signed colours), which GL keeps as float, RG or signed textures.
    std::map<GLuint, programs::TextureFormat> nvTextureFormats;

    std::map<GLuint, std::vector<std::function<void()>>> lists;
    GLuint recordingList = 0;
    GLenum recordingMode = GL_COMPILE;
    int listActiveUnit = 0;   // the texture unit a list being compiled has selected
    int replaying = 0;
};

LayerState& state();

// Records the layer's error unless one is already pending.
void raise(GLenum error);

// While a display list is being compiled, stores `call` in it. Returns true
// when the caller must not execute now (GL_COMPILE).
bool deferToList(std::function<void()> call);

// Binds the ARB program that runs the bound NV vertex program under the
// current tracking table and attribute arrays, translating it on first use.
void bindVertexProgram();

// Chooses, builds and binds the fragment program for the current combiner
// and texture-shader state and texture targets, or turns it off.
void updateFragmentProgram();

// Loads an ARB program text; returns 0 (and reports on standard error)
// when the driver refuses it.
GLuint loadArbProgram(GLenum target, const std::string& text);

} // namespace nv::detail
