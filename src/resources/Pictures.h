// Pictures from the data: JPEG and PNG files read through the resource
// manager (data directory or pack alike), decoded, and uploaded into the
// caller's bound texture or handed over as pixels.
//
// The caller has generated and bound a texture on the target the size rule
// gives (textureTargetFor). A file that cannot be read or decoded leaves the
// bound texture untouched. A missing file is quiet (scenes probe for
// optional pictures); the texture loaders name a file that is there but
// cannot be decoded on standard error, since their callers cannot tell.
#pragma once

class ResourceManager;

void loadJpegTexture(const ResourceManager& resources, const char* name);
// 0 with the size, or -1 when the file cannot be read or decoded.
int jpegSize(const ResourceManager& resources, const char* name, int& width, int& height);
// Fills width x height x 3 bytes of `pixels`; 0, or -1 on failure.
int jpegPixels(const ResourceManager& resources, const char* name, unsigned char* pixels);
// `transforms`: libpng's flags (0, or 2 to strip the alpha channel).
void loadPngTexture(const ResourceManager& resources, const char* name, int transforms);
// A JPEG or a PNG (alpha kept), whichever the file's first bytes say it is.
void loadPictureTexture(const ResourceManager& resources, const char* name);
