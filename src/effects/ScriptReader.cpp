#include "effects/ScriptReader.h"

#include "effects/Effect.h"
#include "effects/ScriptTimeline.h"
#include "effects/XmlFeed.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using effects::xmlAttribute;
using std::size_t;

float barBeatTickToBeats(const char* text)
{
    long parts[3] = {1, 1, 1};
    const char* c = text;
    for (long& part : parts) {
        char* after = nullptr;
        const long value = std::strtol(c, &after, 10);
        if (after == c)
            break;
        part = value;
        if (*after != ':')
            break;
        c = after + 1;
    }
    const double ticks = (parts[0] - 1.0) * 1024.0 + (parts[1] - 1.0) * 256.0 + (parts[2] - 1.0);
    return static_cast<float>(ticks / 256.0);
}

namespace {

float ticksToBeats(const char* text)
{
    return text != nullptr ? static_cast<float>(std::strtol(text, nullptr, 10) / 256.0) : 0.0f;
}

int intAttribute(const XML_Char** attributes, const char* name)
{
    const char* text = xmlAttribute(attributes, name);
    return text != nullptr ? std::atoi(text) : -1;
}

// Written TCB parameters centre on 50: 40 is -1, 60 is +1. Absent is neutral.
float tcbAttribute(const XML_Char** attributes, const char* name)
{
    const char* text = xmlAttribute(attributes, name);
    return text != nullptr ? static_cast<float>(std::atof(text)) * 0.1f - 5.0f : 0.0f;
}

int keyTypeAttribute(const XML_Char** attributes)
{
    const std::string type = xmlAttribute(attributes, "type") ? xmlAttribute(attributes, "type") : "TCB";
    if (type == "TCB") return keyTCB;
    if (type == "Linear") return keyLinear;
    if (type == "Step") return keyStep;
    return -1; // evaluates as 1.0
}

int commandAttribute(const XML_Char** attributes)
{
    const char* keyword = xmlAttribute(attributes, "command");
    const std::string command = keyword != nullptr ? keyword : "";
    if (command == "add") return commandAdd;
    if (command == "remove") return commandRemove;
    if (command == "text") return commandText;
    return commandUnknown;
}

// The reader's state between expat callbacks.
class ScriptReader {
public:
    explicit ScriptReader(ScriptTimeline& timeline) : timeline(timeline) {}

    void read(const char* source, bool (*feed)(XML_Parser, const void*), const void* input);

private:
    static void XMLCALL onStart(void* self, const XML_Char* element, const XML_Char** attributes);
    static void XMLCALL onEnd(void* self, const XML_Char* element);
    static void XMLCALL onText(void* self, const XML_Char* text, int length);

    void start(const std::string& element, const XML_Char** attributes);
    void end(const std::string& element);
    void startEffect(const XML_Char** attributes);
    void addKey(const XML_Char** attributes);
    void startCommand(const XML_Char** attributes);
    void flushText();

    ScriptTimeline& timeline;
    Effect* effect = nullptr;  // the effect whose element is open
    int skipDepth = 0;         // > 0 inside an effect of unknown type
    bool done = false;         // after the end of "script"
    bool capturing = false;
    std::string text;          // captured character data not yet applied
    std::string varName;
    long event = -1;           // index into the timeline's events
    long command = -1;         // index into that event's commands
};

void ScriptReader::read(const char* source, bool (*feed)(XML_Parser, const void*), const void* input)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr)
        return;
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    if (!feed(parser, input))
        effects::reportXmlError(parser, source);
    XML_ParserFree(parser);
    // A script cut off inside an effect still finishes that effect.
    flushText();
    if (effect != nullptr)
        effect->finishLoad();
}

void XMLCALL ScriptReader::onStart(void* self, const XML_Char* element, const XML_Char** attributes)
{
    ScriptReader& reader = *static_cast<ScriptReader*>(self);
    if (reader.done)
        return;
    if (reader.skipDepth > 0) {
        ++reader.skipDepth;
        return;
    }
    reader.flushText();
    reader.start(element, attributes);
}

void XMLCALL ScriptReader::onEnd(void* self, const XML_Char* element)
{
    ScriptReader& reader = *static_cast<ScriptReader*>(self);
    if (reader.done)
        return;
    if (reader.skipDepth > 0) {
        --reader.skipDepth;
        return;
    }
    reader.flushText();
    reader.end(element);
}

void XMLCALL ScriptReader::onText(void* self, const XML_Char* text, int length)
{
    ScriptReader& reader = *static_cast<ScriptReader*>(self);
    if (!reader.done && reader.skipDepth == 0 && reader.capturing)
        reader.text.append(text, static_cast<size_t>(length));
}

void ScriptReader::start(const std::string& element, const XML_Char** attributes)
{
    if (element == "effect") {
        startEffect(attributes);
    } else if (element == "rootkey") {
        capturing = true;
    } else if (element == "var") {
        const char* name = xmlAttribute(attributes, "name");
        varName = name != nullptr ? name : "";
    } else if (element == "interpkey") {
        addKey(attributes);
    } else if (element == "event") {
        timeline.events.push_back(ScriptEvent{ticksToBeats(xmlAttribute(attributes, "t")), {}});
        event = static_cast<long>(timeline.events.size()) - 1;
        command = -1; // a command belongs to the event it was written in
    } else if (element == "cmd") {
        startCommand(attributes);
    }
}

void ScriptReader::end(const std::string& element)
{
    if (element == "script") {
        done = true;
    } else if (element == "effect") {
        if (effect != nullptr)
            effect->finishLoad();
        effect = nullptr;
    } else if (element == "rootkey") {
        capturing = false;
    } else if (element == "var") {
        varName.clear();
    } else if (element == "event") {
        event = -1;
        command = -1;
    } else if (element == "cmd") {
        command = -1;
    }
}

void ScriptReader::startEffect(const XML_Char** attributes)
{
    const char* filename = xmlAttribute(attributes, "filename");
    const std::string type = filename != nullptr ? filename : "";
    std::unique_ptr<Effect> created = timeline.createEffect(type.c_str());
    if (!created) {
        // Nothing inside an unknown effect may land on another effect.
        skipDepth = 1;
        return;
    }
    created->start = ticksToBeats(xmlAttribute(attributes, "start"));
    created->end = ticksToBeats(xmlAttribute(attributes, "end"));
    effect = created.get();
    timeline.effects.push_back(std::move(created));
    timeline.effectTypes.push_back(type);
}

void ScriptReader::addKey(const XML_Char** attributes)
{
    EffectVar* var = effect != nullptr ? effect->findVar(varName) : nullptr;
    if (var == nullptr)
        return;
    VarKey key;
    key.type = keyTypeAttribute(attributes);
    const char* time = xmlAttribute(attributes, "time");
    key.time = time != nullptr ? barBeatTickToBeats(time) : 0.0f;
    const char* value = xmlAttribute(attributes, "value");
    const float written = value != nullptr ? static_cast<float>(std::atof(value)) : 0.0f;
    key.value = var->min + (var->max - var->min) * written;
    key.tension = tcbAttribute(attributes, "tension");
    key.bias = tcbAttribute(attributes, "bias");
    key.continuity = tcbAttribute(attributes, "continuity");
    effect->addKey(varName, key);
}

void ScriptReader::startCommand(const XML_Char** attributes)
{
    command = -1;
    if (event < 0)
        return;
    ScriptCommand added;
    added.command = commandAttribute(attributes);
    added.layer = intAttribute(attributes, "layer");
    added.instance = intAttribute(attributes, "instance");
    std::vector<ScriptCommand>& commands = timeline.events[static_cast<size_t>(event)].commands;
    commands.push_back(added);
    command = static_cast<long>(commands.size()) - 1;
    if (added.command == commandText)
        capturing = true;
}

// Captured text is applied once per run of character data, however the XML
// reader happens to split it (at line ends, at block boundaries): an
// assignment list is only ever applied whole.
void ScriptReader::flushText()
{
    if (text.size() >= 2) {
        if (effect != nullptr)
            effect->setParams(text.c_str());
        else if (event >= 0 && command >= 0)
            timeline.events[static_cast<size_t>(event)].commands[static_cast<size_t>(command)].text = text;
    }
    text.clear();
}

bool feedFile(XML_Parser parser, const void* file)
{
    return effects::feedXmlFile(parser, static_cast<std::FILE*>(const_cast<void*>(file)));
}

struct Bytes {
    const uint8_t* data;
    size_t size;
};

bool feedBytes(XML_Parser parser, const void* input)
{
    const Bytes& bytes = *static_cast<const Bytes*>(input);
    return effects::feedXmlBytes(parser, bytes.data, bytes.size);
}

} // namespace

bool readScriptFile(ScriptTimeline& timeline, const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot open script %s\n", path);
        return false;
    }
    ScriptReader(timeline).read(path, feedFile, file);
    std::fclose(file);
    return true;
}

void readScriptBytes(ScriptTimeline& timeline, const uint8_t* data, size_t size, const char* source)
{
    const Bytes bytes{data, size};
    ScriptReader(timeline).read(source, feedBytes, &bytes);
}
