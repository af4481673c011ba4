#include "music/Mp3Encoding.h"

#include <lame/lame.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace music {

namespace {
struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
constexpr int kChunkFrames = 8192;
}

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& interleaved, int sampleRate, int channels, int kbps,
                               std::string& error)
{
    if (channels != 1 && channels != 2) {
        error = "MP3 holds one or two channels, not " + std::to_string(channels);
        return {};
    }
    static const int rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
    if (std::find(std::begin(rates), std::end(rates), sampleRate) == std::end(rates)) {
        // The encoder would quietly resample; the caller's timing would be off.
        error = "MP3 has no " + std::to_string(sampleRate) + " Hz sample rate";
        return {};
    }
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame) {
        error = "cannot start the MP3 encoder";
        return {};
    }
    lame_set_num_channels(lame.get(), channels);
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_out_samplerate(lame.get(), sampleRate);
    lame_set_mode(lame.get(), channels == 2 ? JOINT_STEREO : MONO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), kbps);
    lame_set_quality(lame.get(), 2);
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) {
        error = "the MP3 encoder refuses " + std::to_string(sampleRate) + " Hz at " + std::to_string(kbps) + " kbit/s";
        return {};
    }

    std::vector<uint8_t> mp3;
    std::vector<unsigned char> buffer(kChunkFrames * 5 / 4 + 7200);
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    std::vector<short> mono;
    for (size_t done = 0; done < frames;) {
        const int count = static_cast<int>(std::min<size_t>(kChunkFrames, frames - done));
        const short* at = interleaved.data() + done * channels;
        int written;
        if (channels == 2) {
            written = lame_encode_buffer_interleaved(lame.get(), const_cast<short*>(at), count, buffer.data(),
                                                     static_cast<int>(buffer.size()));
        } else {
            written = lame_encode_buffer(lame.get(), at, at, count, buffer.data(), static_cast<int>(buffer.size()));
        }
        if (written < 0) {
            error = "the MP3 encoder failed (" + std::to_string(written) + ")";
            return {};
        }
        mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + written);
        done += static_cast<size_t>(count);
    }
    const int flushed = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0) {
        error = "the MP3 encoder failed to finish (" + std::to_string(flushed) + ")";
        return {};
    }
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + flushed);

    // The Info header goes into the first frame, which the encoder left
    // blank for it; it can only be filled in once the length is known.
    const size_t tagSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= mp3.size())
        std::copy(buffer.begin(), buffer.begin() + tagSize, mp3.begin());
    return mp3;
}

} // namespace music
