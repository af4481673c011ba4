#include "support/GLStateSnapshot.h"

#include "programs/NvExtensions.h"

#include <epoxy/gl.h>

#include <sstream>

namespace testsupport {

namespace {

class Reader {
public:
    explicit Reader(GLStateSnapshot& snapshot) : snapshot(snapshot) {}

    void enabled(const char* name, GLenum cap) { add(name, {static_cast<double>(glIsEnabled(cap))}); }
    void integers(const char* name, GLenum query, int count = 1)
    {
        std::vector<GLint> values(static_cast<size_t>(count) + 16);
        glGetIntegerv(query, values.data());
        add(name, std::vector<double>(values.begin(), values.begin() + count));
    }
    void floats(const char* name, GLenum query, int count)
    {
        std::vector<GLfloat> values(static_cast<size_t>(count) + 16);
        glGetFloatv(query, values.data());
        add(name, std::vector<double>(values.begin(), values.begin() + count));
    }
    void add(std::string name, std::vector<double> values) { snapshot.fields.emplace_back(std::move(name), std::move(values)); }

private:
    GLStateSnapshot& snapshot;
};

void readUnit(Reader& read, int unit)
{
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    const std::string prefix = "unit " + std::to_string(unit) + " ";
    const struct {
        const char* name;
        GLenum enable;
        GLenum binding;
    } targets[] = {{"2D", GL_TEXTURE_2D, GL_TEXTURE_BINDING_2D},
                   {"rectangle", GL_TEXTURE_RECTANGLE, GL_TEXTURE_BINDING_RECTANGLE},
                   {"3D", GL_TEXTURE_3D, GL_TEXTURE_BINDING_3D},
                   {"cube", GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BINDING_CUBE_MAP}};
    for (const auto& target : targets) {
        read.add(prefix + target.name + " on", {static_cast<double>(glIsEnabled(target.enable))});
        GLint bound = 0;
        glGetIntegerv(target.binding, &bound);
        read.add(prefix + target.name + " bound", {static_cast<double>(bound)});
    }
    for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
        read.add(prefix + "texgen " + std::to_string(gen - GL_TEXTURE_GEN_S), {static_cast<double>(glIsEnabled(gen))});
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    read.add(prefix + "env mode", {static_cast<double>(mode)});
    read.floats((prefix + "texture matrix").c_str(), GL_TEXTURE_MATRIX, 16);
    read.integers((prefix + "texture stack depth").c_str(), GL_TEXTURE_STACK_DEPTH);
}

} // namespace

GLStateSnapshot GLStateSnapshot::take()
{
    GLStateSnapshot snapshot;
    Reader read(snapshot);
    for (const auto& [name, cap] : std::initializer_list<std::pair<const char*, GLenum>>{
             {"blend", GL_BLEND}, {"depth test", GL_DEPTH_TEST}, {"cull face", GL_CULL_FACE},
             {"lighting", GL_LIGHTING}, {"light 0", GL_LIGHT0}, {"light 1", GL_LIGHT1}, {"light 2", GL_LIGHT2},
             {"fog", GL_FOG}, {"alpha test", GL_ALPHA_TEST}, {"stencil test", GL_STENCIL_TEST},
             {"scissor test", GL_SCISSOR_TEST}, {"colour material", GL_COLOR_MATERIAL}, {"normalize", GL_NORMALIZE},
             {"polygon offset fill", GL_POLYGON_OFFSET_FILL}, {"line smooth", GL_LINE_SMOOTH},
             {"point smooth", GL_POINT_SMOOTH}, {"clip plane 0", GL_CLIP_PLANE0},
             {"vertex program", GL_VERTEX_PROGRAM_ARB}, {"fragment program", GL_FRAGMENT_PROGRAM_ARB}})
        read.enabled(name, cap);
    read.integers("blend function", GL_BLEND_SRC_RGB);
    read.integers("blend destination", GL_BLEND_DST_RGB);
    read.integers("blend equation", GL_BLEND_EQUATION_RGB);
    read.floats("blend colour", GL_BLEND_COLOR, 4);
    read.integers("depth function", GL_DEPTH_FUNC);
    read.integers("depth mask", GL_DEPTH_WRITEMASK);
    read.integers("colour mask", GL_COLOR_WRITEMASK, 4);
    read.integers("viewport", GL_VIEWPORT, 4);
    read.integers("shade model", GL_SHADE_MODEL);
    read.integers("polygon mode", GL_POLYGON_MODE, 2);
    read.floats("current colour", GL_CURRENT_COLOR, 4);
    read.floats("clear colour", GL_COLOR_CLEAR_VALUE, 4);
    read.integers("matrix mode", GL_MATRIX_MODE);
    read.floats("projection", GL_PROJECTION_MATRIX, 16);
    read.floats("model-view", GL_MODELVIEW_MATRIX, 16);
    read.integers("projection stack depth", GL_PROJECTION_STACK_DEPTH);
    read.integers("model-view stack depth", GL_MODELVIEW_STACK_DEPTH);
    read.integers("attribute stack depth", GL_ATTRIB_STACK_DEPTH);
    read.integers("client attribute stack depth", GL_CLIENT_ATTRIB_STACK_DEPTH);
    read.integers("array buffer", GL_ARRAY_BUFFER_BINDING);
    for (const auto& [name, array] : std::initializer_list<std::pair<const char*, GLenum>>{
             {"vertex array", GL_VERTEX_ARRAY}, {"colour array", GL_COLOR_ARRAY},
             {"normal array", GL_NORMAL_ARRAY}, {"texture coordinate array", GL_TEXTURE_COORD_ARRAY}})
        read.enabled(name, array);

    GLint activeUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    read.add("active texture", {static_cast<double>(activeUnit)});
    for (int unit = 0; unit < 4; ++unit)
        readUnit(read, unit);
    glActiveTexture(static_cast<GLenum>(activeUnit));

    GLint program = 0;
    glGetProgramivARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_BINDING_ARB, &program);
    read.add("vertex program bound", {static_cast<double>(program)});
    glGetProgramivARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_BINDING_ARB, &program);
    read.add("fragment program bound", {static_cast<double>(program)});
    read.add("register combiners", {static_cast<double>(nv::glIsEnabled(GL_REGISTER_COMBINERS_NV))});
    read.add("texture shaders", {static_cast<double>(nv::glIsEnabled(GL_TEXTURE_SHADER_NV))});
    return snapshot;
}

std::string GLStateSnapshot::differencesFrom(const GLStateSnapshot& other) const
{
    std::ostringstream out;
    for (size_t i = 0; i < fields.size() && i < other.fields.size(); ++i) {
        if (fields[i].second == other.fields[i].second)
            continue;
        out << fields[i].first << ":";
        for (double v : other.fields[i].second)
            out << " " << v;
        out << " ->";
        for (double v : fields[i].second)
            out << " " << v;
        out << "\n";
    }
    return out.str();
}

} // namespace testsupport
