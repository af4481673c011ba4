#include "programs/NvLayerState.h"

#include <cstdio>

namespace nv::detail {

LayerState& state()
{
    static LayerState layer;
    return layer;
}

void raise(GLenum error)
{
    if (state().pendingError == GL_NO_ERROR)
        state().pendingError = error;
}

bool deferToList(std::function<void()> call)
{
    LayerState& s = state();
    if (s.recordingList == 0 || s.replaying > 0)
        return false;
    s.lists[s.recordingList].push_back(std::move(call));
    return s.recordingMode == GL_COMPILE;
}

GLuint loadArbProgram(GLenum target, const std::string& text)
{
    GLuint id = 0;
    ::glGenProgramsARB(1, &id);
    ::glBindProgramARB(target, id);
    ::glProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
    GLint position = -1;
    ::glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    if (position == -1)
        return id;
    // A translation the driver refuses is a fault of this layer, not of the
    // show's text: say so plainly for whoever debugs it.
    const char* why = reinterpret_cast<const char*>(::glGetString(GL_PROGRAM_ERROR_STRING_ARB));
    std::fprintf(stderr, "nv layer: the driver refused a translated program at %d: %s\n%s", position,
                 why ? why : "", text.c_str());
    ::glGetError();
    ::glDeleteProgramsARB(1, &id);
    return 0;
}

} // namespace nv::detail
