// glint-tool music-write: composes the show's music and writes it, as MP3
// (192 kbit/s, what the show plays) or, for a name ending in ".wav", as
// uncompressed PCM for listening and measuring. Two beat numbers after the
// name write only that stretch of the track.
#include "glint-tool/ToolCommand.h"
#include "mp3writer/Mp3Writer.h"
#include "music/Mixer.h"
#include "music/ShowMusic.h"
#include "music/WavFile.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kBitRate = 192;

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool parseBeat(const std::string& text, double& beat)
{
    char* end = nullptr;
    beat = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && beat >= 0 && beat <= music::kShowEndBeat + music::kRingOutBeats;
}

int musicWrite(const tool::Args& args)
{
    if (args.size() != 1 && args.size() != 3)
        return tool::usageError("music-write");
    const std::string& path = args[0];
    music::MusicTrack track;
    if (args.size() == 3) {
        double from = 0, to = 0;
        if (!parseBeat(args[1], from) || !parseBeat(args[2], to) || to <= from) {
            std::fprintf(stderr, "glint-tool: music-write: '%s' to '%s' is not a stretch of beats between 0 and %g\n",
                         args[1].c_str(), args[2].c_str(), music::kShowEndBeat + music::kRingOutBeats);
            return 2;
        }
        track.samples = music::renderScore(music::excerpt(music::composeShowScore(), from, to));
    } else {
        track = music::composeShowMusic();
    }
    std::vector<uint8_t> bytes;
    if (endsWith(path, ".wav")) {
        bytes = music::encodeWav(track.samples, track.sampleRate, track.channels);
    } else {
        bytes = mp3writer::encodeMp3(track.samples, kBitRate);
        if (bytes.empty()) {
            std::fprintf(stderr, "glint-tool: the MP3 encoder refused the track\n");
            return 1;
        }
    }
    if (!mp3writer::writeFile(path, bytes)) {
        std::fprintf(stderr, "glint-tool: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s: %.3f s, %zu bytes\n", path.c_str(), static_cast<double>(track.frames()) / track.sampleRate,
                bytes.size());
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("music-write",
                   "music-write FILE [FROM_BEAT TO_BEAT] - composes the show's music into FILE (MP3, or WAV for *.wav)",
                   musicWrite);
