#include "glint-tool/ShowSampling.h"

#include "platform/HeadlessContext.h"
#include "platform/HeadlessSurfaceProvider.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace tool {

namespace {

// Runs `work` with standard output sent to /dev/null.
template <typename Work>
void withoutStandardOutput(Work work)
{
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    FILE* sink = std::fopen("/dev/null", "w");
    if (sink)
        dup2(fileno(sink), STDOUT_FILENO);
    work();
    std::fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    if (sink)
        std::fclose(sink);
}

} // namespace

bool sampleShowIn(const std::filesystem::path& folder, bool usePack, shell::ShowSample& sample)
{
    std::string error;
    const auto context = platform::HeadlessContext::create(sampleWidth, sampleHeight, error);
    if (!context) {
        std::fprintf(stderr, "glint-tool: no GL context: %s\n", error.c_str());
        return false;
    }
    // Scenes and effects render through pbuffers.
    platform::HeadlessSurfaceProvider surfaces(*context);
    platform::setSurfaceProvider(&surfaces);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    withoutStandardOutput([&] { sample = shell::sampleShow(usePack, sampleSceneTime, sampleWidth, sampleHeight); });
    std::filesystem::current_path(before);
    platform::setSurfaceProvider(nullptr);
    return true;
}

} // namespace tool
