#include "effects/MaterialState.h"

#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <strings.h>

namespace {

void setColour(float (&colour)[4], float r, float g, float b, float a)
{
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

constexpr int materialKeyCount = 9;

bool is(const std::unique_ptr<char[]>& word, const char* expected)
{
    return word && strcasecmp(word.get(), expected) == 0;
}

} // namespace

void MaterialState::reset()
{
    setColour(ambient, 0.2f, 0.2f, 0.2f, 1.0f);
    setColour(diffuse, 0.8f, 0.8f, 0.8f, 1.0f);
    setColour(specular, 0.0f, 0.0f, 0.0f, 1.0f);
    setColour(emission, 0.0f, 0.0f, 0.0f, 1.0f);
    shininess = 0.0f;
    shadeModel = GL_SMOOTH;
    polygonMode = GL_FILL;
    twoSided = 0;
    lineWidth = -1;
}

void MaterialState::readMaterial(const char* textOrName, const ResourceManager* resources)
{
    reset();
    std::unique_ptr<char[]> file;
    if (resources != nullptr) {
        file = resources->readFile(textOrName);
        if (!file)
            return;
    }
    const char* text = file ? file.get() : textOrName;

    // Each absent key has its own line from the lookup, without the file's
    // name; several scenes' materials share the keys, so the file is named
    // once at the end.
    int absent = 0;
    auto present = [&](const char* key) {
        if (kvFind(text, key) >= 0)
            return true;
        ++absent;
        return false;
    };
    auto wordOf = [&](const char* key) { return present(key) ? kvString(text, key) : nullptr; };

    const auto shade = wordOf("shademodel");
    if (is(shade, "smooth")) shadeModel = GL_SMOOTH;
    if (is(shade, "flat")) shadeModel = GL_FLAT;
    const auto polygon = wordOf("polygonmode");
    if (is(polygon, "fill")) polygonMode = GL_FILL;
    if (is(polygon, "line")) polygonMode = GL_LINE;
    const auto sides = wordOf("twosided");
    if (is(sides, "true")) twoSided = 1;
    if (is(sides, "false")) twoSided = 0;

    if (present("shininess"))
        shininess = kvFloat(text, "shininess");
    const struct {
        const char* key;
        float* colour;
    } colours[] = {{"ambient", ambient}, {"diffuse", diffuse}, {"specular", specular}, {"emission", emission}};
    for (const auto& entry : colours)
        if (present(entry.key))
            kvFloats(text, entry.key, entry.colour, 4);
    if (present("linewidth"))
        lineWidth = kvInt(text, "linewidth");
    if (file && absent > 0)
        std::fprintf(stderr, "%s: %d of the material's %d keys are absent and keep their defaults\n", textOrName,
                     absent, materialKeyCount);
}

void MaterialState::applyMaterial() const
{
    glShadeModel(shadeModel);
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    if (polygonMode == GL_LINE && lineWidth != -1)
        glLineWidth(static_cast<GLfloat>(lineWidth));
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, twoSided);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}
