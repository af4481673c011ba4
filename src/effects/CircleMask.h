// "CircleMask": a 512 x 512 luminance texture holding a white disc of radius
// 255 around (256, 256) on black, with a black one-texel frame so that
// clamped lookups outside the disc stay black.
#pragma once

#include <cstdint>
#include <vector>

// The registry's "CircleMask" object: the mask's GL texture name.
struct MaskTexture {
    unsigned texture;
};

namespace resources {

// The mask's texels, row after row (512 x 512 bytes).
std::vector<uint8_t> circleMaskTexels();

// Generates and uploads the mask texture; returns its GL name.
unsigned createCircleMaskTexture();

} // namespace resources
