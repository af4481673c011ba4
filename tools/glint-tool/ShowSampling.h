// The show sampled for glint-tool: one frame of every scene drawn on a
// headless 640 x 480 context with the data of a folder glint would run in
// (its data/ and, for pack runs, pmx.d with the compiled-in table), the
// show's own messages kept off standard output.
#pragma once

#include "shell/ShowSampler.h"

#include <filesystem>

namespace tool {

constexpr int sampleWidth = 640;
constexpr int sampleHeight = 480;
// A moment into each scene by which every scene shows something (the opening
// is still dark half a second in).
constexpr float sampleSceneTime = 1.5f;

// False, with a message on standard error, when there is no context.
bool sampleShowIn(const std::filesystem::path& folder, bool usePack, shell::ShowSample& sample);

} // namespace tool
