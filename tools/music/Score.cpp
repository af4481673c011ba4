#include "music/Score.h"

#include <algorithm>

namespace music {

const char* instrumentName(Instrument instrument)
{
    static const char* const names[] = {
        "kick", "snare", "clap", "closed hat", "open hat", "crash", "tom",
        "riser", "impact",
        "bass", "pad", "lead", "pluck", "bell",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == static_cast<size_t>(Instrument::Count),
                  "one name per instrument");
    const int i = static_cast<int>(instrument);
    return i >= 0 && i < static_cast<int>(Instrument::Count) ? names[i] : "?";
}

void Curve::add(double beat, float value)
{
    const auto at = std::upper_bound(points_.begin(), points_.end(), beat,
                                     [](double b, const Point& p) { return b < p.beat; });
    points_.insert(at, Point{beat, value});
}

float Curve::at(double beat) const
{
    if (points_.empty())
        return 0;
    if (beat <= points_.front().beat)
        return points_.front().value;
    if (beat >= points_.back().beat)
        return points_.back().value;
    const auto next = std::upper_bound(points_.begin(), points_.end(), beat,
                                       [](double b, const Point& p) { return b < p.beat; });
    const Point& a = *(next - 1);
    const Point& b = *next;
    const double s = (beat - a.beat) / (b.beat - a.beat);
    return static_cast<float>(a.value + s * (b.value - a.value));
}

Curve Curve::excerpt(double from, double to) const
{
    Curve part;
    if (points_.empty())
        return part;
    part.add(0, at(from));
    for (const Point& p : points_)
        if (p.beat > from && p.beat < to)
            part.add(p.beat - from, p.value);
    part.add(to - from, at(to));
    return part;
}

Score excerpt(const Score& score, double fromBeat, double toBeat)
{
    Score part;
    for (const Section& s : score.sections)
        if (s.startBeat >= fromBeat && s.startBeat < toBeat)
            part.sections.push_back({s.name, s.startBeat - fromBeat});
    for (Note n : score.notes) {
        if (n.beat >= fromBeat && n.beat < toBeat) {
            n.beat -= fromBeat;
            part.notes.push_back(n);
        }
    }
    part.endBeat = std::max(0.0, toBeat - fromBeat);
    part.fadeBeats = std::min(0.25, part.endBeat);
    part.padCutoff = score.padCutoff.excerpt(fromBeat, toBeat);
    part.duckDepth = score.duckDepth.excerpt(fromBeat, toBeat);
    return part;
}

} // namespace music
