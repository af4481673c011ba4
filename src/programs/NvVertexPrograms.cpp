// NV_vertex_program entry points of the layer (see NvExtensions.h).
#include "programs/NvExtensions.h"

#include "programs/NvLayerState.h"
#include "programs/TrackedMatrixValues.h"
#include "programs/VertexMachine.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexProgramTranslator.h"

#include <string_view>

namespace nv {

using detail::raise;
using detail::state;

namespace {

void deleteArbPrograms(detail::ProgramObject& object)
{
    for (auto& entry : object.arbPrograms)
        ::glDeleteProgramsARB(1, &entry.second);
    object.arbPrograms.clear();
}

// Current parameter values as a program sees them: tracked groups hold the
// transformed matrix rows, the rest the environment parameters.
void readParameters(programs::VertexMachine& machine)
{
    for (int i = 0; i < programs::vpParameterCount; ++i)
        ::glGetProgramEnvParameterfvARB(GL_VERTEX_PROGRAM_ARB, i, machine.parameters[i].data());
    const programs::TrackingTable& tracking = state().tracking;
    for (size_t group = 0; group < tracking.size(); ++group) {
        if (tracking[group].matrix == GL_NONE)
            continue;
        auto rows = programs::trackedMatrixRows(tracking[group]);
        for (int r = 0; r < 4; ++r)
            machine.parameters[group * 4 + r] = rows[r];
    }
}

} // namespace

void detail::bindVertexProgram()
{
    LayerState& s = state();
    auto it = s.programs.find(s.boundVertexProgram);
    if (it == s.programs.end() || !it->second.loaded || it->second.target != GL_VERTEX_PROGRAM_NV) {
        ::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, 0);
        return;
    }
    std::string key = programs::trackingKey(s.tracking) + "arrays:" + std::to_string(s.attributeArrays);
    auto found = it->second.arbPrograms.find(key);
    GLuint arb = 0;
    if (found != it->second.arbPrograms.end()) {
        arb = found->second;
    } else {
        arb = loadArbProgram(GL_VERTEX_PROGRAM_ARB,
                             programs::translateToArbVertexProgram(it->second.program, s.tracking, s.attributeArrays));
        it->second.arbPrograms[key] = arb;
    }
    ::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, arb);
}

void glGenProgramsNV(GLsizei n, GLuint* ids)
{
    if (n < 0) {
        raise(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        GLuint id = state().nextProgramName++;
        state().programs[id];
        ids[i] = id;
    }
}

void glDeleteProgramsNV(GLsizei n, const GLuint* ids)
{
    if (n < 0) {
        raise(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        auto it = state().programs.find(ids[i]);
        if (it == state().programs.end())
            continue;
        deleteArbPrograms(it->second);
        state().programs.erase(it);
        if (state().boundVertexProgram == ids[i]) {
            state().boundVertexProgram = 0;
            ::glBindProgramARB(GL_VERTEX_PROGRAM_ARB, 0);
        }
    }
}

GLboolean glIsProgramNV(GLuint id)
{
    auto it = state().programs.find(id);
    return it != state().programs.end() && it->second.loaded ? GL_TRUE : GL_FALSE;
}

void glBindProgramNV(GLenum target, GLuint id)
{
    if (detail::deferToList([=] { glBindProgramNV(target, id); }))
        return;
    if (target != GL_VERTEX_PROGRAM_NV) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (id != 0) {
        detail::ProgramObject& object = state().programs[id];
        if (object.loaded && object.target != GL_VERTEX_PROGRAM_NV) {
            raise(GL_INVALID_OPERATION);
            return;
        }
        if (id >= state().nextProgramName)
            state().nextProgramName = id + 1;
    }
    state().boundVertexProgram = id;
    detail::bindVertexProgram();
}

void glLoadProgramNV(GLenum target, GLuint id, GLsizei len, const GLubyte* text)
{
    if (detail::deferToList([=, copy = std::string(reinterpret_cast<const char*>(text), len > 0 ? len : 0)] {
            glLoadProgramNV(target, id, static_cast<GLsizei>(copy.size()),
                            reinterpret_cast<const GLubyte*>(copy.data()));
        }))
        return;
    if (target != GL_VERTEX_PROGRAM_NV && target != GL_VERTEX_STATE_PROGRAM_NV) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (id == 0 || len < 0) {
        raise(id == 0 ? GL_INVALID_OPERATION : GL_INVALID_VALUE);
        return;
    }
    std::string_view source(reinterpret_cast<const char*>(text), static_cast<size_t>(len));
    programs::VpParseResult parsed = programs::parseVertexProgram(source);
    programs::VpKind wanted = target == GL_VERTEX_PROGRAM_NV ? programs::VpKind::Vertex : programs::VpKind::State;
    if (parsed.ok && parsed.program.kind != wanted) {
        parsed.ok = false;
        parsed.errorPosition = 0;
    }
    if (!parsed.ok) {
        state().errorPosition = static_cast<GLint>(parsed.errorPosition);
        raise(GL_INVALID_OPERATION);
        return;
    }
    state().errorPosition = -1;
    detail::ProgramObject& object = state().programs[id];
    deleteArbPrograms(object);
    object.loaded = true;
    object.target = target;
    object.program = std::move(parsed.program);
    if (id >= state().nextProgramName)
        state().nextProgramName = id + 1;
    if (state().boundVertexProgram == id)
        detail::bindVertexProgram();
}

void glExecuteProgramNV(GLenum target, GLuint id, const GLfloat* params)
{
    if (detail::deferToList([=, v = programs::Vec4{params[0], params[1], params[2], params[3]}] {
            glExecuteProgramNV(target, id, v.data());
        }))
        return;
    if (target != GL_VERTEX_STATE_PROGRAM_NV) {
        raise(GL_INVALID_ENUM);
        return;
    }
    auto it = state().programs.find(id);
    if (it == state().programs.end() || !it->second.loaded || it->second.target != GL_VERTEX_STATE_PROGRAM_NV) {
        raise(GL_INVALID_OPERATION);
        return;
    }
    programs::VertexMachine machine;
    machine.attributes[0] = {params[0], params[1], params[2], params[3]};
    readParameters(machine);
    machine.run(it->second.program);
    for (const programs::VpInstruction& inst : it->second.program.instructions)
        if (inst.dst.file == programs::VpFile::Parameter)
            ::glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, inst.dst.index,
                                          machine.parameters[inst.dst.index].data());
}

void glTrackMatrixNV(GLenum target, GLuint address, GLenum matrix, GLenum transform)
{
    if (detail::deferToList([=] { glTrackMatrixNV(target, address, matrix, transform); }))
        return;
    if (target != GL_VERTEX_PROGRAM_NV || !programs::isTrackableMatrix(matrix) ||
        !programs::isTrackTransform(transform)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (address % 4 != 0 || address >= static_cast<GLuint>(programs::vpParameterCount)) {
        raise(GL_INVALID_VALUE);
        return;
    }
    programs::TrackedMatrix tracked{matrix, transform, 0};
    if (matrix == GL_TEXTURE) {
        GLint active = GL_TEXTURE0;
        ::glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        tracked.textureUnit = active - GL_TEXTURE0;
    }
    programs::TrackedMatrix& slot = state().tracking[address / 4];
    if (slot == tracked)
        return;
    slot = tracked;
    if (state().boundVertexProgram != 0)
        detail::bindVertexProgram();
}

void glGetTrackMatrixivNV(GLenum target, GLuint address, GLenum pname, GLint* params)
{
    if (target != GL_VERTEX_PROGRAM_NV || (pname != GL_TRACK_MATRIX_NV && pname != GL_TRACK_MATRIX_TRANSFORM_NV)) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (address % 4 != 0 || address >= static_cast<GLuint>(programs::vpParameterCount)) {
        raise(GL_INVALID_VALUE);
        return;
    }
    const programs::TrackedMatrix& slot = state().tracking[address / 4];
    *params = static_cast<GLint>(pname == GL_TRACK_MATRIX_NV ? slot.matrix : slot.transform);
}

void glProgramParameter4fNV(GLenum target, GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w)
{
    const GLfloat v[4] = {x, y, z, w};
    glProgramParameters4fvNV(target, index, 1, v);
}

void glProgramParameter4fvNV(GLenum target, GLuint index, const GLfloat* v)
{
    glProgramParameters4fvNV(target, index, 1, v);
}

void glProgramParameters4fvNV(GLenum target, GLuint index, GLsizei count, const GLfloat* v)
{
    if (count > 0 && detail::deferToList([=, copy = std::vector<GLfloat>(v, v + 4 * count)] {
            glProgramParameters4fvNV(target, index, count, copy.data());
        }))
        return;
    if (target != GL_VERTEX_PROGRAM_NV) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (count < 0 || index >= static_cast<GLuint>(programs::vpParameterCount) ||
        static_cast<GLuint>(count) > programs::vpParameterCount - index) {
        raise(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < count; ++i)
        ::glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, index + i, v + 4 * i);
}

void glGetProgramParameterfvNV(GLenum target, GLuint index, GLenum pname, GLfloat* params)
{
    if (target != GL_VERTEX_PROGRAM_NV || pname != GL_PROGRAM_PARAMETER_NV) {
        raise(GL_INVALID_ENUM);
        return;
    }
    if (index >= static_cast<GLuint>(programs::vpParameterCount)) {
        raise(GL_INVALID_VALUE);
        return;
    }
    const programs::TrackedMatrix& slot = state().tracking[index / 4];
    if (slot.matrix == GL_NONE) {
        ::glGetProgramEnvParameterfvARB(GL_VERTEX_PROGRAM_ARB, index, params);
        return;
    }
    programs::Vec4 row = programs::trackedMatrixRows(slot)[index % 4];
    for (int i = 0; i < 4; ++i)
        params[i] = row[i];
}

} // namespace nv
