// KeyEffects: the shared object ("KeyEffects") that lays short accents over
// the finished picture of every frame: a black-and-white flash, a frozen
// afterimage, a fade to black or white, an inverted flash, a pull warp, a
// jitter and a blur burst. Typed keys (forwarded by the sequencer) and the
// animation scripts' commands start them; the sequencer updates the object
// with the frame-loop time after the running scene and before the
// letterbox bars, so accents fade by that time, in captures too.
//
// Owns the five accents; borrows the jitter pair ("Jitter", "SimpleDSDT")
// and the blur filter ("Blur640x480") from the registry.
#pragma once

#include "effects/KeyEffectsAccents.h"

#include <memory>
#include <string>
#include <vector>

class CombinerFilter;
class JitterTexture;
class OffsetWarpFilter;
class swfScript;

class KeyEffects : public Scene {
public:
    explicit KeyEffects(ResourceManager* resources);
    ~KeyEffects() override;

    int update(float time) override;
    // b c d i j k w start their accents; other keys are ignored.
    int onKey(int key, int x, int y) override;

    // Each starts an accent at intensity a that falls by 1 in b seconds.
    void capture(float a, float b);
    void darken(float a, float b);
    void whiten(float a, float b);
    void inverse(float a, float b);
    void jitter(float a, float b);
    void pull(float a, float b);
    // Whether this frame's accents will move pixels of the picture to other
    // places (the jitter shakes them, the blur spreads them), so that rows
    // the letterbox bars hide can come into view.
    bool movesPixels() const;

    std::unique_ptr<CombinerAccent> blackAndWhite;
    std::unique_ptr<AfterimageAccent> afterimage;
    std::unique_ptr<ColourFadeAccent> colourFade;
    std::unique_ptr<CombinerAccent> inverseAccent;
    std::unique_ptr<PullAccent> pullAccent;
    JitterTexture* jitterTexture = nullptr;
    OffsetWarpFilter* jitterFilter = nullptr;
    CombinerFilter* blur = nullptr;
    float blurAmount = 0.0f;

private:
    void runBlur(float time);

    float previousTime = 0.0f;
    bool started = false;
};

// The script commands "darken", "capture", "inverse", "jitter", "whiten"
// and "pull" on `target`: a is the second argument and b the third when
// present (atof), else the command's defaults. Returns 0; an unknown name
// or a null target does nothing.
int runKeyEffectCommand(KeyEffects* target, const std::string& name, const std::vector<std::string>& arguments);

// Registers the six accent commands on a scene's animation script; when they
// fire they drive the "KeyEffects" object of `resources`, which must outlive
// the script.
void registerKeyEffectCommands(swfScript& script, ResourceManager& resources);
