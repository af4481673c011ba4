#include "resources/ImageDecoding.h"

#include "jpeg/JpegDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace resources {

namespace {

// Pictures larger than this are refused rather than allocated: no show
// picture comes near it, and a corrupt header must not ask for gigabytes.
constexpr int64_t maxPixels = int64_t(1) << 26;

bool sizeIsSane(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width * height <= maxPixels;
}

bool decodeJpegLines(jpeg::JpegDecoder& decoder, uint8_t* pixels)
{
    const int width = decoder.width();
    for (int row = 0; row < decoder.height(); ++row) {
        const uint8_t* line = decoder.readScanLine();
        if (line == nullptr)
            return false;
        uint8_t* out = pixels + static_cast<size_t>(row) * width * 3;
        for (int x = 0; x < width; ++x) {
            const uint8_t* in = line + static_cast<size_t>(x) * decoder.pixelStride();
            out[x * 3 + 0] = in[0];
            out[x * 3 + 1] = in[1];
            out[x * 3 + 2] = in[2];
        }
    }
    return true;
}

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

// Copies at most the bytes that remain; asking past the end is an error,
// which libpng turns into a jump back to the load.
void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position)
        png_error(png, "read past the end of the image");
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

void ignoreWarning(png_structp, png_const_charp) {}
void jumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Holds no C++ objects with destructors across the setjmp, so libpng's
// longjmp skips nothing.
bool readPng(png_structp png, png_infop info, PngSource* source, int transforms, DecodedImage* image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, source, readFromMemory);
    png_set_user_limits(png, 1u << 14, 1u << 14);
    // Palettes, transparency chunks, grey below 8 bits and 16-bit samples
    // all become plain 8-bit channels, so every PNG shows the colours it
    // holds.
    png_read_png(png, info, transforms | PNG_TRANSFORM_EXPAND | PNG_TRANSFORM_STRIP_16, nullptr);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (!sizeIsSane(width, height) || rowBytes != static_cast<size_t>(width) * channels)
        return false;
    png_bytepp rows = png_get_rows(png, info);
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->channels = channels;
    image->pixels.resize(rowBytes * height);
    for (png_uint_32 r = 0; r < height; ++r)
        std::memcpy(image->pixels.data() + r * rowBytes, rows[r], rowBytes);
    return true;
}

} // namespace

bool decodeJpegSize(const uint8_t* data, size_t size, int& width, int& height)
{
    jpeg::JpegDecoder decoder(data, size);
    if (!decoder.readHeader())
        return false;
    width = decoder.width();
    height = decoder.height();
    return true;
}

bool decodeJpegPixels(const uint8_t* data, size_t size, uint8_t* pixels)
{
    jpeg::JpegDecoder decoder(data, size);
    if (!decoder.readHeader() || !sizeIsSane(decoder.width(), decoder.height()))
        return false;
    return decodeJpegLines(decoder, pixels);
}

bool decodeJpeg(const uint8_t* data, size_t size, DecodedImage& image)
{
    jpeg::JpegDecoder decoder(data, size);
    if (!decoder.readHeader() || !sizeIsSane(decoder.width(), decoder.height()))
        return false;
    DecodedImage result;
    result.width = decoder.width();
    result.height = decoder.height();
    result.channels = 3;
    result.pixels.assign(static_cast<size_t>(result.width) * result.height * 3, 0);
    if (!decodeJpegLines(decoder, result.pixels.data()))
        return false;
    image = std::move(result);
    return true;
}

bool decodePng(const uint8_t* data, size_t size, int transforms, DecodedImage& image)
{
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngSource source{data, size, 0};
    DecodedImage result;
    const bool ok = readPng(png, info, &source, transforms, &result);
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok)
        image = std::move(result);
    return ok;
}

bool decodePicture(const uint8_t* data, size_t size, DecodedImage& image)
{
    const bool png = data != nullptr && size >= 8 && png_sig_cmp(data, 0, 8) == 0;
    return png ? decodePng(data, size, 0, image) : decodeJpeg(data, size, image);
}

} // namespace resources
