#include "shell/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace shell {

namespace {

// libpng reports errors by longjmp; everything the jump skips over must be
// plain data, so the rows are prepared before the writer starts.
bool encode(std::FILE* file, int width, int height, std::vector<png_bytep>& rows, std::string& error)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "libpng could not write it";
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Four bytes in, three out: libpng drops the filler byte after each pixel.
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Whether a shot may take the place of what `path` names now: nothing, or a
// regular file that is empty or already a PNG (an earlier shot). Anything
// else (a video, a device, a link, a folder) is refused.
bool mayReplace(const std::string& path, std::string& error)
{
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0)
        return true;
    if (!S_ISREG(status.st_mode)) {
        error = "it exists and is not a regular file; a shot never replaces it";
        return false;
    }
    unsigned char signature[8] = {};
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    const size_t read = existing ? std::fread(signature, 1, sizeof signature, existing) : 0;
    if (existing)
        std::fclose(existing);
    if (status.st_size == 0 || (read == sizeof signature && png_sig_cmp(signature, 0, 8) == 0))
        return true;
    error = "it exists and is not a PNG picture; a shot never replaces it";
    return false;
}

// A new file next to `path` that nobody else can have made, with the
// permissions an ordinary new file gets.
int createPartFile(const std::string& path, std::string& partPath)
{
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".part-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return -1;
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    partPath = name.data();
    return fd;
}

} // namespace

bool writePng(const std::string& path, int width, int height, const unsigned char* rgba, std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "empty picture";
        return false;
    }
    if (!mayReplace(path, error))
        return false;
    // The picture is written beside its place and moved there once whole, so
    // a failed shot leaves an earlier picture as it was and removes only the
    // file it made itself.
    std::string partPath;
    const int fd = createPartFile(path, partPath);
    std::FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!file) {
        error = std::strerror(errno);
        if (fd >= 0) {
            close(fd);
            std::remove(partPath.c_str());
        }
        return false;
    }
    // The read-back starts at the bottom row; the picture starts at the top.
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(rgba + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 4);
    bool written = encode(file, width, height, rows, error);
    if (std::fclose(file) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    if (written && std::rename(partPath.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        written = false;
    }
    if (!written)
        std::remove(partPath.c_str());
    return written;
}

} // namespace shell
