#include "imagewriter/ImageWriter.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace imagewriter {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

int pngColourType(int channels)
{
    switch (channels) {
    case 1: return PNG_COLOR_TYPE_GRAY;
    case 2: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case 3: return PNG_COLOR_TYPE_RGB;
    case 4: return PNG_COLOR_TYPE_RGBA;
    }
    throw std::invalid_argument("PNG images have 1 to 4 channels");
}

} // namespace

std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    const int colourType = pngColourType(channels);
    if (pixels.size() != static_cast<size_t>(width) * height * channels)
        throw std::invalid_argument("PNG pixel buffer does not match its size");
    return encodePngRows(width, height, colourType, 8, pixels, {}, {});
}

std::vector<uint8_t> encodePngRows(int width, int height, int colourType, int bitDepth, const std::vector<uint8_t>& rows,
                                   const std::vector<uint8_t>& paletteRgb, const std::vector<uint8_t>& opacity)
{
    if (height <= 0 || rows.size() % height != 0)
        throw std::invalid_argument("PNG rows do not match the height");
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < paletteRgb.size(); i += 3)
        palette.push_back({paletteRgb[i], paletteRgb[i + 1], paletteRgb[i + 2]});
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not encode the image");
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!opacity.empty())
        png_set_tRNS(png, info, opacity.data(), static_cast<int>(opacity.size()), nullptr);
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / height;
    for (int row = 0; row < height; ++row)
        png_write_row(png, rows.data() + static_cast<size_t>(row) * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality)
{
    return encodeJpegComponents(width, height, 3, rgb, quality);
}

std::vector<uint8_t> encodeJpegComponents(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                          int quality)
{
    const J_COLOR_SPACE space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    if ((components != 1 && components != 3 && components != 4) ||
        pixels.size() != static_cast<size_t>(width) * height * components)
        throw std::invalid_argument("JPEG pixel buffer does not match its size");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(pixels.data() + static_cast<size_t>(info.next_scanline) * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

std::vector<uint8_t> encodeBmp(int width, int height, const std::vector<uint8_t>& rgb)
{
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3)
        throw std::invalid_argument("BMP pixel buffer does not match its size");
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    constexpr uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    auto put16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(headerBytes + pixelBytes);   // file size
    put32(0);                          // reserved
    put32(headerBytes);                // where the pixels start
    put32(40);                         // BITMAPINFOHEADER
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));   // positive: bottom row first
    put16(1);                          // planes
    put16(24);                         // bits per pixel
    put32(0);                          // BI_RGB, no compression
    put32(pixelBytes);
    put32(2835);                       // 72 dots per inch, in dots per metre
    put32(2835);
    put32(0);                          // no palette
    put32(0);
    for (int row = height - 1; row >= 0; --row) {
        const uint8_t* pixel = rgb.data() + static_cast<size_t>(row) * width * 3;
        for (int x = 0; x < width; ++x, pixel += 3) {
            out.push_back(pixel[2]);
            out.push_back(pixel[1]);
            out.push_back(pixel[0]);
        }
        out.resize(out.size() + (rowBytes - static_cast<uint32_t>(width) * 3), 0);
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace imagewriter
