// The loading display: between the loading stages the shell draws a petal
// flower ornament that grows two rings per stage and slowly opens and
// turns. Each frame builds a fresh ornament, which draws two random numbers:
// part of the sequence every run repeats.
#pragma once

namespace shell {

// Draws and presents one loading frame for `progress` (the stage number plus
// a tenth per frame drawn after it). Leaves depth testing on and blending
// off, and the projection and model-view of the ornament.
void drawLoadingFrame(float progress);

} // namespace shell
