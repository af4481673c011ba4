// glint-tool image FILE: what the show's loaders make of a picture: its
// width, height, number of components and the texture target they choose.
#include "glint-tool/ToolCommand.h"
#include "jpeg/JpegDecoder.h"
#include "resources/ImageDecoding.h"
#include "resources/TextureUpload.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool isPng(const std::vector<uint8_t>& bytes)
{
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), signature, 8) == 0;
}

int runImage(const tool::Args& args)
{
    if (args.size() != 1)
        return tool::usageError("image");
    std::ifstream in(args[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "glint-tool image: cannot open %s\n", args[0].c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int width = 0, height = 0, components = 0;
    const char* kind = "jpeg";
    if (isPng(bytes)) {
        kind = "png";
        resources::DecodedImage image;
        if (!resources::decodePng(bytes.data(), bytes.size(), 0, image)) {
            std::fprintf(stderr, "glint-tool image: %s is not a PNG the show can load\n", args[0].c_str());
            return 1;
        }
        width = image.width;
        height = image.height;
        components = image.channels;
    } else {
        jpeg::JpegDecoder decoder(bytes.data(), bytes.size());
        if (!decoder.readHeader()) {
            std::fprintf(stderr, "glint-tool image: %s is neither a PNG nor a readable JPEG\n", args[0].c_str());
            return 1;
        }
        width = decoder.width();
        height = decoder.height();
        components = decoder.components();
    }
    const bool rectangle = resources::textureTargetFor(width, height) == resources::textureRectangle;
    std::printf("format %s\nwidth %d\nheight %d\ncomponents %d\ntarget %s\n", kind, width, height, components,
                rectangle ? "GL_TEXTURE_RECTANGLE" : "GL_TEXTURE_2D");
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("image", "image FILE - size, components and texture target of a JPEG or PNG", runImage);
