#include "music/ScoreWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace music {

namespace {
constexpr double kStep = 0.25;   // a sixteenth, in beats

int stepCount(double beats)
{
    return static_cast<int>(std::floor(beats / kStep + 1e-9));
}
}

double ScoreWriter::sixteenth(int step) const
{
    return step * kStep + (step % 2 == 1 ? swing_ * kStep : 0.0);
}

void ScoreWriter::note(Instrument instrument, double beat, double length, int pitch, float velocity, float pan,
                       float tone)
{
    Note n;
    n.beat = beat;
    n.length = length;
    n.instrument = instrument;
    n.pitch = pitch;
    n.velocity = std::clamp(velocity, 0.0f, 1.0f);
    n.pan = std::clamp(pan, -1.0f, 1.0f);
    n.tone = std::clamp(tone, 0.0f, 1.0f);
    score_.notes.push_back(n);
}

void ScoreWriter::drums(Instrument instrument, double start, double beats, const char* steps, const StepStyle& style)
{
    const int length = static_cast<int>(std::strlen(steps));
    int hits = 0;
    for (int i = 0; i < stepCount(beats) && length > 0; ++i) {
        float accent = 0;
        switch (steps[i % length]) {
        case 'X': accent = 1.0f; break;
        case 'x': accent = 0.7f; break;
        case 'g': accent = 0.35f; break;
        default: continue;
        }
        const float humanised = accent * style.velocity * (1.0f + 0.06f * variation_.next());
        const float pan = style.pan + (hits++ % 2 == 0 ? -style.panAlternate : style.panAlternate);
        note(instrument, start + sixteenth(i), kStep, style.pitch, humanised, pan, style.tone);
    }
}

void ScoreWriter::bass(double start, double beats, const char* steps, const Chord& chord, float velocity, float tone)
{
    const int length = static_cast<int>(std::strlen(steps));
    const int count = stepCount(beats);
    for (int i = 0; i < count && length > 0; ++i) {
        int interval;
        switch (steps[i % length]) {
        case 'R': interval = 0; break;
        case 'O': interval = 12; break;
        case '3': interval = chord.third; break;
        case '5': interval = 7; break;
        case '7': interval = chord.seventh; break;
        default: continue;
        }
        int held = 1;
        while (i + held < count && steps[(i + held) % length] == '-')
            ++held;
        // A little air between notes keeps the line bouncing; held notes
        // stay legato.
        const double gate = held * kStep - (held == 1 ? 0.07 : 0.03);
        const float accent = (i % 4 == 0) ? 1.0f : 0.85f;
        note(Instrument::Bass, start + sixteenth(i), gate, chord.root + interval, velocity * accent, 0, tone);
    }
}

void ScoreWriter::arpeggio(double start, double beats, const Chord& chord, int transpose, const std::vector<int>& order,
                           double stepBeats, float velocity, float toneFrom, float toneTo)
{
    const int count = static_cast<int>(std::floor(beats / stepBeats + 1e-9));
    for (int i = 0; i < count && !order.empty(); ++i) {
        const int index = order[i % order.size()];
        const int pitch = chord.voicing[index % 4] + 12 * (index / 4) + transpose;
        const float s = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
        const float pan = (i % 2 == 0) ? -0.45f : 0.45f;
        const float accent = (i % 4 == 0) ? 1.0f : 0.8f;
        note(Instrument::Pluck, start + i * stepBeats, stepBeats * 0.8, pitch, velocity * accent, pan,
             toneFrom + s * (toneTo - toneFrom));
    }
}

void ScoreWriter::cell(Instrument instrument, double barStart, const Cell& cell, int transpose, float velocity,
                       float tone, double stretch, double gate)
{
    for (const MelodyNote& m : cell) {
        const double length = m.length * kStep * stretch;
        const float accent = (m.step % 4 == 0) ? 1.0f : 0.88f;
        const double at = stretch == 1.0 ? sixteenth(m.step) : m.step * kStep * stretch;
        note(instrument, barStart + at, length * gate, m.pitch + transpose, velocity * accent, 0, tone);
    }
}

void ScoreWriter::chord(Instrument instrument, double beat, double length, const Chord& chord, int transpose,
                        float velocity, float tone)
{
    for (size_t k = 0; k < chord.voicing.size(); ++k) {
        const float pan = -0.3f + 0.2f * static_cast<float>(k);
        note(instrument, beat, length, chord.voicing[k] + transpose, velocity, pan, tone);
    }
}

void ScoreWriter::roll(double start, double end, double step, float velocityFrom, float velocityTo)
{
    const int count = static_cast<int>(std::floor((end - start) / step + 1e-9));
    for (int i = 0; i < count; ++i) {
        const float s = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 1.0f;
        note(Instrument::Snare, start + i * step, step, 55, velocityFrom + s * (velocityTo - velocityFrom),
             (i % 2 == 0) ? -0.15f : 0.15f, 0.4f + 0.4f * s);
    }
}

void ScoreWriter::tomFill(double start, double step, const std::vector<int>& pitches, float velocity)
{
    for (size_t i = 0; i < pitches.size(); ++i) {
        const float pan = 0.5f - static_cast<float>(i) / static_cast<float>(std::max<size_t>(1, pitches.size() - 1));
        note(Instrument::Tom, start + i * step, step, pitches[i], velocity, pan, 0.5f);
    }
}

void ScoreWriter::riser(double start, double end, float velocity, float tone)
{
    note(Instrument::Riser, start, end - start, 60, velocity, 0, tone);
}

void ScoreWriter::downbeat(double beat, float crash, float impact)
{
    if (crash > 0)
        note(Instrument::Crash, beat, 4, 60, crash, 0, 0.6f);
    if (impact > 0)
        note(Instrument::Impact, beat, 4, 28, impact, 0, 0.5f);
}

} // namespace music
