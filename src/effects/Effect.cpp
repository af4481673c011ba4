#include "effects/Effect.h"

#include <epoxy/gl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

Effect::Effect(ResourceManager* resources) : resources(resources)
{
    // The blending parameters are typed from the start: every description
    // and script may set them.
    registerTarget("blendEnable", &blendEnable, paramInt).type = paramInt;
    registerTarget("blendSrc", &blendSrc, paramInt).type = paramInt;
    registerTarget("blendDst", &blendDst, paramInt).type = paramInt;
    registerTarget("blendEq", &blendEq, paramInt).type = paramInt;
    registerTarget("blendCol", blendCol, paramArray4).type = paramArray4;
}

int Effect::advance(float) { return 0; }
int Effect::onKey(int, int, int) { return 0; }
int Effect::reserved() { return 0; }

void Effect::finishLoad()
{
    prepareKeys();
}

EffectParam& Effect::registerTarget(const std::string& name, void* target, int storage)
{
    EffectParam& param = params[name];
    param.target = target;
    param.storage = storage;
    if (param.type != storage)
        param.type = paramNone;
    return param;
}

void Effect::registerParam(const std::string& name, int* target) { registerTarget(name, target, paramInt); }
void Effect::registerParam(const std::string& name, float* target) { registerTarget(name, target, paramFloat); }
void Effect::registerParam(const std::string& name, float (*target)[3]) { registerTarget(name, *target, paramArray3); }
void Effect::registerParam(const std::string& name, float (*target)[4]) { registerTarget(name, *target, paramArray4); }
void Effect::registerParam(const std::string& name, std::string* target) { registerTarget(name, target, paramString); }

EffectVar* Effect::findVar(const std::string& name)
{
    const auto found = vars.find(name);
    return found == vars.end() ? nullptr : found->second.get();
}

const EffectVar* Effect::findVar(const std::string& name) const
{
    const auto found = vars.find(name);
    return found == vars.end() ? nullptr : found->second.get();
}

int Effect::setParam(const std::string& name, const char* text)
{
    const auto found = params.find(name);
    if (found != params.end())
        return found->second.set(text);
    if (EffectVar* var = findVar(name)) {
        var->value = static_cast<float>(std::atof(text));
        return 0;
    }
    return 1;
}

int Effect::setParams(const char* text)
{
    int accepted = 0;
    const char* c = text;
    while (*c != '\0') {
        std::string name;
        for (; *c != '\0' && *c != '='; ++c)
            if (!std::isspace(static_cast<unsigned char>(*c)))
                name += *c;
        if (*c == '\0')
            break;
        ++c; // past "="

        // Quotes keep blanks in a value (file names, captions); the quote
        // characters themselves are not part of it.
        std::string value;
        bool quoted = false;
        for (; *c != '\0' && *c != ';'; ++c) {
            if (*c == '"')
                quoted = !quoted;
            else if (quoted || !std::isspace(static_cast<unsigned char>(*c)))
                value += *c;
        }
        // Every assignment, the last one included, ends with ";".
        if (*c == '\0')
            break;
        ++c; // past ";"
        if (setParam(name, value.c_str()) == 0)
            ++accepted;
    }
    return accepted;
}

EffectVar& Effect::declareVar(const std::string& name, float value, float min, float max)
{
    // A redeclared var starts over in place, so references that effects
    // already keep stay valid.
    std::unique_ptr<EffectVar>& slot = vars[name];
    if (!slot)
        slot = std::make_unique<EffectVar>();
    *slot = EffectVar{value, min, max, {}};
    return *slot;
}

void Effect::addKey(const std::string& varName, const VarKey& key)
{
    if (EffectVar* var = findVar(varName))
        var->keys.push_back(key);
}

void Effect::prepareKeys()
{
    for (auto& entry : vars)
        entry.second->prepareKeys();
}

EffectVar& Effect::lookUpVar(const char* name)
{
    if (EffectVar* var = findVar(name))
        return *var;
    std::fprintf(stderr, "effect description declares no var \"%s\"\n", name);
    return declareVar(name, 0.0f, 0.0f, 1.0f);
}

namespace {

// The blend-colour and blend-equation entry points are extensions (core
// from GL 1.4 on); a driver without them simply skips those steps.
struct BlendEntryPoints {
    bool colour;
    bool equation;
};

const BlendEntryPoints& blendEntryPoints()
{
    static const BlendEntryPoints points = {
        epoxy_gl_version() >= 14 || epoxy_has_gl_extension("GL_EXT_blend_color"),
        epoxy_gl_version() >= 14 || epoxy_has_gl_extension("GL_EXT_blend_minmax"),
    };
    return points;
}

} // namespace

void Effect::applyBlend() const
{
    if (blendEnable == 0)
        glDisable(GL_BLEND);
    if (blendSrc == -1 || blendDst == -1 || blendEnable == 0)
        return;
    glEnable(GL_BLEND);
    if (blendCol[0] != -1.0f && blendEntryPoints().colour)
        glBlendColorEXT(blendCol[0], blendCol[1], blendCol[2], blendCol[3]);
    if (blendEq != -1 && blendEntryPoints().equation)
        glBlendEquationEXT(static_cast<GLenum>(blendEq));
    glBlendFunc(static_cast<GLenum>(blendSrc), static_cast<GLenum>(blendDst));
}
