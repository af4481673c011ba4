// glint-tool music-write: composes the show's music and writes it, as MP3
// (192 kbit/s, what the show plays) or, for a name ending in ".wav", as
// uncompressed PCM for listening and measuring.
#include "glint-tool/ToolCommand.h"
#include "music/Mp3Encoding.h"
#include "music/ShowMusic.h"
#include "music/WavFile.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr int kBitRate = 192;

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int musicWrite(const tool::Args& args)
{
    if (args.size() != 1)
        return tool::usageError("music-write");
    const std::string& path = args[0];
    const music::MusicTrack track = music::composeShowMusic();
    std::vector<uint8_t> bytes;
    if (endsWith(path, ".wav")) {
        bytes = music::encodeWav(track.samples, track.sampleRate, track.channels);
    } else {
        std::string error;
        bytes = music::encodeMp3(track.samples, track.sampleRate, track.channels, kBitRate, error);
        if (bytes.empty()) {
            std::fprintf(stderr, "glint-tool: %s\n", error.c_str());
            return 1;
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "glint-tool: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s: %.3f s, %zu bytes\n", path.c_str(), static_cast<double>(track.frames()) / track.sampleRate,
                bytes.size());
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("music-write", "music-write FILE - composes the show's music into FILE (MP3, or WAV for *.wav)",
                   musicWrite);
