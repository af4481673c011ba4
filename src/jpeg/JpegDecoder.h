// Baseline JPEG decoding for the image loaders. The decoder reads a JPEG held
// in memory: first the header (size), then the image one scan line at a
// time, always as R, G, B: greyscale pictures come out grey, CMYK ones
// converted. Any corrupt data ends decoding with
// `failed()` set; nothing is printed, because a broken picture must not
// interrupt the show.
//
// The decoder does not own the data it reads; the block must outlive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace jpeg {

class JpegDecoder {
public:
    JpegDecoder(const uint8_t* data, size_t size);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads the header and prepares decoding; false when the data is not a
    // readable JPEG.
    bool readHeader();
    int width() const { return width_; }
    int height() const { return height_; }
    // Components of each delivered pixel: 3 (R, G, B) whatever the file holds.
    int components() const { return components_; }
    // Bytes from one pixel to the next in a scan line.
    int pixelStride() const { return components_; }

    // The next scan line (width() pixels at pixelStride() bytes), or null when
    // all lines are read or the data turned out corrupt. Valid until the
    // next call.
    const uint8_t* readScanLine();

    bool failed() const { return failed_; }

    struct State; // libjpeg's state, opaque to users

private:
    std::unique_ptr<State> state_;
    int width_ = 0;
    int height_ = 0;
    int components_ = 0;
    bool failed_ = false;
};

} // namespace jpeg
