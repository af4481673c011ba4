#include "core/GLObjects.h"

#include "programs/NvExtensions.h"

namespace glnames {

void deleteTexture(GLuint name) { glDeleteTextures(1, &name); }
void deleteBuffer(GLuint name) { glDeleteBuffers(1, &name); }
void deleteProgramNV(GLuint name) { nv::glDeleteProgramsNV(1, &name); }
void deleteList(GLuint name) { nv::glDeleteLists(name, 1); }

} // namespace glnames

GLTexture genTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    return GLTexture(name);
}

GLBuffer genBuffer()
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GLBuffer(name);
}

GLProgramNV genProgramNV()
{
    GLuint name = 0;
    nv::glGenProgramsNV(1, &name);
    return GLProgramNV(name);
}

GLDisplayList genList()
{
    return GLDisplayList(glGenLists(1));
}

GLTexture createTexture(GLenum target, GLint wrap)
{
    GLTexture texture = genTexture();
    glBindTexture(target, texture.get());
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, wrap);
    if (target == GL_TEXTURE_3D)
        glTexParameteri(target, GL_TEXTURE_WRAP_R, wrap);
    return texture;
}
