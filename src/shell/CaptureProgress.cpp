#include "shell/CaptureProgress.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

constexpr double inPlaceIntervalMs = 250.0;
constexpr double lineIntervalMs = 10000.0;

std::string clockText(double seconds)
{
    if (seconds < 0.0 || !std::isfinite(seconds))
        return "?";
    const long whole = std::lround(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

std::string progressLine(long frames, double showSeconds, double totalSeconds, double framesPerSecond,
                         double secondsLeft)
{
    char text[160];
    // The first frame's show time is the small negative time offset.
    std::snprintf(text, sizeof text, "capture: %ld frames, %.1f of %.1f s, %.1f fps, %s left", frames,
                  std::max(0.0, showSeconds), totalSeconds, framesPerSecond, clockText(secondsLeft).c_str());
    return text;
}

void CaptureProgress::begin(std::FILE* out, bool inPlace)
{
    *this = CaptureProgress{};
    out_ = out;
    inPlace_ = inPlace;
}

void CaptureProgress::frameWritten(double nowMs, long frames, double showSeconds, double totalSeconds)
{
    if (!out_)
        return;
    // Rates count from the first frame: opening the file may come long
    // before it (a capture from the start opens before the loading).
    if (!haveFirstFrame_) {
        haveFirstFrame_ = true;
        firstShowSeconds_ = showSeconds;
        firstFrames_ = frames;
        beginMs_ = nowMs;
        lastWriteMs_ = nowMs;
    }
    frames_ = frames;
    showSeconds_ = showSeconds;
    totalSeconds_ = totalSeconds;
    if (nowMs - lastWriteMs_ >= (inPlace_ ? inPlaceIntervalMs : lineIntervalMs))
        write(nowMs);
}

void CaptureProgress::end(double nowMs)
{
    if (!out_)
        return;
    write(nowMs);
    if (inPlace_)
        std::fputc('\n', out_);
    std::fflush(out_);
    out_ = nullptr;
}

void CaptureProgress::write(double nowMs)
{
    lastWriteMs_ = nowMs;
    const double elapsed = (nowMs - beginMs_) / 1000.0;
    const double framesPerSecond = elapsed > 0.0 ? (frames_ - firstFrames_) / elapsed : 0.0;
    // How fast the show advances against the wall clock, from what the
    // capture has done so far.
    const double showRate = elapsed > 0.0 ? (showSeconds_ - firstShowSeconds_) / elapsed : 0.0;
    const double secondsLeft = showRate > 0.0 ? std::max(0.0, totalSeconds_ - showSeconds_) / showRate : -1.0;
    const std::string line = progressLine(frames_, showSeconds_, totalSeconds_, framesPerSecond, secondsLeft);
    if (inPlace_) {
        // Blanks over what is left of a longer earlier line.
        const size_t stale = lastLength_ > line.size() ? lastLength_ - line.size() : 0;
        std::fprintf(out_, "\r%s%*s", line.c_str(), static_cast<int>(stale), "");
        lastLength_ = line.size();
    } else {
        std::fprintf(out_, "%s\n", line.c_str());
    }
    std::fflush(out_);
}

} // namespace shell
