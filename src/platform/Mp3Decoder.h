// Decodes an MP3 held in memory with libmpg123, always to interleaved signed
// 16-bit stereo at 44 100 Hz (mono is doubled, other rates resampled).
// The whole stream is scanned when it is opened, so its length is exact and
// seeking lands on the requested sample; encoder delay and padding recorded
// in the file are removed (gapless), so sample 0 is the first sample that
// was encoded.
//
// A "sample" here is one left/right pair. The decoder does not own the
// bytes: they must stay valid and unchanged for its lifetime. Not thread
// safe; callers that share one between threads lock around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct Mp3Source;  // the bytes and the read offset mpg123 reads through

class Mp3Decoder {
public:
    static constexpr int sampleRate = 44100;
    static constexpr int channels = 2;

    // Null with `error` filled when the bytes hold no decodable MP3 stream.
    static std::unique_ptr<Mp3Decoder> open(const uint8_t* data, size_t size, std::string& error);

    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    int64_t lengthSamples() const { return length_; }
    // Moves to `sample`, clamped to 0 .. length; returns where it landed.
    int64_t seek(int64_t sample);
    // Position of the next sample read.
    int64_t position() const { return position_; }
    // Fills `out` with up to `samples` pairs; returns how many were decoded,
    // fewer only at the end of the stream (or on a broken frame there).
    size_t read(int16_t* out, size_t samples);

private:
    Mp3Decoder();

    std::unique_ptr<Mp3Source> source_;
    void* handle_ = nullptr;  // mpg123_handle
    int64_t length_ = 0;
    int64_t position_ = 0;
};

} // namespace platform
