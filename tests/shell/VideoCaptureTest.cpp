#include "support/AviProbe.h"
#include "support/TestMusic.h"

#include "mp3writer/Mp3Writer.h"
#include "shell/VideoCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr int width = 64;
constexpr int height = 48;

// A frame as OpenGL reads it back (B, G, R, A, bottom row first) of a
// picture whose upper half is red and lower half blue; green carries the
// frame's number times 20, so order and count can be read off the video.
std::vector<unsigned char> readBackFrame(int number)
{
    std::vector<unsigned char> pixels(width * height * 4);
    for (int row = 0; row < height; ++row) {
        const bool upperHalf = row >= height / 2;  // row 0 is the bottom
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[(row * width + x) * 4];
            p[0] = upperHalf ? 0 : 255;
            p[1] = static_cast<unsigned char>(number * 20);
            p[2] = upperHalf ? 255 : 0;
            p[3] = 255;
        }
    }
    return pixels;
}

void captureFrames(const std::string& fileName, int count, int framesPerSecond = 25)
{
    ASSERT_TRUE(openCapture(fileName, framesPerSecond, width, height));
    for (int n = 0; n < count; ++n)
        writeCaptureFrame(readBackFrame(n).data());
}

class VideoCaptureTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        closeCapture();
        setCaptureCodec("mjpeg");
        setCaptureAudio("", 0.0);
    }

    mediatest::ScratchFolder folder;
};

} // namespace

TEST_F(VideoCaptureTest, OffersTheFourCodecsAndRefusesOthers)
{
    EXPECT_EQ(captureCodecNames(), (std::vector<std::string>{"mjpeg", "ffv1", "rawvideo", "h264"}));
    EXPECT_EQ(captureCodec(), "mjpeg");
    for (const char* bad : {"", "libx264", "H264", "MJPEG", "mjpeg ", "mpeg4"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(setCaptureCodec(bad));
        EXPECT_EQ(captureCodec(), "mjpeg");
    }
    EXPECT_TRUE(setCaptureCodec("ffv1"));
    EXPECT_EQ(captureCodec(), "ffv1");
}

TEST_F(VideoCaptureTest, EveryCodecWritesUprightFramesInOrderAtTheFrameRate)
{
    struct Case {
        const char* codec;
        int tolerance;  // per colour channel
    } cases[] = {{"mjpeg", 12}, {"ffv1", 0}, {"rawvideo", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codec);
        ASSERT_TRUE(setCaptureCodec(c.codec));
        const std::string file = folder.path(std::string(c.codec) + ".avi");
        captureFrames(file, 6);
        EXPECT_EQ(captureFramesWritten(), 6);
        closeCapture();

        mediatest::AviContents avi = mediatest::probeVideo(file);
        ASSERT_TRUE(avi.readable) << avi.error;
        EXPECT_EQ(avi.format, "avi");
        EXPECT_EQ(avi.videoCodec, c.codec);
        EXPECT_EQ(avi.width, width);
        EXPECT_EQ(avi.height, height);
        EXPECT_EQ(avi.frameRateNum, 25);
        EXPECT_EQ(avi.frameRateDen, 1);
        EXPECT_EQ(avi.timeBaseNum, 1);
        EXPECT_EQ(avi.timeBaseDen, 25);
        EXPECT_FALSE(avi.hasAudio);
        ASSERT_EQ(avi.framesRgb.size(), 6u);
        for (int n = 0; n < 6; ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(avi.framePts[n], n);  // frame n is sample n
            const std::vector<int> top = avi.pixel(n, 5, 3);
            const std::vector<int> bottom = avi.pixel(n, 60, height - 4);
            EXPECT_NEAR(top[0], 255, c.tolerance);
            EXPECT_NEAR(top[1], n * 20, c.tolerance);
            EXPECT_NEAR(top[2], 0, c.tolerance);
            EXPECT_NEAR(bottom[0], 0, c.tolerance);
            EXPECT_NEAR(bottom[1], n * 20, c.tolerance);
            EXPECT_NEAR(bottom[2], 255, c.tolerance);
        }
    }
}

TEST_F(VideoCaptureTest, ACaptureEndedByExitIsStillComplete)
{
    // The show may end through exit() while capturing (a failed check, a
    // signal); the file must still hold every frame written.
    // The capture runs in a fresh copy of the test binary, which runs this
    // test from its start with a scratch folder of its own: the file's name
    // reaches it through the environment, and the copy's folder goes with it.
    constexpr const char* fileVariable = "GLINT_TEST_INTERRUPTED_CAPTURE";
    if (!std::getenv(fileVariable))
        setenv(fileVariable, folder.path("interrupted.avi").c_str(), 1);
    const std::string file = std::getenv(fileVariable);
    EXPECT_EXIT(
        {
            captureFrames(file, 4);
            if (file != folder.path("interrupted.avi"))
                std::filesystem::remove(folder.path(""));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    unsetenv(fileVariable);
    mediatest::AviContents avi = mediatest::probeVideo(file);
    ASSERT_TRUE(avi.readable) << avi.error;
    EXPECT_EQ(avi.framesRgb.size(), 4u);
}

TEST_F(VideoCaptureTest, ACaptureClosedEarlyOrWithoutFramesIsReadable)
{
    const std::string early = folder.path("early.avi");
    captureFrames(early, 2);
    closeCapture();
    EXPECT_EQ(mediatest::probeVideo(early).framesRgb.size(), 2u);

    const std::string empty = folder.path("empty.avi");
    ASSERT_TRUE(openCapture(empty, 25, width, height));
    closeCapture();
    mediatest::AviContents avi = mediatest::probeVideo(empty);
    EXPECT_TRUE(avi.readable) << avi.error;
    EXPECT_TRUE(avi.framesRgb.empty());
}

TEST_F(VideoCaptureTest, ARestartedCaptureNeverOverwritesTheFirst)
{
    const std::string first = folder.path("quillon.avi");
    captureFrames(first, 2);
    closeCapture();
    captureFrames(first, 3);
    EXPECT_EQ(captureFileName(), folder.path("quillon-2.avi"));
    closeCapture();
    // A file left by an earlier run counts as taken too.
    ASSERT_TRUE(mp3writer::writeFile(folder.path("quillon-3.avi"), {'o', 'l', 'd'}));
    captureFrames(first, 1);
    EXPECT_EQ(captureFileName(), folder.path("quillon-4.avi"));
    closeCapture();

    EXPECT_EQ(mediatest::probeVideo(first).framesRgb.size(), 2u);
    EXPECT_EQ(mediatest::probeVideo(folder.path("quillon-2.avi")).framesRgb.size(), 3u);
    EXPECT_EQ(std::filesystem::file_size(folder.path("quillon-3.avi")), 3u);
    EXPECT_EQ(mediatest::probeVideo(folder.path("quillon-4.avi")).framesRgb.size(), 1u);
}

TEST_F(VideoCaptureTest, FramesWithoutAnOpenCaptureAreDropped)
{
    const std::vector<unsigned char> frame = readBackFrame(0);
    writeCaptureFrame(frame.data());  // nothing open yet
    EXPECT_FALSE(captureIsOpen());

    const std::string file = folder.path("closed.avi");
    captureFrames(file, 2);
    closeCapture();
    const auto size = std::filesystem::file_size(file);
    writeCaptureFrame(frame.data());
    closeCapture();
    EXPECT_EQ(captureFramesWritten(), 2);
    EXPECT_EQ(std::filesystem::file_size(file), size);
    EXPECT_EQ(mediatest::probeVideo(file).framesRgb.size(), 2u);
}

TEST_F(VideoCaptureTest, AFileThatCannotBeCreatedIsRefused)
{
    EXPECT_FALSE(openCapture(folder.path("no-such-folder/quillon.avi"), 25, width, height));
    EXPECT_FALSE(captureIsOpen());
    writeCaptureFrame(readBackFrame(0).data());
}

TEST(CaptureNames, NumberGoesBeforeTheExtension)
{
    const struct {
        const char* name;
        int number;
        const char* expected;
    } cases[] = {
        {"quillon.avi", 1, "quillon.avi"},
        {"quillon.avi", 2, "quillon-2.avi"},
        {"quillon.avi", 13, "quillon-13.avi"},
        {"out/quillon.avi", 3, "out/quillon-3.avi"},
        {"take.one.avi", 2, "take.one-2.avi"},
        {"quillon", 2, "quillon-2"},
        {"v1.0/quillon", 2, "v1.0/quillon-2"},
        {".avi", 2, ".avi-2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(numberedCaptureName(c.name, c.number), c.expected);
    }
}

// The music: silent for the first second, a tone from 1 s to 2 s.
class CaptureAudioTest : public VideoCaptureTest {
protected:
    void SetUp() override
    {
        musicPath = folder.path("music.mp3");
        ASSERT_TRUE(mp3writer::writeFile(musicPath, mediatest::toneMp3(2.0, {{1.0, 2.0}})));
    }

    mediatest::AviContents captureWithMusic(double musicStart, int frames, int framesPerSecond = 25)
    {
        setCaptureAudio(musicPath, musicStart);
        const std::string file = folder.path("with-music.avi");
        std::filesystem::remove(file);
        captureFrames(file, frames, framesPerSecond);
        closeCapture();
        return mediatest::probeVideo(file);
    }

    std::string musicPath;
};

TEST_F(CaptureAudioTest, TheAudioTrackSpansTheVideoExactly)
{
    const struct {
        int frames;
        int framesPerSecond;
        size_t samples;
    } cases[] = {{25, 25, 44100}, {7, 30, 10290}, {3, 24, 5512}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.framesPerSecond);
        mediatest::AviContents avi = captureWithMusic(0.0, c.frames, c.framesPerSecond);
        ASSERT_TRUE(avi.readable) << avi.error;
        ASSERT_TRUE(avi.hasAudio);
        EXPECT_EQ(avi.audioCodec, "pcm_s16le");
        EXPECT_EQ(avi.audioRate, 44100);
        EXPECT_EQ(avi.audioChannels, 2);
        EXPECT_EQ(avi.audio.size() / 2, c.samples);
        EXPECT_EQ(avi.framesRgb.size(), static_cast<size_t>(c.frames));
        EXPECT_EQ(avi.frameRateNum, c.framesPerSecond);
        EXPECT_EQ(avi.frameRateDen, 1);
    }
}

TEST_F(CaptureAudioTest, TheAudioStartsAtTheMusicTimeOfTheFirstFrame)
{
    // From the start of the music: a silent first second, then the tone.
    mediatest::AviContents fromStart = captureWithMusic(0.0, 50);
    ASSERT_EQ(fromStart.audio.size() / 2, 88200u);
    EXPECT_LT(mediatest::rmsLevel(fromStart.audio, 0, 40000), 100.0);
    EXPECT_GT(mediatest::rmsLevel(fromStart.audio, 46000, 40000), 5000.0);

    // A capture that starts one second in (a later scene) hears the tone
    // from its first frame.
    mediatest::AviContents later = captureWithMusic(1.0, 25);
    EXPECT_GT(mediatest::rmsLevel(later.audio, 1000, 40000), 5000.0);

    // Starting before the music leads with silence; running past its end
    // trails with silence, so the track still spans the whole video.
    mediatest::AviContents early = captureWithMusic(-0.5, 100);
    ASSERT_EQ(early.audio.size() / 2, 176400u);
    EXPECT_LT(mediatest::rmsLevel(early.audio, 0, 60000), 100.0);
    EXPECT_GT(mediatest::rmsLevel(early.audio, 68000, 40000), 5000.0);
    EXPECT_LT(mediatest::rmsLevel(early.audio, 135000, 40000), 100.0);
}

TEST_F(CaptureAudioTest, MusicThatCannotBeReadGivesAVideoWithoutSound)
{
    setCaptureAudio(folder.path("missing.mp3"), 0.0);
    const std::string file = folder.path("silent.avi");
    captureFrames(file, 2);
    closeCapture();
    mediatest::AviContents avi = mediatest::probeVideo(file);
    ASSERT_TRUE(avi.readable) << avi.error;
    EXPECT_FALSE(avi.hasAudio);
    EXPECT_EQ(avi.framesRgb.size(), 2u);
}

TEST_F(CaptureAudioTest, MusicGivenAfterOpeningStillReachesTheFile)
{
    // A capture from the start opens its file before the music is known.
    const std::string file = folder.path("late-music.avi");
    ASSERT_TRUE(openCapture(file, 25, width, height));
    setCaptureAudio(musicPath, 1.0);
    writeCaptureFrame(readBackFrame(0).data());
    closeCapture();
    mediatest::AviContents avi = mediatest::probeVideo(file);
    ASSERT_TRUE(avi.hasAudio);
    EXPECT_EQ(avi.audio.size() / 2, 1764u);
}

TEST_F(CaptureAudioTest, H264GoesIntoAnMp4WithAacSoundAsLongAsThePictures)
{
    // 15 frames at 10 per second: the tone starts at the tenth.
    ASSERT_TRUE(setCaptureCodec("h264"));
    setCaptureAudio(musicPath, 0.0);
    captureFrames(folder.path("quillon.avi"), 15, 10);
    EXPECT_EQ(captureFileName(), folder.path("quillon.mp4"));
    closeCapture();
    captureFrames(folder.path("quillon.avi"), 1, 10);
    EXPECT_EQ(captureFileName(), folder.path("quillon-2.mp4"));
    closeCapture();

    mediatest::AviContents mp4 = mediatest::probeVideo(folder.path("quillon.mp4"));
    ASSERT_TRUE(mp4.readable) << mp4.error;
    EXPECT_NE(mp4.format.find("mp4"), std::string::npos);
    EXPECT_EQ(mp4.videoCodec, "h264");
    EXPECT_EQ(mp4.audioCodec, "aac");
    EXPECT_NEAR(mp4.videoSeconds, 1.5, 1e-6);
    // Within one AAC frame, so none of the sound waiting for a whole frame
    // is lost at the end.
    EXPECT_NEAR(mp4.audioSeconds, mp4.videoSeconds, 1024 / 44100.0);
    ASSERT_EQ(mp4.framesRgb.size(), 15u);
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        EXPECT_NEAR(mp4.framePts[n] * mp4.timeBaseNum / double(mp4.timeBaseDen), n / 10.0, 1e-6);
        const std::vector<int> top = mp4.pixel(n, 5, 3);
        const std::vector<int> bottom = mp4.pixel(n, 60, height - 4);
        EXPECT_NEAR(top[0], 255, 8);
        EXPECT_NEAR(top[1], static_cast<unsigned char>(n * 20), 8);
        EXPECT_NEAR(bottom[2], 255, 8);
    }
    // The index comes before the pictures, so playing can start at once.
    std::ifstream in(folder.path("quillon.mp4"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));
    // The sound starts with the first picture: silent to 1 s, then the tone.
    ASSERT_GE(mp4.audio.size() / 2, 60000u);
    EXPECT_LT(mediatest::rmsLevel(mp4.audio, 2000, 38000), 100.0);
    EXPECT_GT(mediatest::rmsLevel(mp4.audio, 46000, 14000), 5000.0);
}
