// Writes a video file with FFmpeg: one video stream at a fixed frame rate
// (time base 1 / fps, so frame n is sample n) and, when asked, the music as
// a stereo audio track in step with the pictures.
//
// Frames come as the show reads them back from OpenGL: width x height
// pixels of B, G, R, A bytes, bottom row first. They are stored upright.
// Codecs by name: "mjpeg" (high quality), "ffv1" (lossless) and "rawvideo"
// (uncompressed 32-bit, kept bottom-up as Video for Windows expects, with
// the header saying so) go into an AVI with 16-bit PCM sound; "h264" goes
// into an MP4 with AAC sound and its index at the front, a file that
// browsers and phones play.
//
// finish() (or the destructor) drains the encoder and writes the index, so
// a capture stopped early is still a complete file. After that, or after a
// write error, frames are dropped. A disk that fills up is a write error
// found before anything fails to be written: the writer keeps room on the
// disk for the next packet and the index beyond the file's end, so the file
// can always be completed with every frame that went in.
//
// Not thread safe: one thread at a time uses a writer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct VideoFormat {
    int width = 0;
    int height = 0;
    int framesPerSecond = 25;
    std::string codec = "mjpeg";
};

struct AudioTrack {
    std::string mp3Path;        // empty: no audio track
    double startSeconds = 0.0;  // music time at frame 0; below 0 leads with silence
};

// The codec names this build can write, the default first.
std::vector<std::string> videoCodecNames();
bool isVideoCodecName(const std::string& name);
// The extension (and container) of files written with `codec`: "avi" or
// "mp4".
std::string videoFileExtension(const std::string& codec);

class VideoWriter {
public:
    // Creates (or truncates) `path`. Null with `error` filled when the codec
    // or file cannot be set up. An audio file that cannot be read or decoded
    // is no error: the video is written without sound and `warning` says why.
    static std::unique_ptr<VideoWriter> open(const std::string& path, const VideoFormat& format,
                                             const AudioTrack& audio, std::string& error, std::string& warning);

    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // Appends one frame (width x height x 4 bytes) and the audio that plays
    // during it. False when it was dropped (the reason is on standard error):
    // this and every later frame.
    bool writeFrame(const uint8_t* pixels);
    // Completes the file; true when it is complete (index written) with
    // every frame that writeFrame accepted. Idempotent.
    bool finish();

    int64_t framesWritten() const { return framesWritten_; }
    bool hasAudio() const;

private:
    struct State;

    VideoWriter();
    bool encode();
    bool fail(const std::string& why);

    std::unique_ptr<State> state_;
    int64_t framesWritten_ = 0;
    bool open_ = false;  // header written, trailer not yet
    bool failed_ = false;  // a frame was dropped
    bool complete_ = false;
};

} // namespace platform
