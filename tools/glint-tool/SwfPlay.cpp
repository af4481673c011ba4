// glint-tool swf-play: plays an SWF movie through swfScript the way a scene
// does, printing the movie's commands as they fire and the bound values
// after every update.
#include "glint-tool/ToolCommand.h"

#include "swf/swfScript.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Request {
    bool colour;
    int layer;
};

bool parseNumber(const std::string& text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool parseArguments(const tool::Args& args, std::string& file, std::vector<Request>& bindings,
                    std::vector<double>& times)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--colour" || arg == "--position") {
            double layer;
            if (i + 1 >= args.size() || !parseNumber(args[i + 1], layer) || layer < 0 || layer > 19 ||
                layer != static_cast<int>(layer))
                return false;
            bindings.push_back({arg == "--colour", static_cast<int>(layer)});
            ++i;
        } else if (file.empty()) {
            file = arg;
        } else {
            double t;
            if (!parseNumber(arg, t))
                return false;
            times.push_back(t);
        }
    }
    return !file.empty() && !times.empty();
}

// Every command name the movie uses gets a handler that prints the call.
void registerPrinters(swfScript& script)
{
    std::set<std::string> names;
    for (const swfFrame& frame : script.primary()->frames())
        for (const swfCommand& command : frame.commands)
            if (!command.arguments.empty())
                names.insert(command.arguments[0]);
    for (const std::string& name : names) {
        script.registerCommand(name, [](swfMovie&, const swfArguments& arguments) {
            std::printf("command");
            for (const std::string& argument : arguments)
                std::printf(" [%s]", argument.c_str());
            std::printf("\n");
            return 1;
        });
    }
}

int playSwf(const tool::Args& args)
{
    std::string file;
    std::vector<Request> requests;
    std::vector<double> times;
    if (!parseArguments(args, file, requests, times))
        return tool::usageError("swf-play");
    swfScript script(file.c_str());
    if (!script.primary()) {
        std::fprintf(stderr, "glint-tool swf-play: cannot read %s\n", file.c_str());
        return 1;
    }
    if (script.primary()->frames().empty())
        std::fprintf(stderr, "glint-tool swf-play: %s is not an uncompressed SWF file\n", file.c_str());
    registerPrinters(script);
    std::vector<float> values;
    values.reserve(requests.size() * 4);
    for (const Request& r : requests) {
        values.resize(values.size() + (r.colour ? 4 : 2), 0.0f);
        float* out = values.data() + values.size() - (r.colour ? 4 : 2);
        r.colour ? script.bindColour(r.layer, out) : script.bindPosition(r.layer, out);
    }
    for (double t : times) {
        script.update(t);
        std::printf("t=%g", t);
        for (float v : values)
            std::printf(" %g", v);
        std::printf("\n");
    }
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("swf-play",
                   "swf-play FILE [--colour LAYER]... [--position LAYER]... T... - play an SWF movie with "
                   "swfScript and print commands and bound values at each time T (in frames)",
                   playSwf);
