// The music as a video file's audio track, for VideoWriter: stereo at
// 44 100 Hz from the music time of the first video frame, silent before the
// music starts and after it ends, so the track always spans the whole video.
//
// Two encodings: 16-bit PCM, one packet per video frame (the AVI files), or
// AAC from FFmpeg's own encoder (the MP4 files), which takes planar float in
// frames of a fixed size (1024 samples), so the samples wait in a buffer
// until a frame is full; finish() sends the short last frame and drains the
// encoder.
//
// Packets leave through the writer's callback with their stream index and
// timestamps in the stream's time base, ready for the container.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct AVFormatContext;
struct AVPacket;

namespace platform {

struct AudioTrack;

class VideoSoundTrack {
public:
    // Writes one packet into the file; false with `error` filled when it
    // could not be written.
    using PacketOut = std::function<bool(AVPacket* packet, std::string& error)>;

    // Reads and decodes the music and adds its stream to `container` (before
    // its header is written). Null with `warning` filled when the music
    // cannot be read or decoded, or the stream cannot be set up: the video
    // is then written without sound.
    static std::unique_ptr<VideoSoundTrack> open(const AudioTrack& audio, bool aac, AVFormatContext* container,
                                                 std::string& warning);

    ~VideoSoundTrack();
    VideoSoundTrack(const VideoSoundTrack&) = delete;
    VideoSoundTrack& operator=(const VideoSoundTrack&) = delete;

    // Adds the track's samples up to `endSample` (from the first frame).
    bool writeUntil(int64_t endSample, const PacketOut& out, std::string& error);
    // Encodes what still waits in the buffer and the encoder.
    bool finish(const PacketOut& out, std::string& error);

private:
    struct State;

    VideoSoundTrack();
    bool writePcm(int64_t count, const PacketOut& out, std::string& error);
    bool encodeAac(bool last, const PacketOut& out, std::string& error);
    bool drainAac(const PacketOut& out, std::string& error);

    std::unique_ptr<State> state_;
};

} // namespace platform
