// NV_vertex_program's vertex attributes, attribute arrays and program
// matrices in the layer (see NvExtensions.h). The ARB translation reads v[n]
// from the conventional attribute NV aliases it with, so each value is set
// through that input; an enabled NV attribute array is an ARB generic array
// that the translation reads instead.
#include "programs/NvExtensions.h"

#include "programs/MatrixTracking.h"
#include "programs/NvLayerState.h"
#include "programs/VertexProgram.h"

namespace nv {

namespace {

enum AliasedAttribute { Position = 0, Normal = 2, PrimaryColour = 3, SecondaryColour = 4, FogCoordinate = 5,
                        TextureCoordinate0 = 8 };

// Sets attribute `index` to (x, y, z, w); the caller has filled the missing
// components of a shorter form with NV's (0, 0, 0, 1).
void setAttribute(GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    if (index >= static_cast<GLuint>(programs::vpAttributeCount)) {
        detail::raise(GL_INVALID_VALUE);
        return;
    }
    switch (index) {
    case Position: ::glVertex4f(x, y, z, w); return;
    case Normal: ::glNormal3f(x, y, z); return;
    case PrimaryColour: ::glColor4f(x, y, z, w); return;
    case SecondaryColour: ::glSecondaryColor3f(x, y, z); return;
    case FogCoordinate: ::glFogCoordf(x); return;
    default:
        if (index >= TextureCoordinate0)
            ::glMultiTexCoord4f(GL_TEXTURE0 + (index - TextureCoordinate0), x, y, z, w);
        else
            ::glVertexAttrib4fARB(index, x, y, z, w);
        return;
    }
}

template <typename T>
void setAttributeFrom(GLuint index, int size, const T* v)
{
    GLfloat c[4] = {0, 0, 0, 1};
    for (int i = 0; i < size; ++i)
        c[i] = static_cast<GLfloat>(v[i]);
    setAttribute(index, c[0], c[1], c[2], c[3]);
}

void setAttributeFromBytes(GLuint index, const GLubyte* v)
{
    setAttribute(index, v[0] / 255.0f, v[1] / 255.0f, v[2] / 255.0f, v[3] / 255.0f);
}

template <typename T>
void setAttributes(GLuint index, GLsizei count, int size, const T* v)
{
    if (count < 0) {
        detail::raise(GL_INVALID_VALUE);
        return;
    }
    // NV loads the highest index first, so that v[0] (which provokes a
    // vertex) comes last when a run includes it.
    for (GLsizei i = count; i-- > 0;)
        setAttributeFrom(index + static_cast<GLuint>(i), size, v + size * i);
}

} // namespace

void glMatrixMode(GLenum mode) { ::glMatrixMode(programs::glMatrixModeOf(mode)); }

void glVertexAttrib1fNV(GLuint index, GLfloat x) { setAttribute(index, x, 0, 0, 1); }
void glVertexAttrib2fNV(GLuint index, GLfloat x, GLfloat y) { setAttribute(index, x, y, 0, 1); }
void glVertexAttrib3fNV(GLuint index, GLfloat x, GLfloat y, GLfloat z) { setAttribute(index, x, y, z, 1); }
void glVertexAttrib4fNV(GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w) { setAttribute(index, x, y, z, w); }
void glVertexAttrib1fvNV(GLuint index, const GLfloat* v) { setAttributeFrom(index, 1, v); }
void glVertexAttrib2fvNV(GLuint index, const GLfloat* v) { setAttributeFrom(index, 2, v); }
void glVertexAttrib3fvNV(GLuint index, const GLfloat* v) { setAttributeFrom(index, 3, v); }
void glVertexAttrib4fvNV(GLuint index, const GLfloat* v) { setAttributeFrom(index, 4, v); }

void glVertexAttrib1dNV(GLuint index, GLdouble x) { glVertexAttrib1fNV(index, GLfloat(x)); }
void glVertexAttrib2dNV(GLuint index, GLdouble x, GLdouble y) { glVertexAttrib2fNV(index, GLfloat(x), GLfloat(y)); }
void glVertexAttrib3dNV(GLuint index, GLdouble x, GLdouble y, GLdouble z)
{
    glVertexAttrib3fNV(index, GLfloat(x), GLfloat(y), GLfloat(z));
}
void glVertexAttrib4dNV(GLuint index, GLdouble x, GLdouble y, GLdouble z, GLdouble w)
{
    setAttribute(index, GLfloat(x), GLfloat(y), GLfloat(z), GLfloat(w));
}
void glVertexAttrib1dvNV(GLuint index, const GLdouble* v) { setAttributeFrom(index, 1, v); }
void glVertexAttrib2dvNV(GLuint index, const GLdouble* v) { setAttributeFrom(index, 2, v); }
void glVertexAttrib3dvNV(GLuint index, const GLdouble* v) { setAttributeFrom(index, 3, v); }
void glVertexAttrib4dvNV(GLuint index, const GLdouble* v) { setAttributeFrom(index, 4, v); }

void glVertexAttrib1sNV(GLuint index, GLshort x) { glVertexAttrib1fNV(index, x); }
void glVertexAttrib2sNV(GLuint index, GLshort x, GLshort y) { glVertexAttrib2fNV(index, x, y); }
void glVertexAttrib3sNV(GLuint index, GLshort x, GLshort y, GLshort z) { glVertexAttrib3fNV(index, x, y, z); }
void glVertexAttrib4sNV(GLuint index, GLshort x, GLshort y, GLshort z, GLshort w) { setAttribute(index, x, y, z, w); }
void glVertexAttrib1svNV(GLuint index, const GLshort* v) { setAttributeFrom(index, 1, v); }
void glVertexAttrib2svNV(GLuint index, const GLshort* v) { setAttributeFrom(index, 2, v); }
void glVertexAttrib3svNV(GLuint index, const GLshort* v) { setAttributeFrom(index, 3, v); }
void glVertexAttrib4svNV(GLuint index, const GLshort* v) { setAttributeFrom(index, 4, v); }

void glVertexAttrib4ubNV(GLuint index, GLubyte x, GLubyte y, GLubyte z, GLubyte w)
{
    const GLubyte v[4] = {x, y, z, w};
    setAttributeFromBytes(index, v);
}
void glVertexAttrib4ubvNV(GLuint index, const GLubyte* v) { setAttributeFromBytes(index, v); }

void glVertexAttribs1fvNV(GLuint index, GLsizei count, const GLfloat* v) { setAttributes(index, count, 1, v); }
void glVertexAttribs2fvNV(GLuint index, GLsizei count, const GLfloat* v) { setAttributes(index, count, 2, v); }
void glVertexAttribs3fvNV(GLuint index, GLsizei count, const GLfloat* v) { setAttributes(index, count, 3, v); }
void glVertexAttribs4fvNV(GLuint index, GLsizei count, const GLfloat* v) { setAttributes(index, count, 4, v); }

void glVertexAttribs4ubvNV(GLuint index, GLsizei count, const GLubyte* v)
{
    if (count < 0) {
        detail::raise(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = count; i-- > 0;)
        setAttributeFromBytes(index + static_cast<GLuint>(i), v + 4 * i);
}

void glVertexAttribPointerNV(GLuint index, GLint size, GLenum type, GLsizei stride, const void* pointer)
{
    bool typeFits = type == GL_SHORT || type == GL_FLOAT || type == GL_DOUBLE || (type == GL_UNSIGNED_BYTE && size == 4);
    if (index >= static_cast<GLuint>(programs::vpAttributeCount) || size < 1 || size > 4 || stride < 0) {
        detail::raise(GL_INVALID_VALUE);
        return;
    }
    if (!typeFits) {
        detail::raise(type == GL_UNSIGNED_BYTE ? GL_INVALID_OPERATION : GL_INVALID_ENUM);
        return;
    }
    ::glVertexAttribPointerARB(index, size, type, type == GL_UNSIGNED_BYTE, stride, pointer);
}

namespace {

bool isAttributeArray(GLenum array)
{
    return array >= GL_VERTEX_ATTRIB_ARRAY0_NV &&
           array < GL_VERTEX_ATTRIB_ARRAY0_NV + static_cast<GLenum>(programs::vpAttributeCount);
}

// Turns NV attribute array `array` on or off; a bound program is translated
// again, as it now reads the attribute from elsewhere.
void setAttributeArray(GLenum array, bool on)
{
    GLuint index = array - GL_VERTEX_ATTRIB_ARRAY0_NV;
    uint16_t bit = static_cast<uint16_t>(1u << index);
    if (on)
        ::glEnableVertexAttribArrayARB(index);
    else
        ::glDisableVertexAttribArrayARB(index);
    uint16_t arrays = on ? (detail::state().attributeArrays | bit) : (detail::state().attributeArrays & ~bit);
    if (arrays == detail::state().attributeArrays)
        return;
    detail::state().attributeArrays = arrays;
    if (detail::state().boundVertexProgram != 0)
        detail::bindVertexProgram();
}

} // namespace

void glEnableClientState(GLenum array)
{
    if (isAttributeArray(array))
        setAttributeArray(array, true);
    else
        ::glEnableClientState(array);
}

void glDisableClientState(GLenum array)
{
    if (isAttributeArray(array))
        setAttributeArray(array, false);
    else
        ::glDisableClientState(array);
}

} // namespace nv
