// Scene: the base of every timed object of the show (the scenes of the list,
// the effects, the key-effect overlay, the warp grid). Times are seconds of
// show time as 32-bit floats; lengths and keys count beats of the music.
//
// A scene does not own its resource manager, and may have none (the loading
// ornament). Constructing a scene that has one makes sure the manager holds
// the "KeyEffects" object, so the accents exist before any scene draws.
//
// Time inside a scene: update() gets show time; localTime() and localBeat()
// turn it into the scene's own seconds and beats, counted from `start`. The
// show's timeline places each scene (place(): start and length in beats);
// a scene never writes a beat of the show.
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
// - Its place: a row of showTimeline() (class, start beat, length in beats,
//   builder) and, if it keeps others, a line of linkShowScenes()
//   (scenes/ShowTimeline.cpp). What must outlive one scene object (a scene
//   built twice carries on with it) lives in the run state the builder gets.
// - A frame: update(time) sets every GL state it relies on; 2-D passes use
//   setOrthoBox and drawQuad (core/ScreenQuad.h) on the virtual screen
//   (core/VirtualScreen.h); every draw goes through the nv:: entries of
//   programs/NvExtensions.h, or the emulated combiners are skipped (a test
//   scans for plain draws). Random draws: show::random, in a fixed order, at
//   construction.
// - Tests: tests/scenes/<scene>/, on SceneFixture (tests/scenes/SceneFixture.h):
//   the scene built from its timeline row over the built data (or a folder of
//   the test's own), played at seconds or beats from its start, then pixels
//   read back. Sample where behaviour changes (a fade's middle, a window's
//   edge), so the test fails when the line it guards changes.
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

    // Seconds since the scene's start for the show time `time`; negative
    // before the start.
    float localTime(float time) const { return time - start; }
    // Beats since the scene's start for the show time `time`, never negative.
    float localBeat(float time) const { return beatAt(localTime(time)); }

    // Puts the scene on the show's timeline: it starts on beat `startBeat`
    // of the music and lasts `beats` beats.
    void place(float startBeat, float beats);

    ResourceManager* resources;
    float duration = 0.0f;
    float start = 0.0f;
    float tempo = 108.0f;
    // The length in beats as the timeline gives it (duration in seconds
    // rounds it).
    float lengthBeats = 0.0f;
};

// The key-effect overlay is registered as the Scene it is, under this key.
constexpr SharedKey<Scene> keyEffectsKey{"KeyEffects"};
