#include "music/ShowMusic.h"

#include "music/Mixer.h"

namespace music {

const std::vector<Section>& showSections()
{
    static const std::vector<Section> sections = {
        {"opening", 0},        {"abstract flowers", 56}, {"ribbon tunnel", 90},
        {"volume metaballs", 120}, {"shadow room", 168}, {"ribbon stack", 217},
        {"flower field", 273}, {"funk sphere", 343},     {"fluid", 397},
    };
    return sections;
}

MusicTrack composeShowMusic()
{
    const Score score = composeShowScore();
    MusicTrack track;
    track.samples = renderScore(score);
    track.sections = score.sections;
    return track;
}

} // namespace music
