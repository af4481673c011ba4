#include "mp3writer/Mp3Writer.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace mp3writer {

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameDeleter>;

LamePtr makeEncoder(int bitrateKbps)
{
    LamePtr lame(lame_init());
    if (!lame)
        return nullptr;
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_out_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), channels);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_brate(lame.get(), bitrateKbps);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_quality(lame.get(), 2);
    // The Info frame carries delay and padding for gapless decoding; ID3
    // tags would only add bytes nothing reads.
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return nullptr;
    return lame;
}

} // namespace

std::vector<uint8_t> encodeMp3(const std::vector<int16_t>& pcm, int bitrateKbps)
{
    LamePtr lame = makeEncoder(bitrateKbps);
    if (!lame)
        return {};

    // Chunks keep LAME's output buffer small; its documented worst case is
    // 1.25 x samples + 7200 bytes.
    constexpr size_t chunkSamples = 8192;
    std::vector<unsigned char> buffer(chunkSamples * 5 / 4 + 7200);
    std::vector<uint8_t> out;
    const size_t totalSamples = pcm.size() / channels;
    for (size_t first = 0; first < totalSamples; first += chunkSamples) {
        const size_t count = std::min(chunkSamples, totalSamples - first);
        // LAME takes a non-const pointer but does not write through it.
        short* input = const_cast<short*>(pcm.data() + first * channels);
        int bytes = lame_encode_buffer_interleaved(lame.get(), input, static_cast<int>(count), buffer.data(),
                                                   static_cast<int>(buffer.size()));
        if (bytes < 0)
            return {};
        out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    int bytes = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (bytes < 0)
        return {};
    out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);

    // The Info frame at the start was a placeholder until the sample count
    // was known; LAME hands over the final one to put in its place.
    size_t tagSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size())
        std::copy(buffer.begin(), buffer.begin() + tagSize, out.begin());
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace mp3writer
