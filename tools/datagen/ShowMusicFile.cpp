// The music track and "demo.cfg", which names it under the key mp3: the
// track is composed by tools/music and encoded at 192 kbit/s.
#include "datagen/DataProduct.h"
#include "mp3writer/Mp3Writer.h"
#include "music/Mixer.h"
#include "music/ShowMusic.h"

#include <string>

namespace {

constexpr const char* kTrackName = "quillon.mp3";
constexpr int kBitRate = 192;

std::vector<uint8_t> makeTrack(const datagen::GeneratorOptions& options)
{
    std::vector<int16_t> samples;
    if (options.musicFromBeat >= 0 && options.musicToBeat > options.musicFromBeat)
        samples = music::renderScore(music::excerpt(music::composeShowScore(), options.musicFromBeat,
                                                    options.musicToBeat));
    else
        samples = music::composeShowMusic().samples;
    return mp3writer::encodeMp3(samples, kBitRate);
}

std::vector<uint8_t> makeDemoConfig(const datagen::GeneratorOptions&)
{
    const std::string text = std::string("# The show's settings: the music track it plays.\n"
                                         "mp3 = \"") +
                             kTrackName + "\"\n";
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

GLINT_DATA_PRODUCT("demo.cfg", makeDemoConfig, false);
GLINT_DATA_PRODUCT(kTrackName, makeTrack, true);
