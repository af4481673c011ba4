#include "support/TestMusic.h"

#include "mp3writer/Mp3Writer.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace mediatest {

std::vector<int16_t> tonePcm(double seconds, const std::vector<ToneSpan>& loud)
{
    const size_t samples = static_cast<size_t>(std::lround(seconds * mp3writer::sampleRate));
    std::vector<int16_t> pcm(samples * 2, 0);
    for (size_t i = 0; i < samples; ++i) {
        double t = static_cast<double>(i) / mp3writer::sampleRate;
        for (const ToneSpan& span : loud) {
            if (t >= span.from && t < span.to) {
                auto value = static_cast<int16_t>(std::lround(12000.0 * std::sin(2.0 * M_PI * 440.0 * t)));
                pcm[2 * i] = value;
                pcm[2 * i + 1] = value;
            }
        }
    }
    return pcm;
}

std::vector<uint8_t> toneMp3(double seconds, const std::vector<ToneSpan>& loud)
{
    return mp3writer::encodeMp3(tonePcm(seconds, loud), 128);
}

std::vector<uint8_t> monoMp3(double seconds, int sampleRate)
{
    const int samples = static_cast<int>(seconds * sampleRate);
    std::vector<short> pcm(samples);
    for (int i = 0; i < samples; ++i)
        pcm[i] = static_cast<short>(std::lround(12000.0 * std::sin(2.0 * M_PI * 440.0 * i / sampleRate)));
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 64);
    lame_set_write_id3tag_automatic(lame, 0);
    std::vector<uint8_t> out;
    if (lame_init_params(lame) >= 0) {
        std::vector<unsigned char> buffer(samples * 5 / 4 + 7200);
        int bytes = lame_encode_buffer(lame, pcm.data(), pcm.data(), samples, buffer.data(), int(buffer.size()));
        if (bytes >= 0)
            out.assign(buffer.begin(), buffer.begin() + bytes);
        bytes = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
        if (bytes >= 0)
            out.insert(out.end(), buffer.begin(), buffer.begin() + bytes);
    }
    lame_close(lame);
    return out;
}

double rmsLevel(const std::vector<int16_t>& interleaved, size_t firstSample, size_t count)
{
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = firstSample * 2; i < (firstSample + count) * 2 && i < interleaved.size(); ++i, ++n)
        sum += double(interleaved[i]) * interleaved[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "glint-media-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

} // namespace mediatest
