// The program's Linux options (--codec, --shot, --bench and the rest):
// arguments are the input split at line feeds. Any of them must parse
// without fault into options the run can use, or be refused.
#include "shell/ProgramOptions.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::FILE* sink = std::fopen("/dev/null", "w");
    std::vector<std::string> arguments{"glint"};
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            arguments.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    arguments.push_back(current);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());

    shell::ProgramOptions options;
    const shell::OptionsOutcome outcome =
        shell::parseProgramOptions(static_cast<int>(argv.size()), argv.data(), options, sink, sink);
    if (!outcome.run)
        return 0;
    if (options.benchFrames < 0 || (options.benchFrames > 0 && !options.shots.empty()))
        std::abort();
    for (const shell::ShotRequest& shot : options.shots)
        if (!std::isfinite(shot.seconds) || shot.seconds < 0.0 || shot.file.empty())
            std::abort();
    return 0;
}
