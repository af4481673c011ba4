// FlowersScene: the flower field. The procedural flower opens and closes
// with layer 1 of "flowers.swf"; after the eighth second forty vines spiral
// out around it. Two views of "flowers.3ds", each from the camera its slot
// names, are rendered into two screen copies and cross-faded by the alphas
// of layers 2 and 3 over a vertical gradient from "flower.cfg". The script
// chooses the cameras ("setCamera,SLOT,NAME") and fires the key-effect
// accents; "r" rewinds it. The first two beats fade in from black.
//
// The scene owns its flower, vines, 3DS scene and script; the screen copies
// are borrowed from the registry.
#pragma once

#include "core/Scene.h"
#include "core/Scene3DS.h"
#include "scenes/flowers/Flower.h"
#include "scenes/flowers/Vine.h"
#include "swf/swfScript.h"

#include <memory>
#include <string>
#include <vector>

class CopyScreen;
class KeyEffects;

class FlowersScene : public Scene {
public:
    static constexpr int vineCount = 40;

    explicit FlowersScene(ResourceManager* resources);

    int update(float time) override;
    int onKey(int key, int x, int y) override;

    // The "setCamera" command: slot 0 or 1, then the camera's name. Anything
    // else changes nothing.
    int setCamera(const swfArguments& arguments);
    // Draws view 0 or 1 for local time `local` into its screen copy; a slot
    // naming no camera of the file leaves the copy cleared.
    void renderView(int view, float local);

    float viewOpacity(int view) const { return view == 0 ? view0Colour[3] : view1Colour[3]; }

    Scene3DS field;
    std::unique_ptr<swfScript> script;
    Flower flower;
    std::vector<std::unique_ptr<Vine>> vines;
    std::string cameraNames[2];
    float openingPoint[2] = {0.0f, 0.0f};
    float view0Colour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    float view1Colour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    float gradientStart[3] = {0.05f, 0.0f, 0.15f};
    float gradientEnd[3] = {0.4f, 0.1f, 0.3f};

    // Lays the gradient down and adds each view's copy by its opacity;
    // fades in from black during the first two beats.
    void compose(float beat);

private:
    void readGradient();
    // The gradient over the unit box (0, 0 at the top left), with unit 0's
    // coordinates running over (0 .. s, 0 .. t) of a copy.
    void drawGradient(float s, float t) const;

    CopyScreen* viewCopies[2] = {nullptr, nullptr};
    const KeyEffects* accents = nullptr;  // frames move under the bars while they shake or blur
};
