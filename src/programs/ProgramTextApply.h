// Sets compiled program texts as GL state through the NV layer's entry
// points, so that the calls are recorded when a display list is compiled.
#pragma once

#include "programs/CombinerProgram.h"
#include "programs/ConstantProgram.h"
#include "programs/TextureShaderProgram.h"

#include <vector>

namespace programs {

void applyConstantProgram(const std::vector<ConstantStatement>& statements);
// `perStageConstants`: whether the per-stage constant enable exists.
void applyCombinerSetup(const CombinerSetup& setup, bool perStageConstants);
// Leaves the active texture unit as it was.
void applyTextureShader(const TextureShaderState& stages);

} // namespace programs
