// glint-tool music-info: decodes an MP3 and prints its length, format and
// peak level, and the composer's section starts next to where the decoded
// sound actually jumps near each of them, so the alignment of music and
// scenes can be checked by ear and by number.
#include "glint-tool/ToolCommand.h"
#include "music/Mp3Decoding.h"
#include "music/OnsetAnalysis.h"
#include "music/ShowMusic.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

int musicInfo(const tool::Args& args)
{
    if (args.size() != 1)
        return tool::usageError("music-info");
    const std::string& path = args[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "glint-tool: cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    music::DecodedAudio audio;
    std::string error;
    if (!music::decodeMp3(bytes.data(), bytes.size(), audio, error)) {
        std::fprintf(stderr, "glint-tool: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }

    const double seconds = static_cast<double>(audio.frames()) / audio.sampleRate;
    std::printf("file: %s\n", path.c_str());
    std::printf("duration: %.3f s (%lld samples, %.2f beats at %g bpm)\n", seconds,
                static_cast<long long>(audio.frames()), seconds * music::kTempo / 60.0, music::kTempo);
    std::printf("sample rate: %d Hz\n", audio.sampleRate);
    std::printf("channels: %d\n", audio.channels);
    std::printf("peak: %.2f dBFS\n", music::peakDbfs(audio.samples));

    const std::vector<music::Section>& sections = music::showSections();
    const std::vector<music::SectionOnset> onsets =
        music::measureSectionOnsets(audio.samples, audio.sampleRate, audio.channels, music::kTempo, sections);
    std::printf("sections (composer's beat grid; measured onset = biggest jump in the sound within 1/4 beat):\n");
    std::printf("  %6s %10s %12s %9s %8s  %s\n", "beat", "time", "onset beat", "offset", "jump", "scene");
    for (size_t i = 0; i < sections.size(); ++i) {
        const music::SectionOnset& o = onsets[i];
        if (o.startBeat * 60.0 / music::kTempo >= seconds) {
            std::printf("  %6g %8.3f s  beyond the end of this file  %s\n", sections[i].startBeat,
                        sections[i].startBeat * 60.0 / music::kTempo, sections[i].name.c_str());
            continue;
        }
        const double offsetMs = (o.onsetBeat - o.startBeat) * 60000.0 / music::kTempo;
        std::printf("  %6g %8.3f s %12.3f %+6.0f ms %+5.1f dB  %s\n", sections[i].startBeat,
                    sections[i].startBeat * 60.0 / music::kTempo, o.onsetBeat, offsetMs, o.jumpDb,
                    sections[i].name.c_str());
    }
    std::printf("  %6g %8.3f s  end of the show; the track rings out for %g beats\n", music::kShowEndBeat,
                music::kShowEndBeat * 60.0 / music::kTempo, music::kRingOutBeats);
    return 0;
}

} // namespace

GLINT_TOOL_COMMAND("music-info", "music-info FILE - length, format, peak and section starts of an MP3", musicInfo);
