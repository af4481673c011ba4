#include "resources/Pictures.h"

#include "resources/ImageDecoding.h"
#include "resources/ResourceManager.h"
#include "resources/TextureUpload.h"

#include <cstdio>

namespace {

// A picture's bytes. A file missing from the data directory is not an error
// worth a message here (callers probe for optional pictures); a pack miss
// has already been reported by the pack reader.
FileBytes pictureBytes(const ResourceManager& resources, const char* name)
{
    return resources.readBytes(name, nullptr);
}

const uint8_t* begin(const FileBytes& bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.data.get());
}

void reportUndecodable(const FileBytes& bytes, const char* name)
{
    if (bytes)
        std::fprintf(stderr, "%s: the picture cannot be decoded; its texture stays empty\n", name);
}

} // namespace

void loadJpegTexture(const ResourceManager& resources, const char* name)
{
    const FileBytes bytes = pictureBytes(resources, name);
    resources::DecodedImage image;
    if (resources::decodeJpeg(begin(bytes), size_t(bytes.size), image))
        resources::uploadImage(image);
    else
        reportUndecodable(bytes, name);
}

int jpegSize(const ResourceManager& resources, const char* name, int& width, int& height)
{
    const FileBytes bytes = pictureBytes(resources, name);
    return resources::decodeJpegSize(begin(bytes), size_t(bytes.size), width, height) ? 0 : -1;
}

int jpegPixels(const ResourceManager& resources, const char* name, unsigned char* pixels)
{
    const FileBytes bytes = pictureBytes(resources, name);
    return resources::decodeJpegPixels(begin(bytes), size_t(bytes.size), pixels) ? 0 : -1;
}

void loadPngTexture(const ResourceManager& resources, const char* name, int transforms)
{
    const FileBytes bytes = pictureBytes(resources, name);
    resources::DecodedImage image;
    if (resources::decodePng(begin(bytes), size_t(bytes.size), transforms, image))
        resources::uploadImage(image);
    else
        reportUndecodable(bytes, name);
}

void loadPictureTexture(const ResourceManager& resources, const char* name)
{
    const FileBytes bytes = pictureBytes(resources, name);
    resources::DecodedImage image;
    if (resources::decodePicture(begin(bytes), size_t(bytes.size), image))
        resources::uploadImage(image);
    else
        reportUndecodable(bytes, name);
}
