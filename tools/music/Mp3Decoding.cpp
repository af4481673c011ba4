#include "music/Mp3Decoding.h"

#include <mpg123.h>

#include <memory>

namespace music {

namespace {
struct HandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};

// Asks for 16-bit signed output at whatever rate and channel count the file
// has, so the PCM needs no conversion afterwards.
void acceptSigned16(mpg123_handle* handle)
{
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
}
}

bool decodeMp3(const uint8_t* data, size_t size, DecodedAudio& out, std::string& error, double maxSeconds)
{
    out = DecodedAudio();
    // A no-op in current libmpg123, required once by older ones.
    static const int initialised = mpg123_init();
    (void)initialised;
    int status = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &status));
    if (!handle) {
        error = std::string("cannot start the MP3 decoder: ") + mpg123_plain_strerror(status);
        return false;
    }
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    acceptSigned16(handle.get());
    if (mpg123_open_feed(handle.get()) != MPG123_OK || mpg123_feed(handle.get(), data, size) != MPG123_OK) {
        error = std::string("cannot feed the MP3 decoder: ") + mpg123_strerror(handle.get());
        return false;
    }

    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        size_t done = 0;
        status = mpg123_read(handle.get(), buffer.data(), buffer.size(), &done);
        if (status == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(handle.get(), &rate, &channels, &encoding);
            if (!out.samples.empty() && (rate != out.sampleRate || channels != out.channels)) {
                error = "the MP3 changes its format midway";
                return false;
            }
            out.sampleRate = static_cast<int>(rate);
            out.channels = channels;
        }
        const int16_t* pcm = reinterpret_cast<const int16_t*>(buffer.data());
        out.samples.insert(out.samples.end(), pcm, pcm + done / sizeof(int16_t));
        if (out.sampleRate > 0 && out.frames() > maxSeconds * out.sampleRate) {
            error = "the MP3 is longer than " + std::to_string(static_cast<int>(maxSeconds)) + " seconds";
            return false;
        }
        if (status == MPG123_OK || status == MPG123_NEW_FORMAT)
            continue;
        if (status == MPG123_NEED_MORE || status == MPG123_DONE)
            break;
        error = std::string("the MP3 does not decode: ") + mpg123_strerror(handle.get());
        return false;
    }
    if (out.channels <= 0 || out.sampleRate <= 0 || out.samples.empty()) {
        error = "no MPEG audio found";
        return false;
    }
    return true;
}

} // namespace music
