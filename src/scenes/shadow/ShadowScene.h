// ShadowScene: the shadow room as a scene of the show, 49 beats long. The
// camera comes from "shadowscene.3ds" (played at 10 frames a second), chosen
// by the "setCamera" commands of "shadowscene.swf" (10 movie frames a second);
// the first beat fades in from black; the logo is pushed by a space press
// on each of the global beats 173, 181, 189 and 197.
//
// The camera name and the presses already made belong to the run, not to
// one scene object: a scene built again carries on with them. Tests hand a
// run state of their own.
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
    // The beats (of the whole show) that push the logo, once per run each.
    static constexpr std::array<float, 4> pushBeats = {173.0f, 181.0f, 189.0f, 197.0f};

    explicit ShadowScene(ResourceManager* resources, ShadowRunState& run = processRunState());

    int update(float time) override;
    int onKey(int key, int x, int y) override;

    static ShadowRunState& processRunState();

    ShadowRunState& run;
    std::unique_ptr<ShadowRoom> room;
    std::unique_ptr<swfScript> script;
    std::unique_ptr<Scene3DS> cameras;

private:
    void pressScriptedKeys(float time);
};
