#include "shell/ShowSettings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace shell {

namespace {

void applyScreenSize(int choice, ShowSettings& settings)
{
    switch (choice) {
    case 1: settings.width = 800; settings.height = 600; break;
    case 2: settings.width = 1024; settings.height = 768; break;
    case 3: settings.width = 1280; settings.height = 960; break;
    default: settings.width = 640; settings.height = 480; break;
    }
}

// Capture time is the frame count divided by the rate, so a rate below one
// frame per second would stop or reverse the show's clock; above the top
// rate the video file's frame times stop increasing and the muxer refuses
// the frames while the show renders on into nothing.
void applyCaptureFrameRate(const char* text, ShowSettings& settings)
{
    char* end = nullptr;
    const long rate = std::strtol(text, &end, 10);
    if (end == text || rate < 1 || rate > maxCaptureFrameRate) {
        std::fprintf(stderr, "glint: ignoring capture frame rate %s (1 to %d frames per second)\n", text,
                     maxCaptureFrameRate);
        return;
    }
    settings.captureFrameRate = static_cast<int>(rate);
}

// A time offset that is not a number, or so far out that the show's float
// clock could no longer step by a frame, would run the show forever (and a
// capture with it) or end it at once.
void applyTimeOffset(const char* text, ShowSettings& settings)
{
    const double offset = std::atof(text);
    if (!std::isfinite(offset) || std::fabs(offset) > maxTimeOffset) {
        std::fprintf(stderr, "glint: ignoring time offset %s (at most %g seconds either way)\n", text,
                     maxTimeOffset);
        return;
    }
    settings.timeOffset = static_cast<float>(offset);
}

} // namespace

ShowSettings& showSettings()
{
    static ShowSettings settings;
    return settings;
}

bool applySwitches(const std::string& commandLine, ShowSettings& settings)
{
    bool seedWithTime = false;
    // strtok writes into the text it splits, so it gets its own copy.
    std::vector<char> text(commandLine.begin(), commandLine.end());
    text.push_back('\0');
    for (char* token = std::strtok(text.data(), "/"); token; token = std::strtok(nullptr, "/")) {
        const char* argument = token + 1;
        switch (token[0]) {
        case 'w': settings.fullScreen = false; break;
        case 'm': settings.captureAtStart = true; break;
        case 's': settings.startScene = std::atoi(argument); break;
        case 'g': settings.quality = false; break;
        case 't': applyTimeOffset(argument, settings); break;
        case 'r': seedWithTime = true; break;
        case 'f': applyCaptureFrameRate(argument, settings); break;
        case 'z': applyScreenSize(std::atoi(argument), settings); break;
        default: break;
        }
    }
    return seedWithTime;
}

} // namespace shell
