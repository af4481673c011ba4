// Feeds arbitrary bytes to the JPEG and PNG decoders: a broken picture must
// fail quietly, never crash or read out of bounds.
#include "resources/ImageDecoding.h"

#include <png.h>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resources::DecodedImage image;
    resources::decodePng(data, size, 0, image);
    resources::decodePng(data, size, PNG_TRANSFORM_STRIP_ALPHA, image);
    resources::decodePicture(data, size, image);
    int width = 0, height = 0;
    if (resources::decodeJpegSize(data, size, width, height) && static_cast<int64_t>(width) * height < (1 << 22)) {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
        resources::decodeJpegPixels(data, size, pixels.data());
    }
    return 0;
}
