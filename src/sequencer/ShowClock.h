// ShowClock: the one clock of the show. Every rendered frame asks it for two
// times:
// - the frame-loop time, which the key-effect accents, the shots and the
//   capture see: frames counted over the frame rate while frames are counted
//   (a capture, or a run on frames), otherwise seconds of the performance
//   counter since the show started;
// - the show time, which the scenes see (Scene::update): the clock the
//   show runs on (the frame-loop time on frames, the counter in live runs,
//   even while a live run is being captured) plus the start offset (switch
//   t) and the mark that keeps the scenes in step with the music.
// The Demo moves the mark when it switches scenes and when the music starts
// at a later scene; nothing else computes a time.
//
// Owned by the Demo; single-threaded like the rest of the frame path.
#pragma once

#include <cstdint>

class ShowClock {
public:
    // The show time follows the frame-loop time (frame count over the frame
    // rate) instead of the counter: captures from the start, shots and
    // benchmarks, so every frame shows the same moment on every machine.
    bool onFrames = false;
    int framesPerSecond = 20;
    // Seconds added to the show time: the switch t, plus the start of the
    // scene a run skips to.
    float offset = -0.01f;

    // Starts the next rendered frame and returns its frame-loop time.
    // `capturing` counts this frame as a captured one even in a live run.
    double nextFrame(bool capturing);
    // The frame-loop time nextFrame() returned last.
    double frameTime() const { return lastFrameTime; }

    // The clock the show runs on at the frame whose frame-loop time is `t`:
    // `t` itself on frames, the counter seconds otherwise. Read once per
    // frame, so a scene switch hands over exactly the time the frame drew.
    float clockAt(float t) const { return onFrames ? t : counterSeconds(); }
    // The show time at `clock` for the scene that starts at `sceneStart`
    // (switchMark carries the running scene's start, see jumpTo).
    float showTime(float clock, float sceneStart) const;
    // The show time `local` seconds into a scene that starts at `sceneStart`,
    // as a run started there (switch s) on frames sees it: for benchmarks
    // and samples that draw a scene without playing the show up to it.
    float showTimeInScene(float sceneStart, float local) const { return sceneStart + offset + local; }
    // From `clock` on, the scene starting at `sceneStart` sees the show time
    // `target`.
    void jumpTo(float clock, float sceneStart, float target);

    // Live runs count from now: called when the music starts playing.
    void startCounter();
    // Seconds of the counter since startCounter() (0 before it).
    float counterSeconds() const;

    // The show time of the last frame drawn (Demo::update records it): the
    // capture's sound starts there and its progress line counts it.
    float lastShowTime = 0.0f;

    // Seconds that keep the show time in step with the music: 0 at the
    // start, the music's position when a run starts at a later scene, moved
    // at every scene switch.
    float switchMark = 0.0f;

private:
    int framesCounted = 0;
    double lastFrameTime = 0.0;
    uint64_t counterStart = 0;  // 0: not started
};
