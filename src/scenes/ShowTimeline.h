// The show's timeline: its nine scenes in the order they play, each with its
// class, the beat of the music it starts on, its length in beats and its
// builder, and the references some scenes keep to others. The shell hands
// both to the Demo; benchmarks, samples and tests build scenes from the same
// rows, so every scene is placed where the show places it.
#pragma once

#include "sequencer/Demo.h"

const Timeline& showTimeline();

// Builds the scene of row `stage` of the show's timeline and places it on
// the row's beats, as the Demo does; null when the scene cannot be had.
std::unique_ptr<Scene> buildShowScene(int stage, ResourceManager& resources, RunState& run);

// The opening keeps the abstract flowers; the links of the later scenes join
// as they arrive.
void linkShowScenes(const std::array<Scene*, sceneStageCount>& byStage);
