// A fixture holding the show's own Demo: all nine scenes built from the
// show's timeline over the working directory's data, on the capture clock
// and without music, as benchmarks and samples run it. The loading's
// messages are swallowed.
#pragma once

#include "scenes/ShowTimeline.h"
#include "sequencer/Demo.h"
#include "support/ShowResourcesTest.h"

#include <cstdlib>
#include <memory>

class ShowDemoTest : public ShowResourcesTest {
protected:
    void TearDown() override
    {
        demo.reset();
        ShowResourcesTest::TearDown();
    }

    void loadShow()
    {
        resources->screenWidth = 640;
        resources->screenHeight = 480;
        std::srand(1);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        demo = std::make_unique<Demo>(std::move(resources), showTimeline(), linkShowScenes);
        demo->clock.onFrames = true;
        demo->musicPending = false;
        while (demo->loadStage() > 0) {
        }
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }

    std::unique_ptr<Demo> demo;
};
