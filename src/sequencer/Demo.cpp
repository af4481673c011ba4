#include "sequencer/Demo.h"

#include "core/GLStateScope.h"
#include "core/PlainColour.h"
#include "core/ScreenQuad.h"
#include "core/VirtualScreen.h"
#include "effects/SharedKeys.h"
#include "resources/KeyValue.h"
#include "resources/ResourceManager.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

// How long the first frame waits for music that was moved to a later scene
// to really play; a stream that never moves (no device data) must not hold
// the show.
constexpr double musicStartTimeoutMs = 500.0;

// Black bars over the top and bottom twelfth of the screen, whatever its
// size. Whatever the scene left switched on (lighting, textures, depth test,
// culling of the clockwise top bar, programs, the emulated combiners) must
// not colour them, so those are switched off for the bars alone.
void drawLetterbox()
{
    constexpr float w = virtualScreenWidth, h = virtualScreenHeight, bar = letterboxBarHeight;
    setOrthoBox(0, w, 0, h, 0, 1);
    glDisable(GL_BLEND);
    glColor4f(0, 0, 0, 1);

    const PlainColour plain;
    drawQuads({{0, 0, w, bar}, {0, h, w, h - bar}});
}

} // namespace

std::string musicFilePath(const ResourceManager& resources)
{
    std::unique_ptr<char[]> config = resources.readFile("demo.cfg");
    if (!config)
        return {};
    std::unique_ptr<char[]> name = kvString(config.get(), "mp3");
    if (!name) {
        std::fprintf(stderr, "music: demo.cfg names no \"mp3\" file\n");
        return {};
    }
    char path[ResourceManager::pathSize];
    if (!resources.findFile(name.get(), path))
        return {};
    return path;
}

Demo::Demo(std::unique_ptr<ResourceManager> resources, Timeline timeline, SceneLinker links)
    : Scene(resources.get()), ownedResources(std::move(resources)), timeline(std::move(timeline)),
      links(std::move(links))
{
}

Demo::~Demo()
{
    // The scenes go before the manager: they may still use the objects it
    // lends them (render targets, filters, the key effects) on their way out.
    for (std::unique_ptr<Scene>& scene : scenes)
        scene.reset();
    ownedResources.reset();
    music.reset();
}

int Demo::loadStage()
{
    if (nextStage < sceneStageCount)
        buildStage(nextStage);
    else if (nextStage == sceneStageCount) {
        keyEffects = ownedResources->get(shared::keyEffects);
        openMusic();
    }
    nextStage = std::min(nextStage + 1, loadingStageCount);
    return loadingStageCount - nextStage;
}

void Demo::buildStage(int stage)
{
    const TimelineRow& row = timeline[stage];
    if (!row.build)
        return;
    ownedResources->forgetNamesRead();
    std::unique_ptr<Scene> scene = row.build(*ownedResources, runState);
    if (!scene)
        return;
    filesRead[stage] = ownedResources->namesRead();
    scene->place(row.startBeat, row.lengthBeats);
    accumulatedStart = std::max(accumulatedStart, scene->start + scene->duration);
    stageScenes[stage] = scene.get();
    scenes.push_back(std::move(scene));
    if (links)
        links(stageScenes);
}

void Demo::openMusic()
{
    if (!musicPending)
        return;
    music = std::make_unique<MusicStream>();
    const std::string path = musicFilePath(*ownedResources);
    if (path.empty() || !music->open(path))
        return;
    // A music file cut short leaves the scenes after its end to play in
    // silence (and a start at one of them to the show's own clock).
    if (music->lengthSeconds() < accumulatedStart)
        std::fprintf(stderr, "music: %s lasts %.1f s, the show %.1f s: the rest of the show is silent\n",
                     path.c_str(), music->lengthSeconds(), accumulatedStart);
}

void Demo::skipTo(int index)
{
    if (index < 0 || index >= static_cast<int>(scenes.size()))
        return;
    current = index;
    const float sceneStart = scenes[index]->start;
    if (musicPending) {
        musicAtSceneStart = music && music->setPositionMs(static_cast<int>(sceneStart * 1000));
    } else {
        // No music in this run: the scene clock starts where the music
        // would have been.
        clock.switchMark = sceneStart;
    }
    clock.offset += sceneStart;
    skippedStart = sceneStart;
}

void Demo::startClocks()
{
    if (music)
        music->unpause();
    clock.startCounter();
    if (current != 0) {
        // The music was moved to the scene's start; the scene clock takes
        // its position once it really plays, or, when it cannot play or
        // ends before that start, the position it was sent to.
        const bool playing = musicAtSceneStart && music->waitForRawPositionChange(musicStartTimeoutMs);
        clock.switchMark = playing ? music->positionSeconds() : scenes[current]->start;
    }
    musicPending = false;
}

int Demo::update(float t)
{
    if (current >= static_cast<int>(scenes.size()))
        return 1;
    if (!clockStarted) {
        clock.startCounter();
        clockStarted = true;
    }
    if (musicPending)
        startClocks();

    const float showClock = clock.clockAt(t);
    if (heldShowTime) {
        current = sceneAt(*heldShowTime);
        clock.jumpTo(showClock, scenes[current]->start, *heldShowTime);
        skipRequested = false;
        if (!pausedAtHeld)
            heldShowTime.reset();
    }
    const float sceneTime = clock.showTime(showClock, scenes[current]->start);
    clock.lastShowTime = sceneTime;
    ownedResources->forgetNamesRead();
    const int finished = drawFrame(current, sceneTime, t);
    // Scenes may read files when they first draw, too.
    if (const int stage = stageOf(current); stage >= 0)
        filesRead[stage].insert(ownedResources->namesRead().begin(), ownedResources->namesRead().end());
    return (finished || skipRequested) && switchScene(showClock, sceneTime) ? 1 : 0;
}

int Demo::drawFrame(int index, float showTime, float frameTime)
{
    const GLStateScope frameState;
    const int finished = scenes.at(static_cast<size_t>(index))->update(showTime);
    // The frame that ends the show is presented (and captured) too, so it
    // gets its accents and bars like every other.
    if (keyEffects)
        keyEffects->update(frameTime);
    drawLetterbox();
    if (overlay)
        overlay(index, showTime);
    return finished;
}

bool Demo::switchScene(float showClock, float sceneTime)
{
    current += 1;
    if (current >= static_cast<int>(scenes.size()))
        return true;
    // The next scene carries on with the show time where this one ended, so
    // it stays in step with the music. Entered before its start (this scene
    // was skipped), it begins at its own beginning instead of waiting for
    // the show time to reach it.
    const float nextStart = scenes[current]->start;
    clock.jumpTo(showClock, nextStart, std::max(sceneTime, nextStart));
    skipRequested = false;
    std::printf("new scene start - %d\n", current);
    return false;
}

int Demo::onKey(int key, int x, int y)
{
    if (key == 'a')
        skipRequested = true;
    if (keyEffects)
        keyEffects->onKey(key, x, y);
    if (current < static_cast<int>(scenes.size()))
        scenes[current]->onKey(key, x, y);
    return 0;
}

void Demo::seek(float showTime)
{
    if (scenes.empty())
        return;
    // Not past the last scene's end: there the show would be over.
    const Scene& last = *scenes.back();
    const float end = last.start + last.duration - 0.001f;
    const float target = std::clamp(showTime, scenes.front()->start, std::max(end, last.start));
    heldShowTime = target;
    if (music)
        music->setPositionMs(static_cast<int>((target - musicLead()) * 1000.0f));
}

void Demo::setPaused(bool paused)
{
    if (paused == pausedAtHeld)
        return;
    // Picture and music stop, or go on, at the same place.
    seek(authorShowTime());
    if (music && paused)
        music->pause();
    else if (music)
        music->unpause();
    pausedAtHeld = paused;
}

int Demo::sceneAt(float showTime) const
{
    if (scenes.empty())
        return -1;
    int index = 0;
    for (size_t i = 1; i < scenes.size(); ++i)
        if (scenes[i]->start <= showTime)
            index = static_cast<int>(i);
    return index;
}

int Demo::stageOf(int index) const
{
    if (index < 0 || index >= static_cast<int>(scenes.size()))
        return -1;
    for (int stage = 0; stage < sceneStageCount; ++stage)
        if (stageScenes[stage] == scenes[static_cast<size_t>(index)].get())
            return stage;
    return -1;
}

const char* Demo::sceneName(int index) const
{
    const int stage = stageOf(index);
    return stage < 0 ? "" : timeline[stage].className;
}

bool Demo::rebuildStage(int stage)
{
    Scene* old = stage >= 0 && stage < sceneStageCount ? stageScenes[stage] : nullptr;
    if (!old)
        return false;
    const TimelineRow& row = timeline[stage];
    ownedResources->forgetNamesRead();
    std::unique_ptr<Scene> scene = row.build(*ownedResources, runState);
    if (!scene)
        return false;
    filesRead[stage] = ownedResources->namesRead();
    scene->place(row.startBeat, row.lengthBeats);
    stageScenes[stage] = scene.get();
    for (std::unique_ptr<Scene>& slot : scenes)
        if (slot.get() == old)
            slot = std::move(scene);
    if (links)
        links(stageScenes);
    return true;
}
