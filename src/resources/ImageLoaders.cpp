// The resource manager's image loaders: bytes from the data directory or the
// pack, decoded and uploaded into the caller's bound texture.
#include "resources/ResourceManager.h"

#include "resources/ImageDecoding.h"
#include "resources/TextureUpload.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// A picture's bytes. A file missing from the data directory is not an error
// worth a message here (callers probe for optional pictures); a pack miss
// has already been reported by the pack reader.
std::vector<uint8_t> pictureBytes(const ResourceManager& resources, const char* name)
{
    if (resources.usePack) {
        FileBytes bytes = resources.readBytes(name);
        if (!bytes)
            return {};
        return std::vector<uint8_t>(bytes.data.get(), bytes.data.get() + bytes.size);
    }
    char path[ResourceManager::pathSize];
    if (!resources.findFile(name, path))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

void ResourceManager::loadJpegTexture(const char* name) const
{
    const std::vector<uint8_t> bytes = pictureBytes(*this, name);
    resources::DecodedImage image;
    if (resources::decodeJpeg(bytes.data(), bytes.size(), image))
        resources::uploadImage(image);
}

int ResourceManager::jpegSize(const char* name, int& width, int& height) const
{
    const std::vector<uint8_t> bytes = pictureBytes(*this, name);
    return resources::decodeJpegSize(bytes.data(), bytes.size(), width, height) ? 0 : -1;
}

int ResourceManager::jpegPixels(const char* name, unsigned char* pixels) const
{
    const std::vector<uint8_t> bytes = pictureBytes(*this, name);
    return resources::decodeJpegPixels(bytes.data(), bytes.size(), pixels) ? 0 : -1;
}

void ResourceManager::loadPngTexture(const char* name, int transforms) const
{
    const std::vector<uint8_t> bytes = pictureBytes(*this, name);
    resources::DecodedImage image;
    if (resources::decodePng(bytes.data(), bytes.size(), transforms, image))
        resources::uploadImage(image);
}
