// Demo: the top-level object of the show. It owns the resource manager, the
// music and the scene list; builds the scenes one loading stage at a time
// (the shell draws its loading display between stages); runs them one after
// another, each until it reports that it has finished or "a" skips it; keeps
// the scene clock in step with the music; forwards typed keys; and lays the
// key-effect accents and the letterbox bars over every frame.
//
// Stages 0 to 8 each build one scene through a table of stage builders (the
// show's own table lives with the scenes and comes from the shell), so a
// stage whose scene does not exist builds nothing and the list simply holds
// fewer scenes; stage 9 fetches "KeyEffects" and opens the music named by the
// key "mp3" of "demo.cfg". Loading counts its stages itself: a stage that
// built nothing must not stop the loading.
//
// update() saves the OpenGL current, lighting, enable, colour-buffer and
// texture attribute groups before a scene's first frame and restores them
// when it ends; the scene the last scene stage built (the show's closing
// scene) instead starts on the state its predecessor left, over a second
// saved copy. Every call needs the context current, the destructor too.
#pragma once

#include "core/Scene.h"
#include "sequencer/MusicStream.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ResourceManager;

// Builds the scene of one loading stage; null when the scene cannot be had.
using StageBuilder = std::function<std::unique_ptr<Scene>(ResourceManager& resources)>;
constexpr int sceneStageCount = 9;        // stages 0 to 8 build scenes
constexpr int loadingStageCount = 10;     // stage 9 fetches the accents and the music
using StageTable = std::array<StageBuilder, sceneStageCount>;
// Gives the scenes the references they keep to each other, once both ends
// exist; called after every stage that built a scene, with the scene each
// stage has built so far (or null).
using SceneLinker = std::function<void(const std::array<Scene*, sceneStageCount>& byStage)>;

// The music file of the show: the key "mp3" of "demo.cfg", resolved with
// findFile. Empty (after the manager's or a note's message) when the file or
// the key is missing.
std::string musicFilePath(const ResourceManager& resources);

class Demo : public Scene {
public:
    Demo(std::unique_ptr<ResourceManager> resources, StageTable stages, SceneLinker links = nullptr);
    ~Demo() override;
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // Runs the next loading stage; returns how many stages are still to come
    // (0 after the last, and for every call after that).
    int loadStage();

    // Starts the show at scene `index` instead of the first; called once,
    // after loading and before the first update. An index outside the list
    // changes nothing.
    void skipTo(int index);

    // Draws the frame for the frame-loop time `t`; 1 when the show is over
    // (the last scene has finished on this frame, or the list is empty:
    // then nothing is drawn), else 0.
    int update(float t) override;

    // "a" skips the running scene at its next frame; every key also goes to
    // the key effects and the running scene.
    int onKey(int key, int x, int y) override;

    // The key-effect accents and the letterbox bars, as every frame ends.
    void drawOverlays(float t);

    // Sum of the durations of the scenes built so far: the show's length.
    float accumulatedStart = 0.0f;
    std::vector<std::unique_ptr<Scene>> scenes;
    int current = 0;
    Scene* keyEffects = nullptr;            // registry-owned
    std::unique_ptr<MusicStream> music;     // made in the last stage, if musicPending
    // True until the first update has started the music. The shell clears it
    // before loading for runs without music (captured from the start).
    bool musicPending = true;
    bool skipRequested = false;
    // The scene clock follows the frame-loop time (frame count / frame rate)
    // instead of the performance counter.
    bool captureClock = false;
    // Seconds added to the scene clock; the shell sets it from the switch t,
    // skipTo adds the start of the scene it skips to.
    float timeOffset = -0.01f;
    // The time handed to the running scene at the last update: the show
    // time, which runs with the music.
    float lastSceneTime = 0.0f;

private:
    void buildStage(int stage);
    void openMusic();
    void startClocks();
    // Ends the running scene at clock value `clock`; true when it was the last.
    bool switchScene(float clock, float sceneTime);

    std::unique_ptr<ResourceManager> ownedResources;
    StageTable stages;
    SceneLinker links;
    int nextStage = 0;
    std::array<Scene*, sceneStageCount> stageScenes{};  // what each stage built
    int finalSceneSlot = -1;   // slot of the scene of the last scene stage
    int savedStates = 0;       // attribute groups pushed and not yet popped
    bool stateSavePending = true;
    float switchMark = 0.0f;
    // skipTo could move the music to the start of the scene it skipped to.
    bool musicAtSceneStart = false;
    uint64_t demoStartMark = 0;
    uint64_t counterFrequency = 1;
};
