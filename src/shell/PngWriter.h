// Saves a frame read back from OpenGL as a PNG picture: 8-bit RGB, rows
// upright. The alpha of the frame buffer says nothing about the picture
// (it is whatever blending left), so it is not stored.
#pragma once

#include <string>

namespace shell {

// `rgba`: width x height pixels of R, G, B, A bytes, bottom row first, as
// glReadPixels returns them. False with `error` when the file cannot be
// written; no half-written file is left then.
bool writePng(const std::string& path, int width, int height, const unsigned char* rgba, std::string& error);

} // namespace shell
