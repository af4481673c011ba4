// Uploading decoded pictures into the texture the caller has bound.
//
// The target rule shared by every upload and every render target: both sizes
// powers of two give GL_TEXTURE_2D, anything else the rectangle target
// (addressed in texels). Callers bind a texture on the same target first.
#pragma once

#include "resources/ImageDecoding.h"

namespace resources {

constexpr unsigned textureRectangle = 0x84F5; // GL_TEXTURE_RECTANGLE(_NV)

bool isPowerOfTwo(int value);
unsigned textureTargetFor(int width, int height);

// GL_LINEAR filters, no mipmaps, rows as stored; internal format = format,
// chosen by channel count (1 luminance, 2 luminance + alpha, 3 RGB, 4 RGBA).
// Returns false (and uploads nothing) for any other channel count.
bool uploadImage(const DecodedImage& image);

} // namespace resources
