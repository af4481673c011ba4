// Scene: the base of every timed object of the show (the scenes of the list,
// the effects, the key-effect overlay, the warp grid). Times are seconds of
// show time as 32-bit floats; lengths and keys count beats of the music.
//
// A scene does not own its resource manager, and may have none (the loading
// ornament). Constructing a scene that has one refreshes the process-wide
// "KeyEffects" pointer the accent callbacks use.
//
// Writing a scene of the show:
// - Where: src/scenes/<scene>/, one folder per scene holding the scene
//   (NameScene.h/.cpp) and the objects only it uses; src/scenes/shared/ holds
//   what several scenes use (the ribbon geometry ControlPath.h,
//   RibbonSection.h, TrailRing.h, and VertexProgramFile.h).
// - What it may include: core/, resources/, swf/, effects/, sequencer/,
//   programs/, platform/ and scenes/, never shell/. Each layer's library sees
//   only the folders below it, so an include that points up fails the build.
// - Data: by data name through `resources`, never by path, so the pack file
//   serves the same names: readFile (texts; ".cfg" keys with kvFloat and
//   friends, resources/KeyValue.h), loadJpegTexture / loadPngTexture / jpegPixels
//   (resources/Pictures.h), Scene3DS(name, *resources) (core/Scene3DS.h),
//   loadScript (swf/swfScript.h). The files come from tools/datagen, one
//   source file per kind of product, each listed in its CMakeLists.txt.
// - Shared objects: resources->get(shared::name) with the typed keys of
//   effects/SharedKeys.h; a new shared object adds its key there and its row
//   to effects/SharedObjects.cpp.
// - Its stage: a row of showStages() and, if it keeps others, a line of
//   linkShowScenes() (scenes/ShowStages.cpp).
// - A frame: update(time) sets every GL state it relies on; 2-D passes use
//   setOrthoBox and drawQuad (core/ScreenQuad.h) on the virtual screen
//   (core/VirtualScreen.h); every draw goes through the nv:: entries of
//   programs/NvExtensions.h, or the emulated combiners are skipped (a test
//   scans for plain draws). Random draws: show::random, in a fixed order, at
//   construction.
// - Tests: tests/scenes/, on the GLTest fixture (tests/support/GLTest.h): a
//   headless context, a ResourceManager reading build/data with
//   setObjectFactory(createSharedObject), update(t), then pixels read back.
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
