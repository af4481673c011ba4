// The show's timeline as the Demo takes it: one row per loading stage that
// builds a scene, in the order the scenes play. A row names the scene's
// class, the beat of the music it starts on, its length in beats and the
// builder that makes it; the Demo places what the builder made there, so
// no scene writes a beat of the show itself. A row without a builder (or
// whose builder makes nothing) leaves its scene out of the list.
#pragma once

#include "core/Scene.h"
#include "sequencer/RunState.h"

#include <array>
#include <functional>
#include <memory>

class ResourceManager;

// Builds the scene of one row; null when the scene cannot be had. What the
// scene must keep across a second build comes from `run`.
using StageBuilder = std::function<std::unique_ptr<Scene>(ResourceManager& resources, RunState& run)>;

struct TimelineRow {
    const char* className = "";
    float startBeat = 0.0f;
    float lengthBeats = 0.0f;
    StageBuilder build;
};

constexpr int sceneStageCount = 9;        // stages 0 to 8 build scenes
constexpr int loadingStageCount = 10;     // stage 9 fetches the accents and the music
using Timeline = std::array<TimelineRow, sceneStageCount>;

// The beat on which the row after `row` starts.
inline float endBeat(const TimelineRow& row) { return row.startBeat + row.lengthBeats; }
