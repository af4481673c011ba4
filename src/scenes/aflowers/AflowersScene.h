// AflowersScene: the abstract flowers. Ten petal flowers stand on a rising
// spiral around the axis of "aflowers.3ds" while sixteen ribbon strands
// follow the path of its object "Ribbon". Outside beats 8 to 20 the 3DS
// camera "Camera01" flies through and a soft warped copy of the frame is
// added over it; inside them a camera orbits the first flower and the
// picture "fear.jpg" is projected onto the petals from beside it. The scene
// fades in from black during its first beat and, in its last two, fades
// into the scene linked as `next` (the ribbon tunnel), which then plays the
// first two beats of its own clock into its copy target on every frame.
//
// Random draws at construction: the flowers' (two each, in order), then the
// ribbon strands' jitter. Owns its model, flowers, strands and picture;
// borrows the shared warp grid and copy target, and the next scene.
#pragma once

#include "core/GLObjects.h"
#include "core/Scene.h"
#include "core/Scene3DS.h"
#include "scenes/aflowers/PetalFlower.h"
#include "scenes/aflowers/RibbonArray.h"

#include <memory>
#include <vector>

class CopyScreen;
class KeyEffects;
class RibbonsScene;
class WarpGrid;

class AflowersScene : public Scene {
public:
    static constexpr int flowerCount = 10;
    static constexpr float orbitFrom = 8.0f;
    static constexpr float orbitTo = 20.0f;
    static constexpr float fadeBeats = 2.0f;

    explicit AflowersScene(ResourceManager* resources);

    // `time` is show time; 1 once the 34 beats have passed.
    int update(float time) override;

    // True when beat `b` uses the orbiting camera and the projected picture.
    static bool inOrbit(float b) { return b >= orbitFrom && b <= orbitTo; }

    RibbonsScene* next = nullptr;
    std::vector<std::unique_ptr<PetalFlower>> flowers;
    RibbonArray ribbons;

private:
    void loadPicture();
    void drawBackground() const;
    void drawFlowers(float flowerTime);
    // Sets the camera for beat `b`; returns the flowers' time base.
    float setCamera(float sceneTime, float b);
    void projectPicture(float b);
    void addWarpedCopy();
    void crossFade(float b);

    Scene3DS model;
    WarpGrid* warp = nullptr;
    CopyScreen* copy = nullptr;
    const KeyEffects* accents = nullptr;  // frames move under the bars while they shake or blur
    GLTexture picture;
    bool projecting = false;
    show::Mat4 lens;   // world to the projected picture's (s, t, _, q) while projecting
};
