#include "core/PlainColour.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <initializer_list>

PlainColour::PlainColour()
{
    glPushAttrib(GL_ENABLE_BIT);
    for (GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_STENCIL_TEST, GL_FOG, GL_CULL_FACE,
                              GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP,
                              GL_TEXTURE_RECTANGLE})
        glDisable(capability);
    if (epoxy_has_gl_extension("GL_ARB_vertex_program"))
        glDisable(GL_VERTEX_PROGRAM_ARB);
    if (epoxy_has_gl_extension("GL_ARB_fragment_program"))
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
    // The emulated stages are not GL enables: the attribute stack does not
    // keep them.
    combiners = nv::glIsEnabled(GL_REGISTER_COMBINERS_NV);
    textureShaders = nv::glIsEnabled(GL_TEXTURE_SHADER_NV);
    nv::glDisable(GL_REGISTER_COMBINERS_NV);
    nv::glDisable(GL_TEXTURE_SHADER_NV);
}

PlainColour::~PlainColour()
{
    if (combiners)
        nv::glEnable(GL_REGISTER_COMBINERS_NV);
    if (textureShaders)
        nv::glEnable(GL_TEXTURE_SHADER_NV);
    glPopAttrib();
}
