#include "effects/ScriptPlayer.h"

#include "resources/ResourceManager.h"

#include <cstdio>

namespace {

// How many nested scripts are being loaded right now.
int loadingDepth = 0;

VarKey linearKey(float time, float value)
{
    VarKey key;
    key.type = keyLinear;
    key.time = time;
    key.value = value;
    return key;
}

} // namespace

ScriptPlayer::ScriptPlayer(ResourceManager* resources, EffectFactory factory)
    : Effect(resources), factory(factory)
{
    registerParam("filename", &filename);
    loadDescription(resources, "scriptplayer.xml");
    t = &lookUpVar("t");
}

// Scripts name their nested scripts by path under "data/": the rest of the
// path is the data file, which either data source serves. A path elsewhere
// is read as it stands.
std::unique_ptr<ScriptTimeline> ScriptPlayer::loadNestedScript() const
{
    static const std::string dataPrefix = "data/";
    if (resources != nullptr && resources->useDataPrefix && filename.compare(0, dataPrefix.size(), dataPrefix) == 0) {
        const FileBytes bytes = resources->readBytes(filename.c_str() + dataPrefix.size(), "cannot find %s\n");
        return std::make_unique<ScriptTimeline>(factory, reinterpret_cast<const uint8_t*>(bytes.data.get()),
                                                static_cast<size_t>(bytes.size), resources, filename.c_str());
    }
    return std::make_unique<ScriptTimeline>(factory, filename.c_str(), resources);
}

void ScriptPlayer::finishLoad()
{
    if (loadingDepth >= maxNesting) {
        std::fprintf(stderr, "ScriptPlayer: scripts nested more than %d deep, %s not played\n", maxNesting,
                     filename.c_str());
    } else {
        ++loadingDepth;
        nested = loadNestedScript();
        --loadingDepth;
        if (t->keys.empty()) {
            // Keyed values, not mapped into the var's range: 0 to 1 is the
            // whole nested script.
            t->keys.push_back(linearKey(0.0f, 0.0f));
            t->keys.push_back(linearKey(nested->lastEventTime(), 1.0f));
        }
    }
    prepareKeys();
}

float ScriptPlayer::nestedTime(float localTime) const
{
    return t->evaluate(localTime) * nested->lastEventTime();
}

int ScriptPlayer::advance(float localTime)
{
    return nested ? nested->advance(nestedTime(localTime)) : 0;
}

int ScriptPlayer::update(float localTime)
{
    return nested ? nested->update(nestedTime(localTime)) : 0;
}
