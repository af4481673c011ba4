#include "core/Scene.h"

#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Plain : Scene {
    using Scene::Scene;
    int update(float) override { return 0; }
};

// A manager whose factory builds the "KeyEffects" object on the first
// request; the object is a scene, whose construction asks for it again.
struct BuildingManager : ResourceManager {
    BuildingManager() : ResourceManager(false, false)
    {
        setObjectFactory([](ResourceManager& resources, const std::string& name) -> void* {
            auto& self = static_cast<BuildingManager&>(resources);
            if (name != keyEffectsKey.name)
                return nullptr;
            ++self.builds;
            self.built = self.registerObject(keyEffectsKey, std::make_unique<Plain>(&self));
            return static_cast<Scene*>(self.built);
        });
    }
    Plain* built = nullptr;
    int builds = 0;
};

} // namespace

TEST(SceneTest, BeatsAtTheTempo)
{
    Plain scene(nullptr);
    EXPECT_FLOAT_EQ(scene.tempo, 108.0f);
    const struct {
        float time, beat;
    } rows[] = {{-3.0f, 0.0f}, {0.0f, 0.0f}, {60.0f / 108, 1.0f}, {10.0f, 18.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.time);
        EXPECT_FLOAT_EQ(scene.beatAt(row.time), row.beat);
    }
    EXPECT_NEAR(scene.timeOfBeat(1.0f), 0.5555556f, 1e-6);
    EXPECT_NEAR(scene.timeOfBeat(48.0f), 26.666666f, 1e-5);
    scene.tempo = 120.0f;
    EXPECT_FLOAT_EQ(scene.timeOfBeat(2.0f), 1.0f);
    EXPECT_FLOAT_EQ(scene.beatAt(1.5f), 3.0f);
}

TEST(SceneTest, ConstructionMakesTheKeyEffectsOnceWithoutAskingForItself)
{
    BuildingManager manager;
    Plain scene(&manager);
    // The key effects' own construction asked again and got nothing, instead
    // of building another one without end; a later scene finds the same.
    EXPECT_EQ(manager.builds, 1);
    ASSERT_NE(manager.built, nullptr);
    Plain later(&manager);
    EXPECT_EQ(manager.builds, 1);
    EXPECT_EQ(manager.getObject("KeyEffects"), static_cast<Scene*>(manager.built));
}

TEST(SceneTest, PlacedScenesCountTheirOwnSecondsAndBeatsFromTheirStart)
{
    Plain scene(nullptr);
    scene.place(168.0f, 49.0f);
    EXPECT_FLOAT_EQ(scene.start, scene.timeOfBeat(168.0f));
    EXPECT_FLOAT_EQ(scene.duration, scene.timeOfBeat(49.0f));
    EXPECT_EQ(scene.lengthBeats, 49.0f);
    const float fifthBeat = scene.start + scene.timeOfBeat(5.0f);
    EXPECT_NEAR(scene.localBeat(fifthBeat), 5.0f, 1e-4);
    EXPECT_NEAR(scene.localTime(fifthBeat), scene.timeOfBeat(5.0f), 1e-4);
    // Before its start: seconds below zero, beats held at zero.
    EXPECT_NEAR(scene.localTime(scene.start - 1.0f), -1.0f, 1e-4);
    EXPECT_EQ(scene.localBeat(scene.start - 1.0f), 0.0f);
}
