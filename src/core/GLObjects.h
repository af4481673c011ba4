// Owners of GL object names. A holder keeps one name (0 for none), deletes
// it when the holder goes or takes another name, and moves but never
// copies, so every name has exactly one owner and is deleted once. Holders
// must go while a context sharing their names is current, as the names
// themselves must.
//
// Display lists and NV program names are made and deleted through the
// vendor layer (programs/NvExtensions.h), which keeps records of both.
//
// createTexture makes a texture the way the show's textures are made: bound,
// filtered linearly, its edges wrapped as asked; its image is the caller's.
#pragma once

#include <epoxy/gl.h>

template <void (*deleteName)(GLuint)>
class GLName {
public:
    GLName() = default;
    explicit GLName(GLuint name) : name(name) {}
    GLName(GLName&& other) noexcept : name(other.release()) {}
    GLName& operator=(GLName&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    GLName(const GLName&) = delete;
    GLName& operator=(const GLName&) = delete;
    ~GLName() { reset(); }

    GLuint get() const { return name; }
    explicit operator bool() const { return name != 0; }

    // Deletes the name held and holds `replacement` instead.
    void reset(GLuint replacement = 0)
    {
        if (name != 0)
            deleteName(name);
        name = replacement;
    }
    // Gives the name up without deleting it.
    GLuint release()
    {
        const GLuint given = name;
        name = 0;
        return given;
    }

private:
    GLuint name = 0;
};

namespace glnames {
void deleteTexture(GLuint name);
void deleteBuffer(GLuint name);
void deleteProgramNV(GLuint name);
void deleteList(GLuint name);
} // namespace glnames

using GLTexture = GLName<glnames::deleteTexture>;
using GLBuffer = GLName<glnames::deleteBuffer>;
using GLProgramNV = GLName<glnames::deleteProgramNV>;
using GLDisplayList = GLName<glnames::deleteList>;

GLTexture genTexture();
GLBuffer genBuffer();
GLProgramNV genProgramNV();
GLDisplayList genList();

// A new texture bound on `target` of the active unit: GL_LINEAR for
// minification and magnification, `wrap` on each axis of the target (s and
// t, and r for 3-D textures). Rectangle textures take only the clamping
// modes.
GLTexture createTexture(GLenum target, GLint wrap = GL_CLAMP_TO_EDGE);
