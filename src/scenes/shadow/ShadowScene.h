// ShadowScene: the shadow room as a scene of the show, 49 beats long. The
// camera comes from "shadowscene.3ds" (played at 10 frames a second), chosen
// by the "setCamera" commands of "shadowscene.swf" (10 movie frames a second);
// the first beat fades in from black; the logo is pushed by a space press
// on each of the scene's beats 5, 13, 21 and 29.
//
// The camera name and the presses already made belong to the run, not to
// one scene object (ShadowRunState, from the run state): a scene built again
// carries on with them. Tests hand a record of their own.
#pragma once

#include "core/Scene.h"
#include "core/Scene3DS.h"
#include "scenes/shadow/ShadowRoom.h"
#include "swf/swfScript.h"

#include <array>
#include <memory>
#include <string>

struct ShadowRunState {
    std::string camera = "Camera01";
    std::array<bool, 4> pressed{};
};

class ShadowScene : public Scene {
public:
    // The scene's beats that push the logo, once per run each.
    static constexpr std::array<float, 4> pushBeats = {5.0f, 13.0f, 21.0f, 29.0f};

    ShadowScene(ResourceManager* resources, ShadowRunState& run);

    int update(float time) override;
    int onKey(int key, int x, int y) override;

    ShadowRunState& run;
    std::unique_ptr<ShadowRoom> room;
    std::unique_ptr<swfScript> script;
    std::unique_ptr<Scene3DS> cameras;

private:
    void pressScriptedKeys(float time);
};
