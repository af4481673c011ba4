// Encodes pictures for the show's data: PNG with 1 to 4 channels, baseline
// JPEG with three, and uncompressed 24-bit BMP. Rows are given first (top)
// row first. The output depends only on the input, so generated data is the
// same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagewriter {

std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels);
std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality = 90);
// A Windows bitmap: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes, BI_RGB, 24
// bits), then the rows bottom row first as the format has them, each in
// blue, green, red order and padded to a multiple of four bytes.
std::vector<uint8_t> encodeBmp(int width, int height, const std::vector<uint8_t>& rgb);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace imagewriter
