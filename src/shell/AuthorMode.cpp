#include "shell/AuthorMode.h"

#include "core/TextLine.h"
#include "platform/Clock.h"
#include "resources/ResourceManager.h"
#include "sequencer/DataCheck.h"
#include "sequencer/Demo.h"
#include "shell/AuthorKeys.h"

#include <cstdio>

namespace shell {

void FrameRate::frame(double wallMs)
{
    if (windowStartMs < 0) {
        windowStartMs = wallMs;
        return;
    }
    ++framesInWindow;
    const double elapsed = wallMs - windowStartMs;
    if (elapsed >= 1000.0) {
        rate = static_cast<float>(framesInWindow * 1000.0 / elapsed);
        windowStartMs = wallMs;
        framesInWindow = 0;
    }
}

std::string authorLine(const char* sceneName, float localBeat, float showTime, float framesPerSecond, bool paused)
{
    char line[160];
    std::snprintf(line, sizeof line, "%s  beat %.2f  %.2f s  %.1f fps%s", sceneName, localBeat, showTime,
                  framesPerSecond, paused ? "  paused" : "");
    return line;
}

AuthorMode::AuthorMode(Demo& demo) : demo(demo)
{
    demo.overlay = [this](int index, float showTime) { drawOverlay(index, showTime); };
}

void AuthorMode::onKeyDown(int virtualKey)
{
    const AuthorAction action = authorActionOf(virtualKey);
    if (action == AuthorAction::ToggleLine)
        lineShown = !lineShown;
    else
        applyAuthorAction(demo, action);
}

bool AuthorMode::watchData()
{
    if (demo.resources->usePack) {
        std::fprintf(stderr, "glint: --author with --pack cannot reload: the pack file is read once; "
                             "run without --pack to reload the data folder\n");
        return false;
    }
    char folder[ResourceManager::pathSize];
    if (!demo.resources->findFile("", folder))
        return false;
    dataFolder = folder;
    std::string error;
    watcher = platform::FileWatcher::open(dataFolder, error);
    if (!watcher) {
        std::fprintf(stderr, "glint: cannot watch %s for changes: %s; no reload\n", dataFolder.c_str(),
                     error.c_str());
        return false;
    }
    return true;
}

void AuthorMode::reloadChangedData()
{
    if (!watcher)
        return;
    for (const std::string& name : watcher->changedFiles()) {
        std::set<int> readers;
        for (int stage = 0; stage < sceneStageCount; ++stage)
            if (demo.stageFiles(stage).count(name) != 0)
                readers.insert(stage);
        if (readers.empty())
            continue;
        const std::string path = dataFolder + name;
        std::string message;
        if (!checkDataFile(path, message)) {
            std::fprintf(stderr, "glint: %s: %s; the scenes that read it stay as they were\n", path.c_str(),
                         message.c_str());
            continue;
        }
        staleStages.insert(readers.begin(), readers.end());
    }
    const int running = demo.stageOf(demo.current);
    if (staleStages.erase(running) == 0)
        return;
    if (demo.rebuildStage(running))
        std::fprintf(stderr, "glint: %s built again from the changed data\n", demo.sceneName(demo.current));
    else
        std::fprintf(stderr, "glint: %s could not be built again; the old one plays on\n",
                     demo.sceneName(demo.current));
}

void AuthorMode::drawOverlay(int index, float showTime)
{
    frameRate.frame(platform::wallClockMs());
    if (!lineShown)
        return;
    const Scene& scene = *demo.scenes.at(static_cast<size_t>(index));
    // Inside the top bar, which is black whatever the scene draws.
    drawTextLine(authorLine(demo.sceneName(index), scene.localBeat(showTime), showTime, frameRate.perSecond(),
                            demo.paused()),
                 8, 14, 1.75f, 1, 1, 0.6f);
}

} // namespace shell
