// Scene: the base of every timed object of the show (the scenes of the list,
// the effects, the key-effect overlay, the warp grid). Times are seconds of
// show time as 32-bit floats; lengths and keys count beats of the music.
//
// A scene does not own its resource manager, and may have none (the loading
// ornament). Constructing a scene that has one refreshes the process-wide
// "KeyEffects" pointer the accent callbacks use.
#pragma once

#include "resources/SharedKey.h"

class ResourceManager;

class Scene {
public:
    explicit Scene(ResourceManager* resources);
    virtual ~Scene() = default;

    // Draws the object for `time`; nonzero means finished.
    virtual int update(float time) = 0;
    // Brings the simulation up to `time` without drawing.
    virtual int advance(float time);
    // A typed character; the sequencer passes 0, 0 for the coordinates.
    virtual int onKey(int key, int x, int y);
    virtual int reserved();

    // Beats since the scene's time 0 at `tempo`, never negative.
    float beatAt(float time) const;
    // Seconds that `beats` beats take at `tempo`.
    float timeOfBeat(float beats) const;

    ResourceManager* resources;
    float duration = 0.0f;
    float start = 0.0f;
    float tempo = 108.0f;
};

// The key-effect overlay is registered as the Scene it is, under this key.
constexpr SharedKey<Scene> keyEffectsKey{"KeyEffects"};

// The "KeyEffects" object as the latest scene construction found it in its
// resource manager; null while there is none. Not owned: the manager that
// registered it deletes it, and whoever deletes that manager forgets it here.
Scene* currentKeyEffects();
void setCurrentKeyEffects(Scene* keyEffects);
