#include "core/GLStateScope.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

namespace {

GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLenum stackDepthQuery(GLenum mode)
{
    switch (mode) {
    case GL_PROJECTION:
        return GL_PROJECTION_STACK_DEPTH;
    case GL_MODELVIEW:
        return GL_MODELVIEW_STACK_DEPTH;
    default:
        return GL_TEXTURE_STACK_DEPTH;
    }
}

GLenum matrixQuery(GLenum mode)
{
    switch (mode) {
    case GL_PROJECTION:
        return GL_PROJECTION_MATRIX;
    case GL_MODELVIEW:
        return GL_MODELVIEW_MATRIX;
    default:
        return GL_TEXTURE_MATRIX;
    }
}

// The ARB program bound to `target`.
GLint integerOf(GLenum target)
{
    GLint bound = 0;
    glGetProgramivARB(target, GL_PROGRAM_BINDING_ARB, &bound);
    return bound;
}

// Pops `stack` down to `depth` levels, one pop call per level left over.
void popDownTo(GLint depth, GLenum depthQuery, void (*pop)())
{
    for (GLint now = integer(depthQuery); now > depth; --now)
        pop();
}

} // namespace

GLStateScope::GLStateScope()
{
    attributeDepth = integer(GL_ATTRIB_STACK_DEPTH);
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    glGetFloatv(GL_CURRENT_NORMAL, normal.data());
    clientAttributeDepth = integer(GL_CLIENT_ATTRIB_STACK_DEPTH);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);

    // Matrices are not attribute groups; their stacks are saved by value.
    activeUnit = integer(GL_ACTIVE_TEXTURE);
    matrixMode = integer(GL_MATRIX_MODE);
    saveStack(GL_PROJECTION, 0);
    saveStack(GL_MODELVIEW, 0);
    const GLint units = integer(GL_MAX_TEXTURE_COORDS);
    for (GLint unit = 0; unit < units; ++unit)
        saveStack(GL_TEXTURE, unit);
    glActiveTexture(static_cast<GLenum>(activeUnit));

    // Program bindings and the emulated fragment stages live outside the
    // attribute groups too.
    if (nv::vertexProgramsAvailable())
        nv::glGetIntegerv(GL_VERTEX_PROGRAM_BINDING_NV, &vertexProgram);
    if (epoxy_has_gl_extension("GL_ARB_fragment_program"))
        glGetProgramivARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_BINDING_ARB, &fragmentProgram);
    combiners = nv::glIsEnabled(GL_REGISTER_COMBINERS_NV);
    textureShaders = nv::glIsEnabled(GL_TEXTURE_SHADER_NV);
    perStageConstants = nv::glIsEnabled(GL_PER_STAGE_CONSTANTS_NV);
}

GLStateScope::~GLStateScope()
{
    // Only what the frame changed is set again, so a frame that leaves the
    // emulated stages alone costs their layer nothing here.
    const auto enable = [](GLenum cap, bool on) {
        if (nv::glIsEnabled(cap) != on)
            on ? nv::glEnable(cap) : nv::glDisable(cap);
    };
    enable(GL_REGISTER_COMBINERS_NV, combiners);
    enable(GL_TEXTURE_SHADER_NV, textureShaders);
    enable(GL_PER_STAGE_CONSTANTS_NV, perStageConstants);
    if (nv::vertexProgramsAvailable()) {
        GLint bound = 0;
        nv::glGetIntegerv(GL_VERTEX_PROGRAM_BINDING_NV, &bound);
        if (bound != vertexProgram)
            nv::glBindProgramNV(GL_VERTEX_PROGRAM_NV, static_cast<GLuint>(vertexProgram));
    }
    if (epoxy_has_gl_extension("GL_ARB_fragment_program") && integerOf(GL_FRAGMENT_PROGRAM_ARB) != fragmentProgram)
        glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, static_cast<GLuint>(fragmentProgram));

    popDownTo(clientAttributeDepth + 1, GL_CLIENT_ATTRIB_STACK_DEPTH, [] { glPopClientAttrib(); });
    glPopClientAttrib();
    popDownTo(attributeDepth + 1, GL_ATTRIB_STACK_DEPTH, [] { glPopAttrib(); });
    glPopAttrib();

    // llvmpipe's pop loses the current colour and normal when the active
    // texture unit changed in between, so those are set again by value.
    glColor4fv(colour.data());
    glNormal3fv(normal.data());
    // Loading the matrices selects modes and units; the saved ones last.
    for (const SavedStack& stack : stacks)
        restoreStack(stack);
    glMatrixMode(static_cast<GLenum>(matrixMode));
    glActiveTexture(static_cast<GLenum>(activeUnit));
}

void GLStateScope::saveStack(unsigned mode, int unit)
{
    if (mode == GL_TEXTURE)
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    SavedStack stack{mode, unit, integer(stackDepthQuery(mode)), {}};
    glGetFloatv(matrixQuery(mode), stack.top.data());
    stacks.push_back(stack);
}

void GLStateScope::restoreStack(const SavedStack& stack)
{
    if (stack.mode == GL_TEXTURE)
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(stack.unit));
    glMatrixMode(stack.mode);
    popDownTo(stack.depth, stackDepthQuery(stack.mode), [] { glPopMatrix(); });
    glLoadMatrixf(stack.top.data());
}
