#include "shell/CaptureProgress.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string contents(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text.push_back(static_cast<char>(c));
    return text;
}

} // namespace

TEST(CaptureProgressTest, LineShowsFramesShowTimeRateAndTimeLeft)
{
    EXPECT_EQ(shell::progressLine(120, 6.0, 310.0, 24.5, 125.4), "capture: 120 frames, 6.0 of 310.0 s, 24.5 fps, 2:05 left");
    EXPECT_EQ(shell::progressLine(1, 0.0, 0.0, 0.0, -1.0), "capture: 1 frames, 0.0 of 0.0 s, 0.0 fps, ? left");
    EXPECT_EQ(shell::progressLine(9, 1.0, 9000.0, 2.0, 3725.0), "capture: 9 frames, 1.0 of 9000.0 s, 2.0 fps, 1:02:05 left");
}

TEST(CaptureProgressTest, PlainLinesEveryTenSecondsWhenNotATerminal)
{
    std::FILE* out = std::tmpfile();
    shell::CaptureProgress progress;
    progress.begin(out, false);
    // 20 frames a wall second, 1 show second per wall second.
    for (long frame = 1; frame <= 401; ++frame)
        progress.frameWritten(1000.0 + (frame - 1) * 50.0, frame, (frame - 1) / 20.0, 100.0);
    progress.end(21000.0);
    EXPECT_EQ(contents(out), "capture: 201 frames, 10.0 of 100.0 s, 20.0 fps, 1:30 left\n"
                             "capture: 401 frames, 20.0 of 100.0 s, 20.0 fps, 1:20 left\n"
                             "capture: 401 frames, 20.0 of 100.0 s, 20.0 fps, 1:20 left\n");
    std::fclose(out);
}

TEST(CaptureProgressTest, OneLineRewrittenInPlaceOnATerminal)
{
    std::FILE* out = std::tmpfile();
    shell::CaptureProgress progress;
    progress.begin(out, true);
    progress.frameWritten(0.0, 1, 0.0, 10.0);
    progress.frameWritten(100.0, 2, 0.5, 10.0);    // too soon for another line
    progress.frameWritten(1000.0, 11, 10.0, 10.0);
    progress.end(1000.0);
    const std::string text = contents(out);
    EXPECT_EQ(text, "\rcapture: 11 frames, 10.0 of 10.0 s, 10.0 fps, 0:00 left"
                    "\rcapture: 11 frames, 10.0 of 10.0 s, 10.0 fps, 0:00 left\n");
    EXPECT_FALSE(progress.running());
    std::fclose(out);
}
