// The fixture of the scene tests: a current headless context (GLTest), a
// resource manager reading the show's built data as the show does (data/ of
// the working directory, build/ for the tests) or a folder
// of the test's own (ownData()), scenes built the way the show builds them
// (the builder, start and length of their row of the show's timeline, the
// records of one run), and frames read back for comparison.
//
// Scenes go before the resource manager, and both before the next test makes
// the context current again. The random sequence starts from the same seed
// in every test, so scenes that draw random numbers build alike.
#pragma once

#include "effects/SharedObjects.h"
#include "resources/ResourceManager.h"
#include "scenes/SceneData.h"
#include "scenes/ShowTimeline.h"
#include "sequencer/RunState.h"
#include "support/GLTest.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class SceneFixture : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        std::srand(1);
    }
    void TearDown() override
    {
        scenes.clear();
        others.clear();
        own.reset();
        showData.reset();
        GLTest::TearDown();
    }

    // The manager the scenes read from: the show's built data unless the test
    // asked for a folder of its own.
    ResourceManager& resources()
    {
        if (own)
            return own->resources;
        if (!showData) {
            showData = std::make_unique<ResourceManager>(false, true);
            showData->setObjectFactory(createSharedObject);
        }
        return *showData;
    }

    // Switches to a scratch working directory whose data/ holds only
    // `showFiles` of the built data (and the accents every scene fetches);
    // the test writes the rest. Call before the first scene is built.
    testsupport::SceneData& ownData(std::initializer_list<const char*> showFiles = {})
    {
        own.emplace(showFiles);
        return *own;
    }

    // Another manager, reading the files of `folder` by their bare names;
    // it lives as long as the scenes built from it.
    ResourceManager& resourcesReading(const std::filesystem::path& folder)
    {
        others.push_back(std::make_unique<ResourceManager>(false, false));
        others.back()->dataDir = folder.string() + "/";
        others.back()->setObjectFactory(createSharedObject);
        return *others.back();
    }

    // Builds the scene of row `stage` of the show's timeline as the show
    // does, from `from` (by default resources()), with this test's run.
    // What the scene says while it loads is kept from the test's output.
    template <class SceneClass>
    SceneClass& buildScene(int stage, ResourceManager* from = nullptr)
    {
        testing::internal::CaptureStdout();
        std::unique_ptr<Scene> built = buildShowScene(stage, from ? *from : resources(), run);
        loadNotes = testing::internal::GetCapturedStdout();
        auto* scene = dynamic_cast<SceneClass*>(built.get());
        if (!scene)
            ADD_FAILURE() << "row " << stage << " of the show's timeline does not build this scene";
        scenes.push_back(std::move(built));
        return *scene;
    }

public:
    // Draws `scene` `seconds` after its start; nonzero means finished.
    static int play(Scene& scene, float seconds) { return scene.update(scene.start + seconds); }
    static int playBeat(Scene& scene, float beats) { return play(scene, scene.timeOfBeat(beats)); }

    enum Channels { rgb = 3, rgba = 4 };

    // The 640 x 480 screen, bottom row first.
    static std::vector<unsigned char> readScreen(Channels channels = rgb)
    {
        std::vector<unsigned char> pixels(640 * 480 * static_cast<size_t>(channels));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 640, 480, channels == rgb ? GL_RGB : GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // The contents of a bound 640 x 480 texture, RGB in the same layout.
    static std::vector<unsigned char> readTexture(unsigned target)
    {
        std::vector<unsigned char> pixels(640 * 480 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // Mean absolute difference per channel, 0 to 255.
    static double difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
    {
        double sum = 0;
        for (size_t i = 0; i < a.size(); ++i)
            sum += std::abs(int(a[i]) - int(b[i]));
        return sum / static_cast<double>(a.size());
    }

    // The brightest colour channel of any pixel (alpha is not a colour).
    static int brightest(const std::vector<unsigned char>& pixels, Channels channels = rgb)
    {
        int most = 0;
        for (size_t i = 0; i < pixels.size(); ++i)
            if (channels == rgb || i % 4 != 3)
                most = pixels[i] > most ? pixels[i] : most;
        return most;
    }

protected:
    RunState run;
    std::string loadNotes;   // what the last scene built said on standard output

private:
    std::optional<testsupport::SceneData> own;
    std::unique_ptr<ResourceManager> showData;
    std::vector<std::unique_ptr<ResourceManager>> others;
    std::vector<std::unique_ptr<Scene>> scenes;
};
