#include "sequencer/TestScenes.h"

#include <epoxy/gl.h>

namespace sequencertest {

Timeline timelineOf(const StageTable& stages)
{
    constexpr float beatsPerSecond = 108.0f / 60.0f;
    Timeline timeline;
    float beat = 0.0f;
    for (size_t i = 0; i < stages.size(); ++i) {
        if (!stages[i].build)
            continue;
        const float beats = stages[i].seconds * beatsPerSecond;
        timeline[i] = {"RecordingScene", beat, beats, stages[i].build};
        beat += beats;
    }
    return timeline;
}

void fillRect(float x0, float y0, float x1, float y1, float r, float g, float b)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glColor3f(r, g, b);
    glRectf(x0, y0, x1, y1);
}

} // namespace sequencertest
