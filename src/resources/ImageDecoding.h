// Decoding of the show's pictures from bytes in memory: JPEG photographs and
// titles (three components) and PNG images with or without alpha. Rows come
// out first (top) row first, exactly as the file stores them.
//
// Failures are quiet: a picture that cannot be decoded yields false and no
// pixels, never a message or a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<uint8_t> pixels; // width x height x channels bytes
};

// The size of a JPEG from its header.
bool decodeJpegSize(const uint8_t* data, size_t size, int& width, int& height);

// Decodes a JPEG into `pixels`, which holds width x height x 3 bytes: each
// line packed R, G, B. Images with another number of components are read
// but not converted (their lines are skipped): the show's pictures all have
// three.
bool decodeJpegPixels(const uint8_t* data, size_t size, uint8_t* pixels);

// Decodes a JPEG into an image of its own (three channels).
bool decodeJpeg(const uint8_t* data, size_t size, DecodedImage& image);

// Decodes a PNG with libpng's transform flags (0, or PNG_TRANSFORM_STRIP_ALPHA).
bool decodePng(const uint8_t* data, size_t size, int transforms, DecodedImage& image);

} // namespace resources
