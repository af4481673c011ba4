// glint-tool swf-build: makes an SWF movie from an animation description
// (layers with colour and position keys, commands on frames).
#include "glint-tool/ToolCommand.h"

#include "swfwriter/SwfAnimation.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int buildSwf(const tool::Args& args)
{
    if (args.size() != 2)
        return tool::usageError("swf-build");
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "glint-tool swf-build: cannot read %s\n", args[0].c_str());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    swfwriter::Animation animation;
    std::string error;
    if (!swfwriter::parseAnimation(text, animation, error)) {
        std::fprintf(stderr, "glint-tool swf-build: %s: %s\n", args[0].c_str(), error.c_str());
        return 1;
    }
    std::vector<uint8_t> movie = swfwriter::writeAnimation(animation);
    std::ofstream out(args[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
    if (!out) {
        std::fprintf(stderr, "glint-tool swf-build: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("swf-build", "swf-build DESCRIPTION OUT - make an SWF movie from an animation description",
                   buildSwf);
