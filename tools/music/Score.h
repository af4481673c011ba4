// The score the show's music is rendered from: timed notes for every
// instrument, the section table they follow and a few automation curves.
// Everything is in beats of the show's clock (108 per minute, 24 500 samples
// a beat at 44 100 Hz), so a note on beat 217 starts on exactly the sample
// where the show's scene 217 starts. The score is plain data; the mixer
// (Mixer.h) turns it into sound.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace music {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr double kTempo = 108.0;
constexpr int kSamplesPerBeat = 24500;   // 44 100 x 60 / 108, exactly
static_assert(kSamplesPerBeat * kTempo == kSampleRate * 60.0, "a beat must be a whole number of samples");

inline int64_t sampleOfBeat(double beat)
{
    return static_cast<int64_t>(beat * kSamplesPerBeat + 0.5);
}

enum class Instrument {
    // drum kit
    Kick, Snare, Clap, ClosedHat, OpenHat, Crash, Tom,
    // effects
    Riser, Impact,
    // tuned voices
    Bass, Pad, Lead, Pluck, Bell,
    Count
};

const char* instrumentName(Instrument instrument);

struct Note {
    double beat = 0;      // start
    double length = 1;    // gate, beats; the voice's release rings on after it
    Instrument instrument = Instrument::Kick;
    int pitch = 60;       // MIDI note number (drums: tuning where they have one)
    float velocity = 1;   // linear gain, 0 to 1
    float pan = 0;        // -1 left to 1 right
    float tone = 0.5f;    // 0 dark to 1 bright, each voice reads it its own way
};

// A value over beats: straight lines between points, held before the first
// and after the last one.
class Curve {
public:
    Curve() = default;
    explicit Curve(float constant) { points_.push_back({0, constant}); }
    void add(double beat, float value);
    float at(double beat) const;
    // The part between two beats, moved to start at 0.
    Curve excerpt(double from, double to) const;

private:
    struct Point {
        double beat;
        float value;
    };
    std::vector<Point> points_;   // sorted by beat
};

struct Section {
    std::string name;
    double startBeat = 0;
};

struct Score {
    std::vector<Section> sections;
    double endBeat = 0;        // the track's length; the mix fades to silence by then
    double fadeBeats = 1;      // length of that closing fade
    std::vector<Note> notes;
    Curve padCutoff{2000};     // Hz, the pad bus's low-pass filter
    Curve duckDepth{0.4f};     // 0 to 1, how far the kick pushes pads, bass and arpeggio down
};

// The notes that start between two beats, moved to start at 0, with the
// sections and curves of that stretch and a short closing fade: a part of
// the track to listen to or measure on its own.
Score excerpt(const Score& score, double fromBeat, double toBeat);

} // namespace music
