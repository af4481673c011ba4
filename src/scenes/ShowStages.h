// The show's scenes in the order they play, one loading stage each, and the
// references some of them keep to others. The shell hands both to the Demo.
#pragma once

#include "sequencer/Demo.h"

// The show's own scenes, stage by stage; an empty row builds nothing.
StageTable showStages();

// The opening keeps the abstract flowers; the links of the later scenes join
// as they arrive.
void linkShowScenes(const std::array<Scene*, sceneStageCount>& byStage);
