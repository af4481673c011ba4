// VolumeScene: the metaball cloud. Three moving metaballs are evaluated every
// frame into a 3-D texture and drawn as a glowing translucent cloud over a
// dark vertical gradient, for 48 beats. The scene's animation script
// "alphametaballs.swf" (two movie frames per beat) picks the camera with
// "setCamera" (five set-ups of its own or "Camera01" of "volume.3ds"), morphs
// the cloud into the shape of "k32b.jpg" with "doK", fires key-effect accents
// and fades the frame to black through the alpha of its layer 1. The first
// beat zooms and fades out the last frame of the scene before.
//
// The camera name and the morph belong to the script's commands and last
// for the whole run (VolumeDirection, from the run state). The scene owns its cloud, model
// and script; it borrows "CopyScreen640x480" from the registry.
#pragma once

#include "core/Scene.h"
#include "scenes/metaballs/MetaballCloud.h"
#include "scenes/metaballs/ReducedPass.h"

#include <memory>
#include <string>

class CopyScreen;
class Scene3DS;
class swfScript;

// What "setCamera" and "doK" set, one for the run.
struct VolumeDirection {
    std::string camera = "Camera01";
    VolumeMorph morph;
};

class VolumeScene : public Scene {
public:
    VolumeScene(ResourceManager* resources, VolumeDirection& direction);
    ~VolumeScene() override;

    int update(float time) override;
    // The cloud's debug tuning keys.
    int onKey(int key, int x, int y) override;

    std::unique_ptr<MetaballCloud> cloud;
    // Layer 1 of the script; its alpha darkens the finished frame.
    float fadeColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};

private:
    void drawBackground() const;
    void placeCamera(float tau) const;
    void drawFade() const;
    void drawEntry(float beat);

    VolumeDirection& direction;
    std::unique_ptr<Scene3DS> model;
    std::unique_ptr<swfScript> script;
    CopyScreen* previousFrame = nullptr;
    // The cloud has no fine detail: it is drawn at a quarter of the width
    // and height, a sixteenth of the fill.
    ReducedPass reduced{4};
    bool entered = false;
};
