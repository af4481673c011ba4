// Encodes pictures for the show's data: PNG with 1 to 4 channels, baseline
// JPEG (RGB, and greyscale or CMYK for tests), and uncompressed 24-bit BMP.
// Rows are given first (top) row first. The output depends only on the
// input, so generated data is the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagewriter {

std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels);
// A PNG of libpng's `colourType` at `bitDepth` from rows packed as the file
// stores them (big-endian 16-bit samples, several small ones a byte), with
// a palette (R, G, B triples) and a transparency chunk when given: the kinds
// of PNG other programs write.
std::vector<uint8_t> encodePngRows(int width, int height, int colourType, int bitDepth, const std::vector<uint8_t>& rows,
                                   const std::vector<uint8_t>& paletteRgb = {},
                                   const std::vector<uint8_t>& opacity = {});
std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality = 90);
// A JPEG of 1 (greyscale), 3 (RGB) or 4 (CMYK, stored as given and marked
// as Adobe's, whose inks are inverted: 255 is no ink) components a pixel.
std::vector<uint8_t> encodeJpegComponents(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                          int quality = 90);
// A Windows bitmap: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes, BI_RGB, 24
// bits), then the rows bottom row first as the format has them, each in
// blue, green, red order and padded to a multiple of four bytes.
std::vector<uint8_t> encodeBmp(int width, int height, const std::vector<uint8_t>& rgb);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace imagewriter
