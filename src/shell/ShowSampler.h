// One frame of every scene of the show, drawn the way the benchmark draws
// them: the show's stages loaded into a Demo over a resource manager of the
// chosen source, then each scene rendered on its own at a time into it and
// the picture read back. It also reports what a pack run looked for in the
// data folder, so tools can list the files a pack run needs beside the pack
// and tests can hold a pack run to the data-folder run, frame for frame.
//
// Needs a current context whose screen is width x height and the working
// directory the show runs in (its "data/" and "pmx.d"). Seeds the C random
// generator with 1 first, as the show does, so two samples draw the same
// numbers.
#pragma once

#include <string>
#include <vector>

namespace shell {

struct ShowSample {
    // Per scene in show order: RGBA rows as glReadPixels gives them, bottom
    // row first, width x height.
    std::vector<std::vector<unsigned char>> frames;
    // Pack runs: every name the show looked for in the data folder (the
    // names the pack lacks and those it opens by path), in name order.
    std::vector<std::string> namesOutsideThePack;
};

// `sceneTime` seconds into each scene. With `usePack` the data comes from
// the pack file "pmx.d" and its compiled-in table.
ShowSample sampleShow(bool usePack, float sceneTime, int width, int height);

} // namespace shell
