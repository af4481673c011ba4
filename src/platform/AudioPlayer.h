// Plays one MP3 held in memory on an SDL audio device (44 100 Hz, 16-bit
// stereo), decoding it as the device asks for more.
//
// The position is the audio the device has taken so far, counted from the
// last seek, in the device's buffer steps: it stands still between two
// buffer requests and keeps counting over the silence after the music ends.
// Without an audio device (no sound hardware, no sound server, a headless
// machine) the player keeps the same position from the wall clock, still in
// buffer steps, so whatever follows the music keeps time.
//
// The player does not own the MP3 bytes: they must outlive it. It starts
// paused. All calls come from one thread; the device's own thread only
// decodes.
#pragma once

#include "platform/Mp3Decoder.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class AudioPlayer {
public:
    // Null with `error` filled when the bytes are no MP3. A missing or busy
    // device is no error: the player then runs on the wall clock.
    static std::unique_ptr<AudioPlayer> open(const uint8_t* data, size_t size, std::string& error);

    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    void setPaused(bool paused);
    bool paused() const { return paused_; }
    // Moves playback to `ms`, clamped to the music's length.
    void seekMs(int64_t ms);
    // Milliseconds of audio consumed, in buffer steps.
    int64_t positionMs() const;

    bool hasDevice() const { return device_ != 0; }
    // Samples per buffer step (one left/right pair per sample).
    int stepSamples() const { return stepSamples_; }
    int64_t lengthMs() const;

private:
    AudioPlayer() = default;
    bool openDevice(std::string& why);
    static void fill(void* player, uint8_t* stream, int bytes);
    int64_t positionSamples() const;

    std::unique_ptr<Mp3Decoder> decoder_;
    uint32_t device_ = 0;  // SDL_AudioDeviceID, 0 without a device
    bool audioInitialised_ = false;
    bool paused_ = true;
    int stepSamples_ = 2048;
    // With a device: samples handed to it since the last seek, plus the seek
    // point; written by the device's thread.
    std::atomic<int64_t> consumed_{0};
    // Without a device: the position at the last pause or seek and the wall
    // clock at which it started counting again.
    int64_t wallBaseSamples_ = 0;
    double wallResumeMs_ = 0.0;
};

} // namespace platform
