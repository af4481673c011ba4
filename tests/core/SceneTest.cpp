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

TEST(SceneTest, ConstructionRefreshesTheKeyEffectsWithoutAskingForItself)
{
    BuildingManager manager;
    setCurrentKeyEffects(nullptr);
    Plain scene(&manager);
    // The key effects' own construction asked again and got nothing, instead
    // of building another one without end.
    EXPECT_EQ(manager.builds, 1);
    ASSERT_NE(manager.built, nullptr);
    EXPECT_EQ(currentKeyEffects(), manager.built);

    // A scene without a manager (the loading ornament) leaves it alone.
    Plain ornament(nullptr);
    EXPECT_EQ(currentKeyEffects(), manager.built);
    // A manager without the object clears it.
    struct EmptyManager : ResourceManager {
        EmptyManager() : ResourceManager(false, false) {}
        void* getObject(const std::string&) override { return nullptr; }
    } empty;
    Plain later(&empty);
    EXPECT_EQ(currentKeyEffects(), nullptr);
}
