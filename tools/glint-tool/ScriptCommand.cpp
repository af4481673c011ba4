// glint-tool script FILE [--data DIR] [--var INSTANCE:NAME T...]: loads a
// script the way the opening scene does (on a headless GL context, with the
// effect descriptions and pictures of DIR) and prints what the timeline will
// do: its length, every effect with its parameters and vars, every event
// with its commands, and for each --var the values of that var at script
// times, one "T value" line each.
#include "effects/Effect.h"
#include "effects/EffectFactory.h"
#include "effects/ScriptTimeline.h"
#include "effects/SharedObjects.h"
#include "glint-tool/ToolCommand.h"
#include "platform/HeadlessContext.h"
#include "platform/HeadlessSurfaceProvider.h"
#include "resources/ResourceManager.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// One --var option: a var of an effect instance, read at script times.
struct VarQuery {
    int instance = -1;
    std::string name;
    std::vector<float> times;
};

struct ScriptOptions {
    std::string file;
    std::string dataDir = "data";
    std::vector<VarQuery> vars;
};

bool parseVarTarget(const std::string& text, VarQuery& query)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return false;
    char* end = nullptr;
    const long instance = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + colon || instance < 0 || instance > 1000000)
        return false;
    query.instance = static_cast<int>(instance);
    query.name = text.substr(colon + 1);
    return true;
}

bool parseOptions(const tool::Args& args, ScriptOptions& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data" && i + 1 < args.size()) {
            options.dataDir = args[++i];
        } else if (args[i] == "--var" && i + 1 < args.size()) {
            VarQuery query;
            if (!parseVarTarget(args[++i], query))
                return false;
            for (; i + 1 < args.size() && args[i + 1].compare(0, 2, "--") != 0; ++i) {
                char* end = nullptr;
                query.times.push_back(std::strtof(args[i + 1].c_str(), &end));
                if (end == args[i + 1].c_str() || *end != '\0')
                    return false;
            }
            if (query.times.empty())
                return false;
            options.vars.push_back(query);
        } else if (options.file.empty() && args[i].compare(0, 2, "--") != 0) {
            options.file = args[i];
        } else {
            return false;
        }
    }
    return !options.file.empty();
}

std::string paramText(const EffectParam& param)
{
    if (param.type == paramNone || param.type != param.storage)
        return "(no type)";
    char text[128];
    const auto* floats = static_cast<const float*>(param.target);
    switch (param.type) {
    case paramInt:
        return std::to_string(*static_cast<const int*>(param.target));
    case paramFloat:
        std::snprintf(text, sizeof text, "%g", floats[0]);
        return text;
    case paramArray3:
        std::snprintf(text, sizeof text, "%g,%g,%g", floats[0], floats[1], floats[2]);
        return text;
    case paramArray4:
        std::snprintf(text, sizeof text, "%g,%g,%g,%g", floats[0], floats[1], floats[2], floats[3]);
        return text;
    default:
        return "\"" + *static_cast<const std::string*>(param.target) + "\"";
    }
}

void printEffects(const ScriptTimeline& timeline)
{
    for (size_t i = 0; i < timeline.effects.size(); ++i) {
        const Effect& effect = *timeline.effects[i];
        std::printf("effect %zu %s start %g end %g\n", i, timeline.effectTypes[i].c_str(), effect.start,
                    effect.end);
        for (const auto& param : effect.params)
            std::printf("  %s = %s\n", param.first.c_str(), paramText(param.second).c_str());
        for (const auto& var : effect.vars)
            std::printf("  var %s = %g in [%g, %g], %zu keys\n", var.first.c_str(), var.second->value,
                        var.second->min, var.second->max, var.second->keys.size());
    }
}

void printEvents(const ScriptTimeline& timeline)
{
    for (const ScriptEvent& event : timeline.events) {
        std::printf("event %g\n", event.time);
        for (const ScriptCommand& command : event.commands) {
            switch (command.command) {
            case commandAdd:
                std::printf("  add layer %d instance %d\n", command.layer, command.instance);
                break;
            case commandRemove:
                std::printf("  remove layer %d\n", command.layer);
                break;
            case commandText:
                std::printf("  text instance %d \"%s\"\n", command.instance, command.text.c_str());
                break;
            default:
                std::printf("  unknown command\n");
                break;
            }
        }
    }
}

// The var as the timeline feeds it: at script time T the effect is at T - start.
bool printVar(const ScriptTimeline& timeline, const VarQuery& query)
{
    if (static_cast<size_t>(query.instance) >= timeline.effects.size()) {
        std::fprintf(stderr, "glint-tool: the script has no effect %d\n", query.instance);
        return false;
    }
    const Effect& effect = *timeline.effects[static_cast<size_t>(query.instance)];
    const EffectVar* var = effect.findVar(query.name);
    if (var == nullptr) {
        std::fprintf(stderr, "glint-tool: effect %d has no var %s\n", query.instance, query.name.c_str());
        return false;
    }
    for (float time : query.times)
        std::printf("%g %g\n", time, var->evaluate(time - effect.start));
    return true;
}

int runScript(const tool::Args& args)
{
    ScriptOptions options;
    if (!parseOptions(args, options))
        return tool::usageError("script");
    if (std::FILE* file = std::fopen(options.file.c_str(), "rb")) {
        std::fclose(file);
    } else {
        std::fprintf(stderr, "glint-tool: cannot open %s\n", options.file.c_str());
        return 1;
    }

    std::string error;
    const auto context = platform::HeadlessContext::create(640, 480, error);
    if (!context) {
        std::fprintf(stderr, "glint-tool: no GL context: %s\n", error.c_str());
        return 1;
    }
    // Effects such as the falling particles render through pbuffers.
    platform::HeadlessSurfaceProvider surfaces(*context);
    platform::setSurfaceProvider(&surfaces);
    ResourceManager resources(false, false);
    resources.dataDir = options.dataDir + "/";
    resources.screenWidth = 640;
    resources.screenHeight = 480;
    resources.setObjectFactory(createSharedObject);

    bool found = true;
    {
        const ScriptTimeline timeline(showEffectFactory({&resources, 640, 480}), options.file.c_str(), &resources);
        std::printf("length %g beats\n", timeline.length);
        printEffects(timeline);
        printEvents(timeline);
        for (const VarQuery& query : options.vars)
            found = printVar(timeline, query) && found;
        std::fflush(stdout);
    }
    return found ? 0 : 1;
}

} // namespace

GLINT_TOOL_COMMAND("script",
                   "script FILE [--data DIR] [--var INSTANCE:NAME T...] - show what a script's timeline does "
                   "(var values at script times T, in beats; --var may repeat)",
                   runScript);
