// ScriptScene: the scene that plays the opening script. The effects the
// script creates get the scene's resource manager and the display size; the
// script plays on the scene's beat clock for as long as the show's timeline
// gives the opening (five beats short of the script's length).
//
// Owns the timeline (and through it the script's effects). The scene that
// follows it in the show is linked by the sequencer and kept, not used.
#pragma once

#include "core/Scene.h"
#include "effects/ScriptTimeline.h"

#include <memory>

class ScriptScene : public Scene {
public:
    // `path` is the script's file path (the sequencer resolves the data name).
    ScriptScene(const char* path, ResourceManager* resources);

    int update(float time) override;

    std::unique_ptr<ScriptTimeline> timeline;
    Scene* followingScene = nullptr;
};
