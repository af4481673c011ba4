// Demo: the top-level object of the show. It owns the resource manager, the
// music and the scene list; builds the scenes one loading stage at a time
// (the shell draws its loading display between stages); runs them one after
// another, each until it reports that it has finished or "a" skips it; keeps
// the scene clock in step with the music; forwards typed keys; and lays the
// key-effect accents and the letterbox bars over every frame.
//
// Stages 0 to 8 each build the scene of one row of the show's timeline (the
// table lives with the scenes and comes from the shell) and place it on the
// row's beats, so a row whose scene does not exist builds nothing and the
// list simply holds fewer scenes; stage 9 fetches "KeyEffects" and opens the
// music named by the key "mp3" of "demo.cfg". Loading counts its stages
// itself: a stage that built nothing must not stop the loading.
//
// Times come from one ShowClock (`clock`). Every frame of a scene is drawn
// by drawFrame(): the scene, the accents and the letterbox bars inside one
// GLStateScope, so the OpenGL state after a frame is the state before it,
// whichever scene drew it. Every call needs the context current, the
// destructor too.
#pragma once

#include "core/Scene.h"
#include "sequencer/MusicStream.h"
#include "sequencer/RunState.h"
#include "sequencer/ShowClock.h"
#include "sequencer/Timeline.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class ResourceManager;
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
    Demo(std::unique_ptr<ResourceManager> resources, Timeline timeline, SceneLinker links = nullptr);
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

    // Draws the frame for the frame-loop time `t` (clock.nextFrame()); 1
    // when the show is over (the last scene has finished on this frame, or
    // the list is empty: then nothing is drawn), else 0.
    int update(float t) override;

    // One frame of scene `index` at show time `showTime`, with the accents
    // at frame-loop time `frameTime` and the letterbox bars over it, the GL
    // state put back afterwards; the scene's answer (nonzero: finished).
    // The show, the benchmarks and the samples all draw through here.
    int drawFrame(int index, float showTime, float frameTime);

    // "a" skips the running scene at its next frame; every key also goes to
    // the key effects and the running scene.
    int onKey(int key, int x, int y) override;

    // Moving about the show while it plays (author mode). The next frame
    // shows `showTime` (kept inside the show) with the scene that plays
    // then, and the music jumps to the same place; the show goes on from
    // there, or stays there while paused.
    void seek(float showTime);
    // Holds the picture and the music together, and lets them go on.
    void setPaused(bool paused);
    bool paused() const { return pausedAtHeld; }
    // The show time of the next frame when a seek or a pause holds it,
    // otherwise that of the frame drawn last.
    float authorShowTime() const { return heldShowTime ? *heldShowTime : clock.lastShowTime; }
    // The scene that plays at `showTime`: the last one starting at or
    // before it, the first one before the show; -1 without scenes.
    int sceneAt(float showTime) const;
    // The timeline row's class of scene `index`; "" for no scene.
    const char* sceneName(int index) const;
    // The data names the scene of `stage` read while it was built and while
    // it drew (findFile's names); empty for a stage without a scene.
    const std::set<std::string>& stageFiles(int stage) const { return filesRead.at(static_cast<size_t>(stage)); }
    // The stage that built scene `index`; -1 for none.
    int stageOf(int index) const;
    // Builds the scene of `stage` again from its timeline row, with the same
    // run state, and puts it in the old one's place and links; the show
    // goes on at the same show time. False, keeping the old scene, when the
    // stage has no scene or its row builds nothing now.
    bool rebuildStage(int stage);

    // Drawn over every frame of drawFrame, after the letterbox bars, with
    // the frame's scene and show time; none unless set.
    std::function<void(int index, float showTime)> overlay;

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
    ShowClock clock;
    // What the scenes keep for the whole run; handed to every stage builder.
    RunState runState;

private:
    void buildStage(int stage);
    void openMusic();
    void startClocks();
    // Ends the running scene at `showClock`; true when it was the last.
    bool switchScene(float showClock, float sceneTime);
    // Seconds the show time runs ahead of the music: the switch t.
    float musicLead() const { return clock.offset - skippedStart; }

    std::unique_ptr<ResourceManager> ownedResources;
    Timeline timeline;
    SceneLinker links;
    int nextStage = 0;
    std::array<Scene*, sceneStageCount> stageScenes{};  // what each stage built
    std::array<std::set<std::string>, sceneStageCount> filesRead;  // see stageFiles()
    bool clockStarted = false;
    // skipTo could move the music to the start of the scene it skipped to.
    bool musicAtSceneStart = false;
    // The start of the scene skipTo moved to, which it added to the offset.
    float skippedStart = 0.0f;
    std::optional<float> heldShowTime;  // what seek() or a pause holds
    bool pausedAtHeld = false;
};
