// Progress of a video capture on standard error: frames written, show time
// reached of the show's length, frames per second and the time left. On a
// terminal one line is rewritten in place (a few times a second); otherwise
// a plain line is written every ten seconds, so logs stay readable.
// Standard output stays the show's.
#pragma once

#include <cstdio>
#include <string>

namespace shell {

// "capture: 120 frames, 6.0 of 310.0 s, 24.5 fps, 2:05 left"; a negative
// `secondsLeft` (not known yet) reads "?".
std::string progressLine(long frames, double showSeconds, double totalSeconds, double framesPerSecond,
                         double secondsLeft);

class CaptureProgress {
public:
    // A capture starts; `inPlace`: `out` is a terminal.
    void begin(std::FILE* out, bool inPlace);
    // One more frame is in the file; its show time is `showSeconds`.
    void frameWritten(double nowMs, long frames, double showSeconds, double totalSeconds);
    // The capture has ended: the last state once more, and the line ended.
    void end(double nowMs);
    bool running() const { return out_ != nullptr; }

private:
    void write(double nowMs);

    std::FILE* out_ = nullptr;
    bool inPlace_ = false;
    double beginMs_ = 0.0;
    double lastWriteMs_ = 0.0;
    bool haveFirstFrame_ = false;
    double firstShowSeconds_ = 0.0;
    long firstFrames_ = 0;
    long frames_ = 0;
    double showSeconds_ = 0.0;
    double totalSeconds_ = 0.0;
    size_t lastLength_ = 0;
};

} // namespace shell
