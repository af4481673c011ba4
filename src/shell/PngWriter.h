// Saves a frame read back from OpenGL as a PNG picture: 8-bit RGB, rows
// upright. The alpha of the frame buffer says nothing about the picture
// (it is whatever blending left), so it is not stored.
#pragma once

#include <string>

namespace shell {

// `rgba`: width x height pixels of R, G, B, A bytes, bottom row first, as
// glReadPixels returns them. A shot takes the place of nothing but an empty
// file or an earlier PNG: false with `error` when `path` names anything
// else (a video, a device, a link, a folder) or the file cannot be written.
// A failed shot leaves `path` as it was and no file of its own behind.
bool writePng(const std::string& path, int width, int height, const unsigned char* rgba, std::string& error);

} // namespace shell
