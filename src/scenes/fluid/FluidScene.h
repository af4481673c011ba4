// FluidScene: the show's finale. It takes the last picture on the screen and
// lets it flow: every frame the previous frame is redrawn through the fluid's
// warp grid, so what the show drew last, and the strokes drawn since, drift
// and swirl. The animation script "fluid.swf" (80 movie frames per second,
// sub-stepped ten times a frame) moves a pen on its layer 1 that writes
// glowing strokes, lifted and set down again by the command "endLine", and
// fades in the banner "end.jpg" through the alpha of its layer 2. The last
// second fades to black; the scene lasts 22 beats and the show ends with it.
//
// The pen flag, whether the screen was ever copied, and the previous local
// time belong to the run (FluidPen, from the run state): they survive a
// rebuilt scene. The
// scene owns its warp, script and banner texture and borrows
// "CopyScreen640x480" from the registry as both its source and its feedback.
#pragma once

#include "core/GLObjects.h"
#include "core/Scene.h"
#include "scenes/fluid/FluidWarp.h"

#include <memory>

class CopyScreen;
class swfScript;

struct FluidPen {
    bool down = true;          // "endLine" toggles it
    bool screenCopied = false; // by the fluid scene, ever
    bool timed = false;        // previousTime holds a time
    float previousTime = 0.0f;
};

class FluidScene : public Scene {
public:
    static constexpr int penStepsPerFrame = 10;
    static constexpr float scriptFramesPerSecond = 80.0f;

    FluidScene(ResourceManager* resources, FluidPen& pen);
    ~FluidScene() override;

    int update(float time) override;

    // One sub-step of the pen: a stroke from the previous point to the pen
    // point while the pen is down and there is a previous point.
    void drawPenSegment();

    std::unique_ptr<FluidWarp> warp;
    float penPoint[2] = {0.0f, 0.0f};       // layer 1, pixels
    float bannerColour[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // layer 2; only alpha counts
    float previousPen[2] = {-1.0f, -1.0f};
    bool hasPreviousPen = false;

private:
    void drawFeedback();
    void writeWithPen(float local);
    void drawWarped(float local);
    void drawBanner() const;
    void drawClosingCovers(float local) const;

    FluidPen& pen;
    std::unique_ptr<swfScript> script;
    CopyScreen* screen = nullptr;
    GLTexture banner;
    bool hasBanner = false;
};
