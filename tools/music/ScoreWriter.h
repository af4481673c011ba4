// Writes notes into a score in musical terms: drum patterns as step strings,
// bass lines relative to a chord, arpeggios, melody cells, pads, fills and
// transition effects. Positions are beats; step strings have one character
// per sixteenth note and repeat for as long as asked.
//
// Drum velocities get a small deterministic variation (its own seeded
// generator), so repeated hits are not machine-identical.
#pragma once

#include "music/Harmony.h"
#include "music/Oscillators.h"
#include "music/Score.h"

#include <vector>

namespace music {

struct StepStyle {
    float velocity = 1.0f;
    int pitch = 60;
    float tone = 0.5f;
    float pan = 0.0f;
    float panAlternate = 0.0f;   // every other hit moves this far left, the others right
};

class ScoreWriter {
public:
    explicit ScoreWriter(Score& score) : score_(score) {}

    // From now on, odd sixteenths of drum patterns, bass lines and melody
    // cells come late by this share of a sixteenth (0 is straight), so the
    // whole band swings together.
    void setSwing(float share) { swing_ = share; }
    // Where the given sixteenth of a bar falls, in beats, with the swing.
    double sixteenth(int step) const;

    void note(Instrument instrument, double beat, double length, int pitch, float velocity, float pan = 0,
              float tone = 0.5f);

    // 'X' full velocity, 'x' 0.7, 'g' a ghost at 0.35, anything else a rest.
    void drums(Instrument instrument, double start, double beats, const char* steps, const StepStyle& style);

    // 'R' root, 'O' root an octave up, '3' third, '5' fifth, '7' seventh,
    // '-' holds the previous note one more sixteenth, anything else a rest.
    void bass(double start, double beats, const char* steps, const Chord& chord, float velocity, float tone);

    // The chord's voicing (moved by transpose) played one note per step of
    // stepBeats in the given order of voicing indices; indices 4 to 7 are
    // the voicing an octave up. tone glides from toneFrom to toneTo.
    void arpeggio(double start, double beats, const Chord& chord, int transpose, const std::vector<int>& order,
                  double stepBeats, float velocity, float toneFrom, float toneTo);

    // A melody cell starting at barStart. stretch 2 plays it at half speed;
    // gate below 1 shortens the notes (staccato).
    void cell(Instrument instrument, double barStart, const Cell& cell, int transpose, float velocity, float tone,
              double stretch = 1.0, double gate = 0.95);

    void chord(Instrument instrument, double beat, double length, const Chord& chord, int transpose, float velocity,
               float tone);

    // Snare hits every `step` beats from start to end, swelling from one
    // velocity to the other.
    void roll(double start, double end, double step, float velocityFrom, float velocityTo);
    // Toms every `step` beats, falling through the given pitches.
    void tomFill(double start, double step, const std::vector<int>& pitches, float velocity);
    // A riser that ends exactly on `end`.
    void riser(double start, double end, float velocity, float tone);
    // Crash and boom, the mark of a scene's first beat.
    void downbeat(double beat, float crash, float impact);

    void padCutoff(double beat, float hz) { score_.padCutoff.add(beat, hz); }
    void duckDepth(double beat, float depth) { score_.duckDepth.add(beat, depth); }

private:
    Score& score_;
    float swing_ = 0.0f;
    Noise variation_{0x6c696e74u};
};

} // namespace music
