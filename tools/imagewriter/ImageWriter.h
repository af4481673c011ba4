// Encodes pictures for the show's data: PNG with 1 to 4 channels and
// baseline JPEG with three. Rows are given first (top) row first. The output
// depends only on the input, so generated data is the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagewriter {

std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels);
std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality = 90);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace imagewriter
