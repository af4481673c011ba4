// The layer's enables, queries, display lists and draw sites (see NvExtensions.h).
#include "programs/NvExtensions.h"

#include "programs/NvLayerState.h"

#include <string>

namespace nv {

using detail::raise;
using detail::state;

namespace {

bool hasExtension(const char* name) { return epoxy_has_gl_extension(name); }

bool isLayerCap(GLenum cap)
{
    return cap == GL_REGISTER_COMBINERS_NV || cap == GL_TEXTURE_SHADER_NV || cap == GL_PER_STAGE_CONSTANTS_NV;
}

void setLayerCap(GLenum cap, bool on)
{
    switch (cap) {
    case GL_REGISTER_COMBINERS_NV: state().combinersEnabled = on; break;
    case GL_TEXTURE_SHADER_NV: state().textureShaderEnabled = on; break;
    default: state().perStageConstants = on; break;
    }
    // Best effort for draws that do not pass a draw site of this layer; the
    // draw sites choose again with the texture targets of the moment.
    detail::updateFragmentProgram();
}

void replay(GLuint list)
{
    auto it = state().lists.find(list);
    if (it == state().lists.end())
        return;
    ++state().replaying;
    // Copy: a recorded call may compile or delete lists.
    std::vector<std::function<void()>> calls = it->second;
    for (const auto& call : calls)
        call();
    --state().replaying;
}

} // namespace

bool vertexProgramsAvailable() { return hasExtension("GL_ARB_vertex_program"); }

bool registerCombinersAvailable()
{
    return hasExtension("GL_ARB_fragment_program") && hasExtension("GL_ARB_multitexture");
}

bool textureShadersAvailable()
{
    return registerCombinersAvailable() && hasExtension("GL_ARB_texture_float") &&
           hasExtension("GL_ARB_texture_rg");
}

const char* providedExtensions()
{
    static std::string names;
    names.clear();
    if (vertexProgramsAvailable())
        names += "GL_NV_vertex_program ";
    if (registerCombinersAvailable())
        names += "GL_NV_register_combiners GL_NV_register_combiners2 ";
    if (textureShadersAvailable())
        names += "GL_NV_texture_shader ";
    return names.c_str();
}

void glEnable(GLenum cap)
{
    if (!isLayerCap(cap)) {
        ::glEnable(cap);
        return;
    }
    if (detail::deferToList([=] { glEnable(cap); }))
        return;
    setLayerCap(cap, true);
}

void glDisable(GLenum cap)
{
    if (!isLayerCap(cap)) {
        ::glDisable(cap);
        return;
    }
    if (detail::deferToList([=] { glDisable(cap); }))
        return;
    setLayerCap(cap, false);
}

GLboolean glIsEnabled(GLenum cap)
{
    switch (cap) {
    case GL_REGISTER_COMBINERS_NV: return state().combinersEnabled;
    case GL_TEXTURE_SHADER_NV: return state().textureShaderEnabled;
    case GL_PER_STAGE_CONSTANTS_NV: return state().perStageConstants;
    default: return ::glIsEnabled(cap);
    }
}

void glGetIntegerv(GLenum pname, GLint* data)
{
    switch (pname) {
    case GL_VERTEX_PROGRAM_BINDING_NV: *data = static_cast<GLint>(state().boundVertexProgram); return;
    case GL_PROGRAM_ERROR_POSITION_NV: *data = state().errorPosition; return;
    case GL_MAX_GENERAL_COMBINERS_NV: *data = programs::maxGeneralCombiners; return;
    case GL_NUM_GENERAL_COMBINERS_NV: *data = state().combiners.numGeneralCombiners; return;
    case GL_COLOR_SUM_CLAMP_NV: *data = state().combiners.colorSumClamp; return;
    default: ::glGetIntegerv(pname, data); return;
    }
}

GLenum glGetError()
{
    GLenum error = state().pendingError;
    if (error == GL_NO_ERROR)
        return ::glGetError();
    state().pendingError = GL_NO_ERROR;
    return error;
}

const GLubyte* glGetString(GLenum name)
{
    if (name != GL_EXTENSIONS)
        return ::glGetString(name);
    static std::string all;
    const GLubyte* base = ::glGetString(GL_EXTENSIONS);
    all = base ? reinterpret_cast<const char*>(base) : "";
    if (!all.empty() && all.back() != ' ')
        all += ' ';
    all += providedExtensions();
    return reinterpret_cast<const GLubyte*>(all.c_str());
}

void glNewList(GLuint list, GLenum mode)
{
    ::glNewList(list, mode);
    if (list == 0 || (mode != GL_COMPILE && mode != GL_COMPILE_AND_EXECUTE) || state().recordingList != 0)
        return;   // GL has raised its error for these
    state().lists[list].clear();
    GLint active = GL_TEXTURE0;
    ::glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    state().listActiveUnit = active - GL_TEXTURE0;
    state().recordingList = list;
    state().recordingMode = mode;
}

void glEndList()
{
    ::glEndList();
    state().recordingList = 0;
}

void glCallList(GLuint list)
{
    if (!detail::deferToList([=] { replay(list); }))
        replay(list);
    detail::updateFragmentProgram();
    ::glCallList(list);
}

void glDeleteLists(GLuint list, GLsizei range)
{
    ::glDeleteLists(list, range);
    for (GLsizei i = 0; i < range; ++i)
        state().lists.erase(list + static_cast<GLuint>(i));
}

void prepareDraw() { detail::updateFragmentProgram(); }

void glBegin(GLenum mode)
{
    prepareDraw();
    ::glBegin(mode);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    prepareDraw();
    ::glDrawArrays(mode, first, count);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    prepareDraw();
    ::glDrawElements(mode, count, type, indices);
}

} // namespace nv
