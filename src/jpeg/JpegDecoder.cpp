#include "jpeg/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace jpeg {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return;
// it jumps back into the decoder call that was running.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Nothing is printed, but warnings (level -1) are still counted as libjpeg's
// own handler counts them: a stream cut short only warns, and the count is
// how the decoder tells such a picture from a whole one.
void countWarning(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}
void ignoreOutput(j_common_ptr) {}

} // namespace

struct JpegDecoder::State {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool created = false;
    bool started = false;
    bool cmyk = false;          // libjpeg delivers C, M, Y, K; turned into RGB here
    bool inkInverted = false;   // Adobe's CMYK: 255 means no ink
    std::vector<uint8_t> decoded; // one line as libjpeg writes it
    std::vector<uint8_t> line;    // the same line as R, G, B
};

JpegDecoder::JpegDecoder(const uint8_t* data, size_t size) : state_(new State)
{
    state_->data = data;
    state_->size = size;
}

JpegDecoder::~JpegDecoder()
{
    if (state_->created)
        jpeg_destroy_decompress(&state_->info);
}

// The libjpeg calls live in functions that hold no C++ objects with
// destructors, so the longjmp of an error skips nothing that needs cleaning.
static bool startDecompress(JpegDecoder::State& s);

bool JpegDecoder::readHeader()
{
    if (state_->data == nullptr || state_->size == 0 || state_->created) {
        failed_ = true;
        return false;
    }
    if (!startDecompress(*state_)) {
        failed_ = true;
        return false;
    }
    width_ = static_cast<int>(state_->info.output_width);
    height_ = static_cast<int>(state_->info.output_height);
    components_ = 3;
    state_->decoded.resize(static_cast<size_t>(width_) * state_->info.output_components);
    state_->line.resize(static_cast<size_t>(width_) * 3);
    return true;
}

static bool startDecompress(JpegDecoder::State& s)
{
    s.info.err = jpeg_std_error(&s.errors.base);
    s.errors.base.error_exit = jumpOnError;
    s.errors.base.emit_message = countWarning;
    s.errors.base.output_message = ignoreOutput;
    if (setjmp(s.errors.jump))
        return false;
    jpeg_create_decompress(&s.info);
    s.created = true;
    jpeg_mem_src(&s.info, s.data, static_cast<unsigned long>(s.size));
    if (jpeg_read_header(&s.info, TRUE) != JPEG_HEADER_OK)
        return false;
    // Greyscale and colour pictures come out as RGB; libjpeg cannot turn
    // CMYK into RGB, so those come out as CMYK and are converted per line.
    s.cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.inkInverted = s.info.saw_Adobe_marker;
    s.info.out_color_space = s.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&s.info);
    s.started = true;
    return s.info.output_width > 0 && s.info.output_height > 0;
}

static bool readOneLine(JpegDecoder::State& s)
{
    if (setjmp(s.errors.jump))
        return false;
    JSAMPROW row = s.cmyk ? s.decoded.data() : s.line.data();
    return jpeg_read_scanlines(&s.info, &row, 1) == 1;
}

// Each colour is what its ink and the black leave of white. Files marked by
// Adobe (Photoshop's, most CMYK JPEGs) store the inks inverted.
static void cmykLineToRgb(JpegDecoder::State& s)
{
    const size_t pixels = s.line.size() / 3;
    for (size_t x = 0; x < pixels; ++x) {
        const uint8_t* in = &s.decoded[x * 4];
        const int k = s.inkInverted ? in[3] : 255 - in[3];
        for (int c = 0; c < 3; ++c) {
            const int paper = s.inkInverted ? in[c] : 255 - in[c];
            s.line[x * 3 + c] = static_cast<uint8_t>((paper * k + 127) / 255);
        }
    }
}

const uint8_t* JpegDecoder::readScanLine()
{
    if (failed_ || !state_->started || state_->info.output_scanline >= state_->info.output_height)
        return nullptr;
    if (!readOneLine(*state_)) {
        failed_ = true;
        return nullptr;
    }
    // libjpeg fills a truncated stream with grey and only warns; a picture
    // cut short counts as corrupt.
    if (state_->errors.base.num_warnings > 0) {
        failed_ = true;
        return nullptr;
    }
    if (state_->cmyk)
        cmykLineToRgb(*state_);
    return state_->line.data();
}

} // namespace jpeg
