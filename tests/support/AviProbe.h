// Reads a video file back with libavformat/libavcodec so capture tests can
// check what a player would see: streams, frame rate, every video frame as
// upright RGB, and the audio track's samples (PCM as stored, AAC decoded).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediatest {

struct AviContents {
    bool readable = false;
    std::string error;
    std::string format;       // container short names, "avi" or "mov,mp4,..."
    std::string videoCodec;   // "mjpeg", "ffv1", "rawvideo", "h264"
    int width = 0;
    int height = 0;
    int frameRateNum = 0;     // of the video stream's average frame rate
    int frameRateDen = 0;
    int timeBaseNum = 0;
    int timeBaseDen = 0;
    std::vector<int64_t> framePts;                // in the video time base
    std::vector<std::vector<uint8_t>> framesRgb;  // upright, 3 bytes a pixel
    bool hasAudio = false;
    std::string audioCodec;
    int audioRate = 0;
    int audioChannels = 0;
    std::vector<int16_t> audio;  // interleaved stereo, as stored or decoded
    // Stream lengths as the container gives them (what ffprobe shows); for
    // a PCM track without one, its samples' length.
    double videoSeconds = 0.0;
    double audioSeconds = 0.0;

    // R, G, B of pixel (x, y) of frame `index`, y from the top.
    std::vector<int> pixel(size_t index, int x, int y) const;
};

AviContents probeVideo(const std::string& path);

} // namespace mediatest
