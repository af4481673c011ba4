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

// Reads `name`, decodes it with `decode` and uploads it to the bound
// texture, or names the picture when it cannot be decoded.
template <class Decode>
void loadTexture(const ResourceManager& resources, const char* name, Decode decode)
{
    const FileBytes bytes = pictureBytes(resources, name);
    resources::DecodedImage image;
    if (decode(begin(bytes), size_t(bytes.size), image))
        resources::uploadImage(image);
    else
        reportUndecodable(bytes, name);
}

} // namespace

void loadJpegTexture(const ResourceManager& resources, const char* name)
{
    loadTexture(resources, name, [](const uint8_t* data, size_t size, resources::DecodedImage& image) {
        return resources::decodeJpeg(data, size, image);
    });
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
    loadTexture(resources, name, [transforms](const uint8_t* data, size_t size, resources::DecodedImage& image) {
        return resources::decodePng(data, size, transforms, image);
    });
}

void loadPictureTexture(const ResourceManager& resources, const char* name)
{
    loadTexture(resources, name, [](const uint8_t* data, size_t size, resources::DecodedImage& image) {
        return resources::decodePicture(data, size, image);
    });
}
