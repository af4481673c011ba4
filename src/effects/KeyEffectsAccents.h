// The accents of the key effects: short full-screen overlays that start at
// an intensity and fade by `rate` per second of the times given to
// `update`. While the intensity is above 0.01 the accent draws; once it
// falls to 0.01 or below it is 0 and nothing is drawn. The first update
// takes its time as the previous one, so it fades nothing.
//
// The copy-of-screen textures and the warp grid are borrowed from the
// resource manager's registry; the combiner display lists are owned.
#pragma once

#include "core/Scene.h"

class CopyScreen;
class WarpGrid;

// Intensity lost per second by a fade of `seconds` seconds per unit.
float fadeRate(float seconds);

class KeyAccent : public Scene {
public:
    KeyAccent(ResourceManager* resources, float rate);

    int update(float time) override;
    // Starts the accent at intensity a, falling by 1 in b seconds.
    void start(float a, float b);

    float intensity = 0.0f;
    float rate;

protected:
    virtual void draw(float time) = 0;

private:
    float previousTime = 0.0f;
    bool started = false;
};

// The picture through a combiner program read from a data file ("b" and
// the black-and-white flash, or the inverted flash).
class CombinerAccent : public KeyAccent {
public:
    CombinerAccent(ResourceManager* resources, float rate, const char* programFile, bool inverse);
    ~CombinerAccent() override;

    // Any key restarts the flash at full strength.
    int onKey(int key, int x, int y) override;

protected:
    void draw(float time) override;

private:
    CopyScreen* copy = nullptr;
    unsigned program = 0;
    bool inverse;
};

// The frame frozen by `capture`, added over the picture.
class AfterimageAccent : public KeyAccent {
public:
    explicit AfterimageAccent(ResourceManager* resources);
    void capture();

protected:
    void draw(float time) override;

private:
    CopyScreen* copy = nullptr;
};

// A fade to `colour` over the virtual screen.
class ColourFadeAccent : public KeyAccent {
public:
    explicit ColourFadeAccent(ResourceManager* resources) : KeyAccent(resources, 0.9f) {}

    float red = 0.0f, green = 0.0f, blue = 0.0f;

protected:
    void draw(float time) override;
};

// The picture redrawn through the pull warp grid.
class PullAccent : public KeyAccent {
public:
    explicit PullAccent(ResourceManager* resources);

protected:
    void draw(float time) override;

private:
    CopyScreen* copy = nullptr;
    WarpGrid* grid = nullptr;
};
