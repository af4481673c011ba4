// Reading an effect type's XML description: "value" elements give the
// registered parameters their types and defaults, "var" elements declare the
// vars. Only start tags matter; every other element, end tags and text are
// ignored wherever they stand.
#include "effects/Effect.h"
#include "effects/XmlFeed.h"
#include "resources/ResourceManager.h"

#include <cstdio>
#include <cstdlib>

namespace {

float floatAttribute(const XML_Char** attributes, const char* name, float absent)
{
    const char* text = effects::xmlAttribute(attributes, name);
    return text != nullptr ? static_cast<float>(std::atof(text)) : absent;
}

void declareValue(Effect& effect, const XML_Char** attributes)
{
    const char* name = effects::xmlAttribute(attributes, "name");
    if (name == nullptr)
        return;
    const auto found = effect.params.find(name);
    if (found == effect.params.end())
        return;
    EffectParam& param = found->second;
    const char* keyword = effects::xmlAttribute(attributes, "type");
    const int type = keyword != nullptr ? paramTypeFromKeyword(keyword) : paramNone;
    if (type != paramNone && type != param.storage)
        std::fprintf(stderr, "effect description: \"%s\" cannot be of type %s\n", name, keyword);
    param.type = type == param.storage ? type : paramNone;
    if (const char* defaultText = effects::xmlAttribute(attributes, "default"))
        effect.setParam(name, defaultText);
}

void declareVar(Effect& effect, const XML_Char** attributes)
{
    const char* name = effects::xmlAttribute(attributes, "name");
    if (name == nullptr)
        return;
    effect.declareVar(name, floatAttribute(attributes, "default", 0.0f),
                      floatAttribute(attributes, "min", 0.0f), floatAttribute(attributes, "max", 1.0f));
}

void XMLCALL startElement(void* userData, const XML_Char* element, const XML_Char** attributes)
{
    Effect& effect = *static_cast<Effect*>(userData);
    const std::string name = element;
    if (name == "value")
        declareValue(effect, attributes);
    else if (name == "var")
        declareVar(effect, attributes);
}

void XMLCALL endElement(void*, const XML_Char*) {}

// Runs `feed` on a fresh parser whose handlers act on `effect`.
template <typename Feed>
void parseDescription(Effect& effect, const char* source, Feed feed)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr)
        return;
    XML_SetUserData(parser, &effect);
    XML_SetElementHandler(parser, startElement, endElement);
    if (!feed(parser))
        effects::reportXmlError(parser, source);
    XML_ParserFree(parser);
}

} // namespace

void Effect::loadDescription(ResourceManager* resourceManager, const char* fileName)
{
    char path[ResourceManager::pathSize];
    if (resourceManager == nullptr || !resourceManager->findFile(fileName, path)) {
        std::fprintf(stderr, "cannot find effect description %s\n", fileName);
        return;
    }
    readDescriptionFile(path);
}

void Effect::readDescriptionFile(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot open effect description %s\n", path);
        return;
    }
    parseDescription(*this, path, [file](XML_Parser parser) { return effects::feedXmlFile(parser, file); });
    std::fclose(file);
}

void Effect::readDescription(const uint8_t* data, size_t size)
{
    parseDescription(*this, "effect description",
                     [=](XML_Parser parser) { return effects::feedXmlBytes(parser, data, size); });
}
