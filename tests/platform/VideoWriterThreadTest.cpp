// The writer on its own thread: frames given from one buffer that the
// caller refills at once (as the show reads every frame into the same one)
// reach the file in order, each as it was when given, with more frames in
// flight than the queue holds.
#include "platform/VideoWriterThread.h"

#include "support/AviProbe.h"
#include "support/TestMusic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(VideoWriterThreadTest, FramesFromAReusedBufferArriveInOrderAsGiven)
{
    mediatest::ScratchFolder folder;
    const std::string path = folder.path("queued.avi");
    platform::VideoFormat format;
    format.width = 32;
    format.height = 16;
    format.codec = "ffv1";
    std::string error, warning;
    auto writer = platform::VideoWriter::open(path, format, {}, error, warning);
    ASSERT_TRUE(writer) << error;
    platform::VideoWriterThread thread(std::move(writer), 32 * 16 * 4);

    constexpr int frames = 12;
    std::vector<uint8_t> buffer(32 * 16 * 4);
    for (int n = 0; n < frames; ++n) {
        std::fill(buffer.begin(), buffer.end(), static_cast<uint8_t>(10 + n * 20));
        ASSERT_TRUE(thread.writeFrame(buffer.data()));
    }
    std::fill(buffer.begin(), buffer.end(), uint8_t{0});
    EXPECT_TRUE(thread.finish());
    EXPECT_EQ(thread.framesWritten(), frames);
    EXPECT_FALSE(thread.writeFrame(buffer.data()));  // after the end

    const mediatest::AviContents avi = mediatest::probeVideo(path);
    ASSERT_TRUE(avi.readable) << avi.error;
    ASSERT_EQ(avi.framesRgb.size(), static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(avi.pixel(n, 31, 15)[1], 10 + n * 20);
    }
}
