// MusicStream: the show's one music track. The whole MP3 file is read into
// memory and streamed from there; it starts paused, and the sequencer
// unpauses it on the first frame, seeks it when the show starts at a later
// scene, and reads its position to put the scene clock in step with it.
//
// The raw position moves in coarse steps (one per audio buffer the device
// takes); positionSeconds() continues it smoothly with the wall clock
// between two steps. A missing file is reported with a message box and the
// show runs without music: there is then no stream, and the position stays
// at 0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class AudioPlayer;
}

class MusicStream {
public:
    MusicStream();
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Reads the file and starts its stream paused. False when there is no
    // stream: the file is missing ("Cannot find file", the path as text) or
    // holds no playable MP3 (a note on standard error).
    bool open(const std::string& path);
    bool hasStream() const { return stream != nullptr; }

    void unpause();
    // Holds the music where it is; unpause() goes on from there.
    void pause();
    // Moves the music to `ms`. False without a stream, and when the music
    // ends before `ms`: it then waits at its end, and its position tells
    // nothing about the show's time.
    bool setPositionMs(int ms);
    // The music's length; 0 without a stream.
    float lengthSeconds() const;
    // Milliseconds played, in the device's buffer steps; 0 without a stream.
    int rawPositionMs() const;
    // Seconds played, smoothed between raw steps with the wall clock.
    float positionSeconds();

    // Polls the raw position until it differs from its value at the call, at
    // most `timeoutMs` of wall-clock time. True when it changed; false at
    // once without a stream, and after the timeout when it stands still (a
    // paused stream, a device that never asks for data).
    bool waitForRawPositionChange(double timeoutMs = 500.0) const;

private:
    // Declared before the stream: the stream reads from it and goes first.
    std::vector<uint8_t> fileData;
    std::unique_ptr<platform::AudioPlayer> stream;

    // The last raw position seen by positionSeconds() (none yet: -1) and the
    // wall clock when it was first seen.
    int lastRawPosition = -1;
    double lastRawClockMs = 0.0;
};
