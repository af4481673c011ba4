#include "shell/ProgramOptions.h"

#include <cstring>

namespace shell {

namespace {

const char usageText[] =
    "usage: glint [--headless] [SWITCHES]\n"
    "       glint --help | --version\n"
    "\n"
    "Plays the show. SWITCHES are separated by \"/\", for example /w/s3/t12.5:\n"
    "  w    windowed instead of full screen\n"
    "  sN   start at scene N (0 is the first)\n"
    "  tX   time offset of X seconds\n"
    "  g    lower quality\n"
    "  r    seed the random generator with the time\n"
    "  m    capture the whole show into quillon.avi\n"
    "  fN   capture at N frames per second (default 20)\n"
    "  zN   screen size: 1 800x600, 2 1024x768, 3 1280x960, otherwise 640x480\n"
    "Without any switches the settings dialog asks (when there is a screen).\n"
    "\n"
    "Options:\n"
    "  --headless  render without a screen (EGL); chosen on its own when no\n"
    "              display can be opened. SIGINT or SIGTERM ends the show.\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

enum class Option { Help, Version, Headless, Unknown };

Option optionNamed(const char* argument)
{
    if (std::strcmp(argument, "--help") == 0)
        return Option::Help;
    if (std::strcmp(argument, "--version") == 0)
        return Option::Version;
    if (std::strcmp(argument, "--headless") == 0)
        return Option::Headless;
    return Option::Unknown;
}

} // namespace

OptionsOutcome parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options, std::FILE* out,
                                   std::FILE* err)
{
    options.commandLine.clear();
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strncmp(argument, "--", 2) != 0) {
            if (!options.commandLine.empty())
                options.commandLine += ' ';
            options.commandLine += argument;
            continue;
        }
        switch (optionNamed(argument)) {
        case Option::Help: std::fputs(usageText, out); return {false, 0};
        case Option::Version: std::fprintf(out, "glint %s\n", GLINT_VERSION); return {false, 0};
        case Option::Headless: options.headless = true; break;
        case Option::Unknown:
            std::fprintf(err, "glint: unknown option '%s'\n", argument);
            std::fputs(usageText, err);
            return {false, 2};
        }
    }
    return {true, 0};
}

} // namespace shell
