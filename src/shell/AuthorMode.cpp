#include "shell/AuthorMode.h"

#include "core/TextLine.h"
#include "platform/Clock.h"
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
    std::snprintf(line, sizeof line, "%s  beat %.2f  show %.2f s  %.1f fps%s", sceneName, localBeat, showTime,
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

void AuthorMode::drawOverlay(int index, float showTime)
{
    frameRate.frame(platform::wallClockMs());
    if (!lineShown)
        return;
    const Scene& scene = *demo.scenes.at(static_cast<size_t>(index));
    // Inside the top bar, which is black whatever the scene draws.
    drawTextLine(authorLine(demo.sceneName(index), scene.localBeat(showTime), showTime, frameRate.perSecond(),
                            demo.paused()),
                 8, 12, 2, 1, 1, 0.6f);
}

} // namespace shell
