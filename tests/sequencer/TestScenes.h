// Scenes of the tests' own for the sequencer and the frame loop: each
// records the times and keys it is given, may draw something, and reports
// "finished" once its local time (show time minus its start) reaches its
// length, as the show's scenes do.
#pragma once

#include "sequencer/Demo.h"

#include <functional>
#include <string>
#include <vector>

namespace sequencertest {

class RecordingScene : public Scene {
public:
    RecordingScene(ResourceManager* resources, std::string name, float length,
                   std::vector<std::string>* deletions = nullptr)
        : Scene(resources), name(std::move(name)), deletions(deletions)
    {
        duration = length;
    }
    ~RecordingScene() override
    {
        if (deletions)
            deletions->push_back(name);
    }

    int update(float time) override
    {
        times.push_back(time);
        if (draw)
            draw(time - start);
        return time - start >= duration ? 1 : 0;
    }
    int onKey(int key, int x, int y) override
    {
        keys.push_back({key, x, y});
        return 0;
    }

    std::string name;
    std::vector<float> times;
    std::vector<std::vector<int>> keys;
    // Draws the frame for the local time it is given.
    std::function<void(float local)> draw;
    std::vector<std::string>* deletions;
};

// A stage of the tests' own tables: a builder and the seconds its scene
// lasts (the show's rows count beats; the tests think in seconds).
struct TestStage {
    StageBuilder build;
    float seconds = 0.0f;
};
using StageTable = std::array<TestStage, sceneStageCount>;

// The timeline of `stages`: each row starts where the one before ends.
Timeline timelineOf(const StageTable& stages);

// A stage that builds a RecordingScene.
inline TestStage recordingStage(const std::string& name, float length,
                                std::vector<std::string>* deletions = nullptr)
{
    return {[=](ResourceManager& resources, RunState&) {
                return std::make_unique<RecordingScene>(&resources, name, length, deletions);
            },
            length};
}

inline RecordingScene& sceneAt(Demo& demo, int slot) { return static_cast<RecordingScene&>(*demo.scenes.at(slot)); }

// Fills a rectangle of normalised device coordinates with one colour, under
// identity matrices, with lighting, depth test, culling, blending and
// texturing off.
void fillRect(float x0, float y0, float x1, float y1, float r, float g, float b);
inline void fillScreen(float r, float g, float b) { fillRect(-1, -1, 1, 1, r, g, b); }

} // namespace sequencertest
