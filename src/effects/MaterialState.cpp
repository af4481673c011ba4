#include "effects/MaterialState.h"

#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

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

    // The room, the logo and its glow share these keys: a file with absent
    // ones is named once after the lookups' lines.
    const KvLookupReport report(file ? textOrName : nullptr);
    auto present = [&](const char* key) { return kvFind(text, key) >= 0; };
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
