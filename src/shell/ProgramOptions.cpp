#include "shell/ProgramOptions.h"

#include "shell/AuthorKeys.h"
#include "shell/VideoCapture.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace shell {

namespace {

constexpr int defaultBenchFrames = 100;

const char usageText[] =
    "usage: glint [--headless] [--pack] [--author] [--codec NAME] [--shot SECONDS:FILE.png]... [SWITCHES]\n"
    "       glint --bench[=N] [SWITCHES]\n"
    "       glint --help | --version\n"
    "\n"
    "Plays the show. SWITCHES are separated by \"/\", for example /w/s3/t12.5:\n"
    "  w    windowed instead of full screen\n"
    "  sN   start at scene N (0 is the first)\n"
    "  tX   time offset of X seconds\n"
    "  g    lower quality\n"
    "  r    seed the random generator with the time\n"
    "  m    capture the whole show into quillon.avi (.mp4 with --codec h264)\n"
    "  fN   capture at N frames per second (default 20)\n"
    "  zN   screen size: 1 800x600, 2 1024x768, 3 1280x960, otherwise 640x480\n"
    "Without any switches the settings dialog asks (when there is a screen).\n"
    "\n"
    "Options:\n"
    "  --headless  render without a screen (EGL); chosen on its own when no\n"
    "              display can be opened. SIGINT or SIGTERM ends the show.\n"
    "  --pack      read the data from the pack file pmx.d and its built-in\n"
    "              table instead of the data/ folder\n"
    "  --author    author mode: reload the data folder's files when they\n"
    "              change, and these keys (virtual keys the show leaves free):\n"
    "%s"
    "  --codec NAME\n"
    "              video codec of captures: mjpeg (default), ffv1 (lossless),\n"
    "              rawvideo, or h264 (quillon.mp4 with AAC sound, which plays\n"
    "              in browsers and on phones)\n"
    "  --shot SECONDS:FILE.png\n"
    "              run on the capture clock without a video, save the first\n"
    "              frame whose show time reaches SECONDS as a PNG picture and\n"
    "              end after the last one; may be given several times. With\n"
    "              s and t the show time counts from that point of the show.\n"
    "  --bench[=N] render every scene headless for N frames (default 100)\n"
    "              from each of five moments of its length on the capture\n"
    "              clock and print the milliseconds per frame (the median\n"
    "              at each moment, the median and 95th percentile of all)\n"
    "              and the loading times\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n";

enum class Option { Help, Version, Headless, Pack, Author, Codec, Shot, Bench, Unknown };

// The option's name is the argument up to an "=", which starts its value.
Option optionNamed(const std::string& name)
{
    if (name == "--help")
        return Option::Help;
    if (name == "--version")
        return Option::Version;
    if (name == "--headless")
        return Option::Headless;
    if (name == "--pack")
        return Option::Pack;
    if (name == "--author")
        return Option::Author;
    if (name == "--codec")
        return Option::Codec;
    if (name == "--shot")
        return Option::Shot;
    if (name == "--bench")
        return Option::Bench;
    return Option::Unknown;
}

bool takesValue(Option option) { return option == Option::Codec || option == Option::Shot || option == Option::Bench; }

bool knownCodec(const std::string& name)
{
    for (const std::string& known : captureCodecNames())
        if (name == known)
            return true;
    return false;
}

std::string codecList()
{
    std::string list;
    for (const std::string& name : captureCodecNames())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

// A whole positive decimal number of frames, or 0.
int frameCount(const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const long frames = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || frames < 1 || frames > INT_MAX)
        return 0;
    return static_cast<int>(frames);
}

// Applies an option that carries a value; false with `error` when the
// value is not one the option takes.
bool applyValue(Option option, const std::string& value, ProgramOptions& options, std::string& error)
{
    switch (option) {
    case Option::Codec:
        if (!knownCodec(value)) {
            error = "unknown codec '" + value + "' (valid codecs: " + codecList() + ")";
            return false;
        }
        options.codec = value;
        return true;
    case Option::Shot: {
        ShotRequest shot;
        std::string why;
        if (!parseShotRequest(value, shot, why)) {
            error = "bad --shot '" + value + "': " + why;
            return false;
        }
        options.shots.push_back(shot);
        return true;
    }
    case Option::Bench:
        options.benchFrames = frameCount(value);
        if (options.benchFrames == 0)
            error = "bad --bench '" + value + "': expected a number of frames, 1 or more";
        return options.benchFrames != 0;
    default: return true;
    }
}

void printUsage(std::FILE* to) { std::fprintf(to, usageText, authorKeysHelp); }

OptionsOutcome usageError(const std::string& message, std::FILE* err)
{
    std::fprintf(err, "glint: %s\n", message.c_str());
    printUsage(err);
    return {false, 2};
}

} // namespace

OptionsOutcome parseProgramOptions(int argc, const char* const* argv, ProgramOptions& options, std::FILE* out,
                                   std::FILE* err)
{
    options = ProgramOptions{};
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, 2, "--") != 0) {
            if (!options.commandLine.empty())
                options.commandLine += ' ';
            options.commandLine += argument;
            continue;
        }
        const size_t equals = argument.find('=');
        const Option option = optionNamed(argument.substr(0, equals));
        if (option == Option::Unknown || (equals != std::string::npos && !takesValue(option)))
            return usageError("unknown option '" + argument + "'", err);
        switch (option) {
        case Option::Help: printUsage(out); return {false, 0};
        case Option::Version: std::fprintf(out, "glint %s\n", GLINT_VERSION); return {false, 0};
        case Option::Headless: options.headless = true; continue;
        case Option::Pack: options.pack = true; continue;
        case Option::Author: options.author = true; continue;
        default: break;
        }
        std::string value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (option == Option::Bench)
            value = std::to_string(defaultBenchFrames);
        else if (i + 1 < argc)
            value = argv[++i];
        else
            return usageError("option '" + argument + "' needs a value", err);
        std::string error;
        if (!applyValue(option, value, options, error))
            return usageError(error, err);
    }
    if (options.benchFrames > 0 && !options.shots.empty())
        return usageError("--bench and --shot do not go together", err);
    return {true, 0};
}

} // namespace shell
