#include "platform/Mp3Decoder.h"

#include <mpg123.h>

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace platform {

struct Mp3Source {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t offset = 0;
};

namespace {

mpg123_handle* asHandle(void* handle) { return static_cast<mpg123_handle*>(handle); }

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// mpg123 reads through these instead of a file descriptor, so the stream
// comes straight from the block already in memory.
ssize_t readMemory(void* handle, void* buffer, size_t bytes)
{
    auto* reader = static_cast<Mp3Source*>(handle);
    size_t count = std::min(bytes, reader->size - reader->offset);
    std::copy(reader->data + reader->offset, reader->data + reader->offset + count, static_cast<uint8_t*>(buffer));
    reader->offset += count;
    return static_cast<ssize_t>(count);
}

off_t seekMemory(void* handle, off_t offset, int whence)
{
    auto* reader = static_cast<Mp3Source*>(handle);
    off_t base = whence == SEEK_SET ? 0
               : whence == SEEK_CUR ? static_cast<off_t>(reader->offset)
               : whence == SEEK_END ? static_cast<off_t>(reader->size)
                                    : -1;
    if (base < 0 || offset < -base || offset > static_cast<off_t>(reader->size) - base)
        return -1;
    reader->offset = static_cast<size_t>(base + offset);
    return static_cast<off_t>(reader->offset);
}

} // namespace

Mp3Decoder::Mp3Decoder() : source_(std::make_unique<Mp3Source>()) {}

Mp3Decoder::~Mp3Decoder()
{
    if (handle_) {
        mpg123_close(asHandle(handle_));
        mpg123_delete(asHandle(handle_));
    }
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(const uint8_t* data, size_t size, std::string& error)
{
    initLibrary();
    std::unique_ptr<Mp3Decoder> decoder(new Mp3Decoder());
    decoder->source_->data = data;
    decoder->source_->size = data ? size : 0;

    int result = MPG123_OK;
    mpg123_handle* mh = mpg123_new(nullptr, &result);
    if (!mh) {
        error = mpg123_plain_strerror(result);
        return nullptr;
    }
    decoder->handle_ = mh;

    // Only one output format is allowed, so mpg123 converts whatever the
    // file holds to it. Quiet: problems come back as results, not prints.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(mh);
    mpg123_format(mh, sampleRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_replace_reader_handle(mh, readMemory, seekMemory, nullptr) != MPG123_OK
        || mpg123_open_handle(mh, decoder->source_.get()) != MPG123_OK) {
        error = mpg123_strerror(mh);
        return nullptr;
    }
    // A full scan makes the length exact and gives seeking a complete frame
    // index, so a seek lands on the sample asked for.
    long rate = 0;
    int channelCount = 0, encoding = 0;
    if (mpg123_scan(mh) != MPG123_OK || mpg123_getformat(mh, &rate, &channelCount, &encoding) != MPG123_OK) {
        error = mpg123_strerror(mh);
        return nullptr;
    }
    if (rate != sampleRate || channelCount != channels || encoding != MPG123_ENC_SIGNED_16) {
        error = "unsupported output format";
        return nullptr;
    }
    off_t length = mpg123_length(mh);
    if (length <= 0) {
        error = "no audio frames";
        return nullptr;
    }
    decoder->length_ = length;
    return decoder;
}

int64_t Mp3Decoder::seek(int64_t sample)
{
    sample = std::clamp<int64_t>(sample, 0, length_);
    off_t landed = mpg123_seek(asHandle(handle_), static_cast<off_t>(sample), SEEK_SET);
    position_ = landed >= 0 ? landed : position_;
    return position_;
}

size_t Mp3Decoder::read(int16_t* out, size_t samples)
{
    const size_t frameBytes = sizeof(int16_t) * channels;
    size_t filled = 0;
    while (filled < samples) {
        size_t done = 0;
        int result = mpg123_read(asHandle(handle_), reinterpret_cast<unsigned char*>(out + filled * channels),
                                 (samples - filled) * frameBytes, &done);
        filled += done / frameBytes;
        // NEW_FORMAT only repeats the one format allowed; anything else but
        // OK is the end or a frame mpg123 cannot use.
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
        if (done == 0 && result == MPG123_OK)
            break;
    }
    position_ += static_cast<int64_t>(filled);
    return filled;
}

} // namespace platform
