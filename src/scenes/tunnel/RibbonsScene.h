// RibbonsScene: the ribbon tunnel. The camera of "ribbons.3ds" flies a long
// winding path; 100 ribbons circle that path in the camera's image plane and
// trail behind their heads, six words stand along the flight as layered
// glowing planes, and every frame is finished by adding a copy of itself
// drawn through the "PullWarp" grid. Lasts 30 beats after a pre-roll of two.
//
// The pre-roll is the part of the scene the abstract flowers play inside
// their closing cross-fade: while `driven` is set the caller's time is the
// scene's own clock and the finished frame is also left in the copy target
// "CopyScreen640x480" for the caller to compose; the first frame on its own
// then starts where the driven ones stopped. The trails grow by one section
// per rendered frame, so they depend on the frame rate.
//
// Random draws at construction: eight per ribbon in ribbon order, two spare
// ones, then the radius draws of the ribbons' paths. Owns its 3DS scene,
// ribbons and planes; borrows the shared warp grid, copy target and accents.
//
// The sequencer's letterbox bars cover the top and bottom twelfth of every
// frame and the warp reads none of those rows back, so the frame leaves them
// alone unless an accent will move pixels into view (or a driving scene
// composes the frame).
#pragma once

#include "core/Scene.h"
#include "core/Scene3DS.h"
#include "scenes/tunnel/TextPlane.h"
#include "scenes/tunnel/TrailRibbon.h"

#include <memory>
#include <vector>

class CopyScreen;
class KeyEffects;
class WarpGrid;

class RibbonsScene : public Scene {
public:
    static constexpr int ribbonCount = 100;
    static constexpr int pathPoints = 100;
    static constexpr float preRollBeats = 2.0f;

    explicit RibbonsScene(ResourceManager* resources);

    // `time` is show time, or the scene's own clock while driven; 1 once the
    // scene's 30 beats after the pre-roll have passed.
    int update(float time) override;

    float preRoll;
    bool driven = false;
    // Whether frames may leave the rows under the letterbox bars undrawn.
    bool skipRowsUnderBars = true;
    // The target the frame is copied into.
    CopyScreen* copy = nullptr;
    std::vector<TrailRibbon> ribbons;
    std::vector<std::unique_ptr<TextPlane>> planes;

private:
    void placePlanes();
    void buildPaths();
    void clearOrFade(float beat);
    void finishFrame(float localTime);
    void holdToRowsInView() const;

    Scene3DS model;
    WarpGrid* warp = nullptr;
    const KeyEffects* accents = nullptr;
};
