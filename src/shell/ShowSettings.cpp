#include "shell/ShowSettings.h"

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
// frame per second would stop or reverse the show's clock.
void applyCaptureFrameRate(int rate, ShowSettings& settings)
{
    if (rate < 1) {
        std::fprintf(stderr, "glint: ignoring capture frame rate %d (at least 1 frame per second)\n", rate);
        return;
    }
    settings.captureFrameRate = rate;
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
        case 't': settings.timeOffset = static_cast<float>(std::atof(argument)); break;
        case 'r': seedWithTime = true; break;
        case 'f': applyCaptureFrameRate(std::atoi(argument), settings); break;
        case 'z': applyScreenSize(std::atoi(argument), settings); break;
        default: break;
        }
    }
    return seedWithTime;
}

} // namespace shell
