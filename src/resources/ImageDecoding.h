// Decoding of the show's pictures from bytes in memory: JPEG photographs and
// titles and PNG images with or without alpha. Rows come out first (top) row
// first, exactly as the file stores them.
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
// line packed R, G, B. Greyscale pictures become grey, CMYK ones RGB.
bool decodeJpegPixels(const uint8_t* data, size_t size, uint8_t* pixels);

// Decodes a JPEG into an image of its own (three channels).
bool decodeJpeg(const uint8_t* data, size_t size, DecodedImage& image);

// Decodes a PNG with libpng's transform flags (0, PNG_TRANSFORM_STRIP_ALPHA,
// PNG_TRANSFORM_GRAY_TO_RGB). Whatever the file's colour type and depth, the
// channels come out 8-bit: a palette becomes RGB (RGBA with a transparency
// chunk), grey stays grey (1 channel, 2 with alpha).
bool decodePng(const uint8_t* data, size_t size, int transforms, DecodedImage& image);

// Decodes a JPEG or a PNG, told apart by their first bytes, not by a name;
// a PNG keeps its alpha.
bool decodePicture(const uint8_t* data, size_t size, DecodedImage& image);

} // namespace resources
