// The NVIDIA extension entry points the show calls, provided on top of
// ARB_vertex_program, ARB_fragment_program, multitexture and float textures,
// under the same names in namespace `nv`:
//
// - NV_vertex_program: program names, binding on GL_VERTEX_PROGRAM_NV,
//   loading (!!VP1.0, !!VSP1.0), state-program execution, tracked matrices,
//   the program matrices GL_MATRIX0_NV .. GL_MATRIX7_NV, program parameters,
//   and vertex attributes and attribute arrays with NV's aliasing. A bound
//   program runs as an ARB vertex program whose tracked parameters read the
//   ARB state matrices, so they follow every matrix change; parameters are
//   ARB program environment parameters.
// - NV_register_combiners(2) and NV_texture_shader (every stage operation,
//   dot products and culling among them): the combiner and
//   texture-shader state lives here; while GL_REGISTER_COMBINERS_NV or
//   GL_TEXTURE_SHADER_NV is enabled, an ARB fragment program generated from
//   that state and from the texture targets enabled on each unit stands in
//   for the fixed-function fragment stage. An ARB program names its texture
//   targets, so one translation is kept per target combination and the right
//   one is chosen at the draw sites: draw with nv::glBegin, nv::glDrawArrays
//   or nv::glDrawElements (or call nv::prepareDraw() just before drawing).
// - GL_DSDT_NV offset textures are two-float (RG32F) textures; the offset
//   texture matrix, scale and bias are texture-shader state per unit.
// - Display lists: combiner, texture-shader and vertex-program calls made
//   between nv::glNewList and nv::glEndList are recorded by this layer and
//   replayed by nv::glCallList, as a driver with the extensions would.
//
// Calls with other enums are handed to GL unchanged. The layer's state is
// one per process: the show sets the state it needs before each use, in
// whichever of its shared contexts it draws. GL errors that the layer
// raises are reported by nv::glGetError before GL's own.
//
// The real entry points are macros of libepoxy; declaring these functions
// inside namespace `nv` keeps both apart (nv::glEnable is this layer's).
#pragma once

#include <epoxy/gl.h>

namespace nv {

// Whether the ARB extensions each NV family stands on are present.
bool vertexProgramsAvailable();
bool registerCombinersAvailable();
bool textureShadersAvailable();
// The extension names this layer provides, space separated ("GL_NV_...").
const char* providedExtensions();

// NV_vertex_program
void glGenProgramsNV(GLsizei n, GLuint* programs);
void glDeleteProgramsNV(GLsizei n, const GLuint* programs);
GLboolean glIsProgramNV(GLuint id);
void glBindProgramNV(GLenum target, GLuint id);
void glLoadProgramNV(GLenum target, GLuint id, GLsizei len, const GLubyte* program);
void glExecuteProgramNV(GLenum target, GLuint id, const GLfloat* params);
void glTrackMatrixNV(GLenum target, GLuint address, GLenum matrix, GLenum transform);
void glGetTrackMatrixivNV(GLenum target, GLuint address, GLenum pname, GLint* params);
void glProgramParameter4fNV(GLenum target, GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
void glProgramParameter4fvNV(GLenum target, GLuint index, const GLfloat* v);
void glProgramParameters4fvNV(GLenum target, GLuint index, GLsizei count, const GLfloat* v);
void glGetProgramParameterfvNV(GLenum target, GLuint index, GLenum pname, GLfloat* params);
// GL_MATRIX0_NV .. GL_MATRIX7_NV select the ARB program matrices (which
// tracked parameters read); every other mode goes to GL unchanged.
void glMatrixMode(GLenum mode);

// Vertex attributes v[0] .. v[15] with NV's aliasing onto the conventional
// attributes: v[0] position (so it provokes a vertex inside glBegin/glEnd),
// v[2] normal, v[3] primary colour, v[4] secondary colour, v[5] fog
// coordinate, v[8 + n] texture coordinate n; v[1] (the vertex weight, which
// has no conventional input here), v[6] and v[7] are ARB generic attributes
// of the same index. An aliased attribute carries what its conventional
// input carries: a program reads v[2].w and v[4].w as 1 and v[5].yzw as
// (0, 0, 1), as NV defines them for values set through glNormal and the
// like; the w given here for those three is not kept. An index past 15
// raises GL_INVALID_VALUE.
void glVertexAttrib1fNV(GLuint index, GLfloat x);
void glVertexAttrib2fNV(GLuint index, GLfloat x, GLfloat y);
void glVertexAttrib3fNV(GLuint index, GLfloat x, GLfloat y, GLfloat z);
void glVertexAttrib4fNV(GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
void glVertexAttrib1fvNV(GLuint index, const GLfloat* v);
void glVertexAttrib2fvNV(GLuint index, const GLfloat* v);
void glVertexAttrib3fvNV(GLuint index, const GLfloat* v);
void glVertexAttrib4fvNV(GLuint index, const GLfloat* v);
void glVertexAttrib1dNV(GLuint index, GLdouble x);
void glVertexAttrib2dNV(GLuint index, GLdouble x, GLdouble y);
void glVertexAttrib3dNV(GLuint index, GLdouble x, GLdouble y, GLdouble z);
void glVertexAttrib4dNV(GLuint index, GLdouble x, GLdouble y, GLdouble z, GLdouble w);
void glVertexAttrib1dvNV(GLuint index, const GLdouble* v);
void glVertexAttrib2dvNV(GLuint index, const GLdouble* v);
void glVertexAttrib3dvNV(GLuint index, const GLdouble* v);
void glVertexAttrib4dvNV(GLuint index, const GLdouble* v);
void glVertexAttrib1sNV(GLuint index, GLshort x);
void glVertexAttrib2sNV(GLuint index, GLshort x, GLshort y);
void glVertexAttrib3sNV(GLuint index, GLshort x, GLshort y, GLshort z);
void glVertexAttrib4sNV(GLuint index, GLshort x, GLshort y, GLshort z, GLshort w);
void glVertexAttrib1svNV(GLuint index, const GLshort* v);
void glVertexAttrib2svNV(GLuint index, const GLshort* v);
void glVertexAttrib3svNV(GLuint index, const GLshort* v);
void glVertexAttrib4svNV(GLuint index, const GLshort* v);
// Unsigned bytes are taken as fractions of 255, as for colours.
void glVertexAttrib4ubNV(GLuint index, GLubyte x, GLubyte y, GLubyte z, GLubyte w);
void glVertexAttrib4ubvNV(GLuint index, const GLubyte* v);
// `count` consecutive attributes from `index`, each of 1 .. 4 components.
void glVertexAttribs1fvNV(GLuint index, GLsizei count, const GLfloat* v);
void glVertexAttribs2fvNV(GLuint index, GLsizei count, const GLfloat* v);
void glVertexAttribs3fvNV(GLuint index, GLsizei count, const GLfloat* v);
void glVertexAttribs4fvNV(GLuint index, GLsizei count, const GLfloat* v);
void glVertexAttribs4ubvNV(GLuint index, GLsizei count, const GLubyte* v);
// Attribute arrays: while GL_VERTEX_ATTRIB_ARRAYn_NV is enabled (through
// nv::glEnableClientState) a bound program reads v[n] from the array given
// here, in place of the conventional array it aliases, as NV does; an
// unsigned-byte array (size 4 only) reads as fractions of 255. Other client
// states go to GL unchanged.
void glVertexAttribPointerNV(GLuint index, GLint size, GLenum type, GLsizei stride, const void* pointer);
void glEnableClientState(GLenum array);
void glDisableClientState(GLenum array);

// NV_register_combiners, NV_register_combiners2
void glCombinerParameterfvNV(GLenum pname, const GLfloat* params);
void glCombinerParameterfNV(GLenum pname, GLfloat param);
void glCombinerParameterivNV(GLenum pname, const GLint* params);
void glCombinerParameteriNV(GLenum pname, GLint param);
void glCombinerInputNV(GLenum stage, GLenum portion, GLenum variable, GLenum input, GLenum mapping,
                       GLenum componentUsage);
void glCombinerOutputNV(GLenum stage, GLenum portion, GLenum abOutput, GLenum cdOutput, GLenum sumOutput,
                        GLenum scale, GLenum bias, GLboolean abDotProduct, GLboolean cdDotProduct,
                        GLboolean muxSum);
void glFinalCombinerInputNV(GLenum variable, GLenum input, GLenum mapping, GLenum componentUsage);
void glCombinerStageParameterfvNV(GLenum stage, GLenum pname, const GLfloat* params);

// NV_texture_shader state (target GL_TEXTURE_SHADER_NV) on the active unit;
// every other target goes to GL. Inside a display list, select units with
// nv::glActiveTexture so the recorded calls know which unit they set.
void glActiveTexture(GLenum unit);
void glActiveTextureARB(GLenum unit);
void glTexEnvi(GLenum target, GLenum pname, GLint param);
void glTexEnvf(GLenum target, GLenum pname, GLfloat param);
void glTexEnviv(GLenum target, GLenum pname, const GLint* params);
void glTexEnvfv(GLenum target, GLenum pname, const GLfloat* params);

// GL_DSDT_NV (and GL_DSDT_MAG_NV, GL_DSDT_MAG_VIB_NV) images become float
// textures, GL_HILO_NV and GL_SIGNED_HILO_NV 16-bit RG textures, and
// GL_SIGNED_RGB(A)_NV signed-normalised ones; the pixel format GL_HILO_NV
// reads as GL_RG. The texture shaders read them as NV does.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels);
void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                     GLenum format, GLenum type, const void* pixels);

// Enables of GL_REGISTER_COMBINERS_NV, GL_TEXTURE_SHADER_NV and
// GL_PER_STAGE_CONSTANTS_NV; GL_VERTEX_PROGRAM_NV is ARB's enum and goes to GL.
void glEnable(GLenum cap);
void glDisable(GLenum cap);
GLboolean glIsEnabled(GLenum cap);

// GL_VERTEX_PROGRAM_BINDING_NV, GL_PROGRAM_ERROR_POSITION_NV,
// GL_MAX_GENERAL_COMBINERS_NV, GL_NUM_GENERAL_COMBINERS_NV, GL_COLOR_SUM_CLAMP_NV.
void glGetIntegerv(GLenum pname, GLint* data);
GLenum glGetError();
// GL_EXTENSIONS gains the names of providedExtensions().
const GLubyte* glGetString(GLenum name);

void glNewList(GLuint list, GLenum mode);
void glEndList();
void glCallList(GLuint list);
void glDeleteLists(GLuint list, GLsizei range);

// Draw sites: choose the fragment program for the current texture targets.
void prepareDraw();
void glBegin(GLenum mode);
void glDrawArrays(GLenum mode, GLint first, GLsizei count);
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);

} // namespace nv
