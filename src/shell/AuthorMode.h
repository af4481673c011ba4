// Author mode (--author): what a show run adds for the people who make the
// show. The keys of AuthorKeys.h move about the show; L toggles a line over
// the top bar with the running scene's name (its timeline class), the beat
// in the scene, the show time and the frames per second.
//
// One object per run, owned by the ShowRun; it lends itself to the Demo's
// overlay, so it must outlive the Demo's last frame.
#pragma once

#include "platform/FileWatcher.h"

#include <memory>
#include <set>
#include <string>

class Demo;

namespace shell {

// Frames per second over the last whole second of wall-clock time.
class FrameRate {
public:
    // Counts a frame drawn at `wallMs`.
    void frame(double wallMs);
    float perSecond() const { return rate; }

private:
    double windowStartMs = -1.0;
    int framesInWindow = 0;
    float rate = 0.0f;
};

// The on-screen line, e.g. "ShadowScene  beat 12.50  105.83 s  25.0 fps"; it
// fits the 640-pixel width for every scene of the show.
std::string authorLine(const char* sceneName, float localBeat, float showTime, float framesPerSecond,
                       bool paused);

class AuthorMode {
public:
    // Hooks the on-screen line into `demo`'s frames.
    explicit AuthorMode(Demo& demo);

    // A key press (virtual-key code).
    void onKeyDown(int virtualKey);

    // Starts watching the data folder the Demo's resource manager reads.
    // False (with a note on standard error) when there is nothing to watch:
    // a pack run, or a folder inotify cannot watch.
    bool watchData();
    // Once a frame, before it is drawn: checks the files saved since the
    // last frame and builds again the scenes that read them.
    void reloadChangedData();

    bool lineShown = true;

private:
    void drawOverlay(int index, float showTime);

    Demo& demo;
    FrameRate frameRate;
    std::unique_ptr<platform::FileWatcher> watcher;
    std::string dataFolder;
    std::set<int> staleStages;  // read a file that changed; built again when they run
};

} // namespace shell
