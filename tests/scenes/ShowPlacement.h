// Scenes a test builds itself get the length their row of the show's
// timeline gives them, starting at show time 0 unless the test says where.
#pragma once

#include "scenes/ShowTimeline.h"

inline void placeAsInShow(Scene& scene, int stage, float startBeat = 0.0f)
{
    scene.place(startBeat, showTimeline()[static_cast<size_t>(stage)].lengthBeats);
}
