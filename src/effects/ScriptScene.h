// ScriptScene: the scene that plays the opening script. It publishes its
// resource manager and the display size for the effects the script creates,
// and plays the script on the scene's beat clock until five beats before the
// script's length.
//
// Owns the timeline (and through it the script's effects). The scene that
// follows it in the show is linked by the sequencer and kept, not used.
#pragma once

#include "effects/ScriptTimeline.h"
#include "sequencer/Scene.h"

#include <memory>

class ScriptScene : public Scene {
public:
    // `path` is the script's file path (the sequencer resolves the data name).
    ScriptScene(const char* path, ResourceManager* resources);

    int update(float time) override;

    std::unique_ptr<ScriptTimeline> timeline;
    Scene* followingScene = nullptr;
};
