// The show's arrangement, one function per scene. The track is in A minor;
// the scenes' sections take turns at building, dropping, breaking down and
// lifting, and the last one resolves onto A major.
//
// Each section lays its bars from its own first beat. When its length is not
// a whole number of bars, the remainder is a short bar at its end that holds
// the fill into the next scene.
#include "music/ScoreWriter.h"
#include "music/ShowMusic.h"

#include <cmath>

namespace music {

namespace {

using I = Instrument;

struct Span {
    double start;
    double end;
    int bars() const { return static_cast<int>(std::floor((end - start) / 4.0 + 1e-9)); }
    double bar(int i) const { return start + 4.0 * i; }
    double tail() const { return bar(bars()); }   // the short bar's first beat (== end when there is none)
};

using Progression = std::vector<Chord>;

const std::vector<int> kUp = {0, 1, 2, 3, 4, 5, 6, 7};
const std::vector<int> kUpDown = {0, 1, 2, 3, 4, 3, 2, 1};
const std::vector<int> kBroken = {0, 2, 1, 3, 2, 4, 3, 5};

const char* const kFourOnTheFloor = "X...X...X...X...";
const char* const kBackbeat = "....X.......X...";
const char* const kOffbeatOpen = "..X...X...X...X.";
const char* const kSixteenths = "xgxgxgxgxgxgxgxg";
const char* const kOffbeatBass = "..R-..R-..R-..RO";

StepStyle style(float velocity, float tone = 0.5f, int pitch = 60)
{
    StepStyle s;
    s.velocity = velocity;
    s.tone = tone;
    s.pitch = pitch;
    return s;
}

StepStyle hats(float velocity, float tone = 0.5f)
{
    StepStyle s = style(velocity, tone);
    s.panAlternate = 0.25f;
    return s;
}

constexpr int kKickPitch = 31;
constexpr int kSnarePitch = 55;

void kick(ScoreWriter& w, double start, double beats, const char* steps, float velocity, float tone = 0.5f)
{
    w.drums(I::Kick, start, beats, steps, style(velocity, tone, kKickPitch));
}

// Pads, one chord a bar.
void padBars(ScoreWriter& w, const Span& s, int from, int to, const Progression& p, float velocity, float tone)
{
    for (int b = from; b < to; ++b)
        w.chord(I::Pad, s.bar(b), 4.0, p[b], 0, velocity, tone);
}

void bassBars(ScoreWriter& w, const Span& s, int from, int to, const Progression& p, const char* steps,
              float velocity, float tone)
{
    for (int b = from; b < to; ++b)
        w.bass(s.bar(b), 4.0, steps, p[b], velocity, tone);
}

void arpBars(ScoreWriter& w, const Span& s, int from, int to, const Progression& p, const std::vector<int>& order,
             double step, float velocity, float toneFrom, float toneTo)
{
    for (int b = from; b < to; ++b) {
        const float a = toneFrom + (toneTo - toneFrom) * (b - from) / std::max(1, to - from);
        const float z = toneFrom + (toneTo - toneFrom) * (b - from + 1) / std::max(1, to - from);
        w.arpeggio(s.bar(b), 4.0, p[b], 12, order, step, velocity, a, z);
    }
}

void melody(ScoreWriter& w, I instrument, const Span& s, int from, const std::vector<const Cell*>& cells,
            int transpose, float velocity, float tone, double gate = 0.95)
{
    for (size_t k = 0; k < cells.size(); ++k)
        w.cell(instrument, s.bar(from + static_cast<int>(k)), *cells[k], transpose, velocity, tone, 1.0, gate);
}

// The last bars before a drop: a snare roll that doubles its pace, a riser,
// and an eighth of near silence before the downbeat, which makes it land.
void buildUp(ScoreWriter& w, double start, double end, float velocity)
{
    const double middle = start + std::floor((end - start) / 2.0);
    w.roll(start, middle, 0.5, 0.25f * velocity, 0.5f * velocity);
    w.roll(middle, end - 0.5, 0.25, 0.5f * velocity, velocity);
    w.riser(start, end - 0.5, 0.8f * velocity, 1.0f);
}

// 0-56: out of silence. Pads and a bell hint at the motif, the heartbeat
// kick and the arpeggio come in, the lead states the motif, then a build
// into the first drop.
void opening(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, F, C, G, Am, F, C, G, Am, F, C, G, F, G};
    w.downbeat(s.start, 0.55f, 0.9f);
    w.riser(s.bar(0), s.bar(4), 0.3f, 0.25f);
    for (int b = 0; b < 14; ++b)
        w.chord(I::Pad, s.bar(b), 4.0, p[b], 0, 0.45f + 0.3f * b / 13.0f, 0.2f);
    melody(w, I::Bell, s, 4, {&motif::overAm, &motif::overF, &motif::overC, &motif::overG}, 12, 0.4f, 0.3f);

    w.downbeat(s.bar(4), 0.35f, 0.0f);
    kick(w, s.bar(4), 16, "X.......X.......", 0.75f);
    bassBars(w, s, 4, 8, p, "R---------------", 0.6f, 0.1f);
    arpBars(w, s, 4, 12, p, kUpDown, 0.25, 0.4f, 0.1f, 0.6f);

    w.downbeat(s.bar(8), 0.5f, 0.0f);
    kick(w, s.bar(8), 20, kFourOnTheFloor, 0.9f);
    w.drums(I::ClosedHat, s.bar(8), 20, "..X...X...X...X.", hats(0.45f));
    w.drums(I::Clap, s.bar(10), 8, kBackbeat, style(0.5f));
    bassBars(w, s, 8, 13, p, "R.R.R.R.R.R.R.R.", 0.7f, 0.3f);
    melody(w, I::Lead, s, 8, {&motif::overAm, &motif::overF, &motif::overC, &motif::overGRising}, 0, 0.6f, 0.3f);
    arpBars(w, s, 12, 14, p, kUp, 0.25, 0.45f, 0.6f, 0.9f);

    w.note(I::Bass, s.bar(13), 1.0, G.root, 0.7f, 0, 0.4f);
    buildUp(w, s.bar(12), s.end, 0.9f);

    w.padCutoff(0, 350);
    w.padCutoff(16, 800);
    w.padCutoff(32, 1500);
    w.padCutoff(48, 2000);
    w.padCutoff(56, 5000);
    w.duckDepth(0, 0.0f);
    w.duckDepth(16, 0.2f);
    w.duckDepth(32, 0.35f);
    w.duckDepth(48, 0.45f);
}

// The full groove with the motif on the lead; a two-beat bar of snare and
// toms on the dominant leads into the tunnel.
void flowers(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, F, C, G, Am, F, C, G};
    const int bars = s.bars();   // 8, then a bar of 2
    w.downbeat(s.start, 0.9f, 0.6f);
    kick(w, s.start, 4.0 * bars, kFourOnTheFloor, 1.0f);
    w.drums(I::Clap, s.start, 4.0 * bars, kBackbeat, style(0.8f));
    w.drums(I::ClosedHat, s.start, 4.0 * bars, kSixteenths, hats(0.45f));
    w.drums(I::OpenHat, s.start, 4.0 * bars, kOffbeatOpen, hats(0.5f));
    bassBars(w, s, 0, bars, p, kOffbeatBass, 0.9f, 0.45f);
    padBars(w, s, 0, bars, p, 0.7f, 0.5f);
    melody(w, I::Lead, s, 0, {&motif::overAm, &motif::overF, &motif::overC, &motif::overG}, 0, 0.85f, 0.6f);
    melody(w, I::Lead, s, 4, {&motif::overAm, &motif::overF, &motif::overC, &motif::overGRising}, 0, 0.85f, 0.6f);
    melody(w, I::Bell, s, 4, {&motif::overAm, &motif::overF, &motif::overC, &motif::overGRising}, 12, 0.25f, 0.4f);
    arpBars(w, s, 0, bars, p, kBroken, 0.25, 0.35f, 0.5f, 0.6f);

    const double t = s.tail();
    w.chord(I::Pad, t, s.end - t, E, 0, 0.7f, 0.5f);
    w.note(I::Bass, t, s.end - t - 0.05, E.root, 0.9f, 0, 0.5f);
    w.roll(t, t + 1.0, 0.25, 0.5f, 0.8f);
    w.tomFill(t + 1.0, 0.25, {52, 50, 47, 45}, 0.85f);

    w.padCutoff(s.start, 3500);
    w.padCutoff(t, 3500);
    w.duckDepth(s.start, 0.55f);
}

// Driving and dark: a broken beat, a galloping bass under a rising
// arpeggio, and a descending line on the lead over A G F E. The short bar
// empties out for the breakdown.
void tunnel(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, G, F, E, Am, G, F};
    const int bars = s.bars();   // 7, then a bar of 2
    const double t = s.tail();
    w.downbeat(s.start, 0.8f, 0.0f);
    kick(w, s.start, t - s.start, "X.....X...X.....", 1.0f);
    w.drums(I::Snare, s.start, t - s.start, "....X..g....X..g", style(0.7f, 0.5f, kSnarePitch));
    w.drums(I::ClosedHat, s.start, t - s.start, "XxgxXxgxXxgxXxgx", hats(0.45f, 0.6f));
    bassBars(w, s, 0, bars, p, "RROR", 0.8f, 0.55f);
    padBars(w, s, 0, bars, p, 0.5f, 0.4f);
    arpBars(w, s, 0, bars, p, kUp, 0.25, 0.5f, 0.2f, 0.95f);
    const int line[] = {76, 74, 72, 71, 76, 74, 72};
    for (int b = 0; b < bars; ++b)
        w.note(I::Lead, s.bar(b), 3.8, line[b], 0.45f, 0, 0.3f);

    w.chord(I::Pad, t, s.end - t, E, 0, 0.5f, 0.4f);
    w.note(I::Bass, t, s.end - t, E.root, 0.7f, 0, 0.2f);
    w.riser(t - 2.0, s.end - 0.25, 0.8f, 0.9f);
    w.roll(t, s.end - 0.25, 0.125, 0.25f, 0.75f);

    w.padCutoff(s.start, 1600);
    w.padCutoff(t, 2600);
    w.duckDepth(s.start, 0.45f);
}

// The breakdown: no drums, the motif on the bell at half speed over two
// bars a chord, then a half-time beat builds back up.
void metaballs(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, Am, F, F, C, C, G, G, F, G, Am, E};
    w.downbeat(s.start, 0.5f, 0.8f);
    for (int b = 0; b < 8; b += 2) {
        w.chord(I::Pad, s.bar(b), 8.0, p[b], 0, 0.6f, 0.0f);
        w.note(I::Bass, s.bar(b), 7.9, p[b].root, 0.35f, 0, 0.05f);
    }
    const Cell* halfSpeed[] = {&motif::overAm, &motif::overF, &motif::overC, &motif::overG};
    for (int k = 0; k < 4; ++k)
        w.cell(I::Bell, s.bar(2 * k), *halfSpeed[k], 12, 0.55f, 0.5f, 2.0);
    w.drums(I::ClosedHat, s.bar(4), 16, "x.x.x.x.", hats(0.22f, 0.3f));
    arpBars(w, s, 4, 8, p, kBroken, 0.5, 0.3f, 0.3f, 0.5f);

    w.downbeat(s.bar(8), 0.6f, 0.0f);
    kick(w, s.bar(8), 14, "X.........X.....", 0.9f);
    w.drums(I::Clap, s.bar(8), 14, "........X.......", style(0.8f));
    w.drums(I::ClosedHat, s.bar(8), 16, "x.x.x.x.x.x.x.x.", hats(0.4f));
    padBars(w, s, 8, 12, p, 0.65f, 0.4f);
    bassBars(w, s, 8, 12, p, "R.R.R.R.R.R.R.R.", 0.7f, 0.35f);
    melody(w, I::Lead, s, 8, {&motif::overF, &motif::overG, &motif::overAm, &motif::overE}, 0, 0.7f, 0.45f);
    buildUp(w, s.bar(11), s.end, 0.9f);

    w.padCutoff(s.start, 900);
    w.padCutoff(s.bar(8), 1400);
    w.padCutoff(s.bar(11), 2600);
    w.padCutoff(s.end - 0.01, 4000);
    w.duckDepth(s.start, 0.15f);
    w.duckDepth(s.bar(8), 0.35f);
}

// Dark and heavy: a low kick, a clap in a big room, the bass in dotted
// eighths over A minor and E major, the motif an octave down. It stops dead
// for its one-beat last bar: a tom, a swell and two snare hits pick up the
// ribbon stack.
void shadowRoom(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, Am, F, E, Am, Am, F, E, Am, Am, F, E};
    const int bars = s.bars();   // 12, then a bar of 1
    const double t = s.tail();
    w.downbeat(s.start, 0.8f, 0.7f);
    w.drums(I::Kick, s.start, 4.0 * bars, kFourOnTheFloor, style(1.0f, 0.9f, kKickPitch - 2));
    w.drums(I::Clap, s.start, 4.0 * bars, kBackbeat, style(0.75f, 1.0f));
    w.drums(I::OpenHat, s.bar(4), 32, kOffbeatOpen, hats(0.35f, 0.3f));
    w.drums(I::ClosedHat, s.bar(8), 16, ".g.g.g.g.g.g.g.g", hats(0.4f, 0.3f));
    bassBars(w, s, 0, bars, p, "R-.R-.R-.R-.R-.O", 0.85f, 0.3f);
    padBars(w, s, 0, bars, p, 0.55f, 0.3f);
    melody(w, I::Lead, s, 4, {&motif::overAm, &motif::overAm, &motif::overF, &motif::overE}, -12, 0.75f, 0.2f);
    melody(w, I::Lead, s, 8, {&motif::overAm, &motif::overAm, &motif::overF, &motif::overE}, -12, 0.75f, 0.3f);
    arpBars(w, s, 8, bars, p, kUpDown, 0.25, 0.35f, 0.2f, 0.35f);

    w.note(I::Tom, t, 1.0, 43, 0.9f, 0, 0.5f);
    w.riser(t, s.end - 0.25, 0.7f, 0.8f);
    w.note(I::Snare, t + 0.5, 0.25, kSnarePitch, 0.6f, 0, 0.6f);
    w.note(I::Snare, t + 0.75, 0.25, kSnarePitch, 0.85f, 0, 0.7f);

    w.padCutoff(s.start, 900);
    w.padCutoff(t, 1300);
    w.duckDepth(s.start, 0.5f);
}

// The peak: everything at once, crashes every four bars, the motif doubled
// an octave up and finally sung from the octave above; two build bars on F
// and G hand over to the flower field.
void ribbonStack(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {Am, F, C, G, Am, F, C, G, Am, F, C, G, F, G};
    w.downbeat(s.start, 1.0f, 0.9f);
    w.downbeat(s.bar(4), 0.6f, 0.0f);
    w.downbeat(s.bar(8), 0.8f, 0.4f);
    kick(w, s.start, 52, kFourOnTheFloor, 1.0f);
    w.drums(I::Clap, s.start, 48, kBackbeat, style(0.85f));
    w.drums(I::Snare, s.start, 48, kBackbeat, style(0.45f, 0.6f, kSnarePitch));
    w.drums(I::ClosedHat, s.start, 48, kSixteenths, hats(0.5f, 0.6f));
    w.drums(I::OpenHat, s.start, 48, kOffbeatOpen, hats(0.55f, 0.6f));
    bassBars(w, s, 0, 8, p, kOffbeatBass, 0.9f, 0.5f);
    bassBars(w, s, 8, 13, p, "R.O.R.O.R.O.R.O.", 0.9f, 0.55f);
    padBars(w, s, 0, 14, p, 0.75f, 0.6f);
    const std::vector<const Cell*> settle = {&motif::overAm, &motif::overF, &motif::overC, &motif::overG};
    const std::vector<const Cell*> rising = {&motif::overAm, &motif::overF, &motif::overC, &motif::overGRising};
    melody(w, I::Lead, s, 0, settle, 0, 0.85f, 0.65f);
    melody(w, I::Lead, s, 4, rising, 0, 0.85f, 0.65f);
    melody(w, I::Lead, s, 0, settle, 12, 0.3f, 0.5f);
    melody(w, I::Lead, s, 4, rising, 12, 0.3f, 0.5f);
    melody(w, I::Lead, s, 8, settle, 12, 0.8f, 0.7f);
    melody(w, I::Bell, s, 8, settle, 12, 0.35f, 0.6f);
    arpBars(w, s, 0, 14, p, kBroken, 0.25, 0.35f, 0.6f, 0.8f);

    w.note(I::Lead, s.bar(12), 3.8, 72, 0.7f, 0, 0.6f);
    w.note(I::Lead, s.bar(13), 3.5, 74, 0.75f, 0, 0.7f);
    w.note(I::Bass, s.bar(13), 1.0, G.root, 0.8f, 0, 0.5f);
    buildUp(w, s.bar(12), s.end, 1.0f);

    w.padCutoff(s.start, 4500);
    w.padCutoff(s.bar(12), 3000);
    w.padCutoff(s.end - 0.01, 5000);
    w.duckDepth(s.start, 0.6f);
}

// The lift into C major: plucked eighths and a bell first, the motif's cells
// reordered over C G Am F once the full beat is back, then toms on E7 lead
// into the funk.
void flowerField(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {C, G, Am, F, C, G, Am, F, C, G, Am, F, C, G, Am, F, G};
    const double t = s.tail();   // after 17 bars, a bar of 2
    w.downbeat(s.start, 0.9f, 0.5f);
    kick(w, s.start, 32, kFourOnTheFloor, 0.8f, 0.2f);
    w.drums(I::ClosedHat, s.start, 32, "x.xgx.xgx.xgx.xg", hats(0.3f, 0.7f));
    bassBars(w, s, 0, 8, p, "R..R..R...R..R..", 0.75f, 0.6f);
    padBars(w, s, 0, 8, p, 0.55f, 0.5f);
    arpBars(w, s, 0, 8, p, kBroken, 0.5, 0.4f, 0.8f, 0.8f);
    const std::vector<const Cell*> lifted = {&motif::overC, &motif::overG, &motif::overAm, &motif::overF};
    melody(w, I::Bell, s, 0, lifted, 12, 0.35f, 0.4f);
    melody(w, I::Bell, s, 4, lifted, 12, 0.35f, 0.5f);

    w.downbeat(s.bar(8), 0.8f, 0.3f);
    kick(w, s.bar(8), 36, kFourOnTheFloor, 1.0f);
    w.drums(I::Clap, s.bar(8), 32, kBackbeat, style(0.75f));
    w.drums(I::ClosedHat, s.bar(8), 36, kSixteenths, hats(0.45f, 0.7f));
    w.drums(I::OpenHat, s.bar(8), 32, kOffbeatOpen, hats(0.45f));
    bassBars(w, s, 8, 16, p, kOffbeatBass, 0.9f, 0.5f);
    bassBars(w, s, 16, 17, p, "R.R.R.R.R.R.R.R.", 0.85f, 0.5f);
    padBars(w, s, 8, 17, p, 0.7f, 0.6f);
    arpBars(w, s, 8, 17, p, kBroken, 0.25, 0.35f, 0.6f, 0.8f);
    melody(w, I::Lead, s, 8, lifted, 0, 0.8f, 0.55f);
    melody(w, I::Lead, s, 12, {&motif::overC, &motif::overGRising, &motif::overAm, &motif::overF}, 0, 0.8f, 0.6f);
    w.roll(s.bar(16), t, 0.5, 0.3f, 0.6f);
    w.riser(s.bar(16), s.end - 0.5, 0.8f, 1.0f);

    w.chord(I::Pad, t, s.end - t, E7, 0, 0.7f, 0.6f);
    w.note(I::Bass, t, s.end - t - 0.05, E7.root, 0.9f, 0, 0.5f);
    w.tomFill(t, 0.25, {57, 55, 52, 50, 48, 45, 43, 40}, 0.85f);

    w.padCutoff(s.start, 2500);
    w.padCutoff(s.bar(8), 3500);
    w.duckDepth(s.start, 0.3f);
    w.duckDepth(s.bar(8), 0.45f);
}

// A dorian vamp on Am7 and D9: a syncopated kick, ghosted snares, swung
// sixteenths, an octave-popping bass, chord stabs, and the motif played
// short. A bar of just drums and bass before the fill.
void funk(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    Progression p;
    for (int b = 0; b < 13; ++b)
        p.push_back(b % 2 == 0 ? Am7 : D9);
    const double t = s.tail();   // after 13 bars, a bar of 2
    w.setSwing(0.3f);
    w.downbeat(s.start, 0.9f, 0.0f);
    kick(w, s.start, t - s.start, "X..x......X..x..", 1.0f, 0.3f);
    w.drums(I::Snare, s.start, t - s.start, "....X..g.g..X..g", style(0.8f, 0.6f, kSnarePitch));
    w.drums(I::ClosedHat, s.start, 48, "XgxgXgxgXgxgXgxg", hats(0.45f, 0.6f));
    w.drums(I::OpenHat, s.start, 48, "..............X.", hats(0.4f));
    bassBars(w, s, 0, 13, p, "R..O.R7.R..5.7O.", 0.85f, 0.75f);
    for (int b = 0; b < 12; ++b)
        for (int step : {2, 6, 10, 13})
            w.chord(I::Pluck, s.bar(b) + w.sixteenth(step), 0.2, p[b], 12, 0.3f, 0.7f);
    padBars(w, s, 4, 12, p, 0.35f, 0.3f);
    const std::vector<const Cell*> riff = {&motif::overAm7, &motif::overD9, &motif::overAm7, &motif::overD9};
    melody(w, I::Lead, s, 4, riff, 0, 0.75f, 0.7f, 0.55);
    melody(w, I::Lead, s, 8, riff, 0, 0.75f, 0.75f, 0.55);
    melody(w, I::Bell, s, 8, riff, 12, 0.3f, 0.6f, 0.55);
    w.riser(s.bar(12), s.end - 0.5, 0.7f, 0.9f);

    w.chord(I::Pad, t, s.end - t, E, 0, 0.6f, 0.5f);
    w.note(I::Bass, t, s.end - t - 0.05, E.root, 0.85f, 0, 0.6f);
    w.setSwing(0.0f);
    w.roll(t, t + 1.0, 0.25, 0.5f, 0.8f);
    w.tomFill(t + 1.0, 0.25, {50, 47, 45, 40}, 0.9f);

    w.padCutoff(s.start, 2500);
    w.duckDepth(s.start, 0.35f);
}

// The finale: from E to F (a deceptive turn), the motif once more over F G
// Am F G with its octave, the drums thinning out, and the last chord (A
// major) on the show's final beat, ringing out.
void fluid(ScoreWriter& w, const Span& s)
{
    using namespace chords;
    const Progression p = {F, G, Am, F, G};
    const double t = s.tail();   // after 5 bars, a bar of 2
    w.downbeat(s.start, 1.0f, 0.8f);
    kick(w, s.start, 20, kFourOnTheFloor, 1.0f);
    w.drums(I::Clap, s.start, 16, kBackbeat, style(0.8f));
    w.drums(I::ClosedHat, s.start, 16, kSixteenths, hats(0.45f));
    w.drums(I::OpenHat, s.start, 20, kOffbeatOpen, hats(0.5f));
    bassBars(w, s, 0, 4, p, kOffbeatBass, 0.9f, 0.5f);
    bassBars(w, s, 4, 5, p, "R.R.R.R.R.R.R.R.", 0.85f, 0.5f);
    padBars(w, s, 0, 5, p, 0.8f, 0.6f);
    arpBars(w, s, 0, 5, p, kUpDown, 0.25, 0.35f, 0.7f, 0.9f);
    const std::vector<const Cell*> once = {&motif::overF, &motif::overG, &motif::overAm, &motif::overF,
                                           &motif::overGRising};
    melody(w, I::Lead, s, 0, once, 0, 0.85f, 0.65f);
    melody(w, I::Lead, s, 0, once, 12, 0.35f, 0.5f);
    w.riser(s.bar(4), s.end - 0.5, 0.8f, 1.0f);

    w.chord(I::Pad, t, s.end - t, E, 0, 0.7f, 0.6f);
    w.note(I::Bass, t, s.end - t - 0.05, E.root, 0.85f, 0, 0.5f);
    w.roll(t, s.end - 0.25, 0.125, 0.3f, 0.75f);

    const double last = s.end;   // the show's final beat
    w.downbeat(last, 0.9f, 1.0f);
    w.note(I::Kick, last, 1.0, kKickPitch, 1.0f, 0, 0.9f);
    w.chord(I::Pad, last, 2.5, A, 0, 0.85f, 0.6f);
    w.chord(I::Pad, last, 2.5, A, -12, 0.5f, 0.6f);
    w.note(I::Bass, last, 2.5, A.root, 0.9f, 0, 0.3f);
    w.note(I::Lead, last, 2.5, 81, 0.75f, 0, 0.5f);
    w.note(I::Bell, last, 3.0, 81, 0.5f, -0.3f, 0.5f);
    w.note(I::Bell, last, 3.0, 88, 0.4f, 0.3f, 0.5f);

    w.padCutoff(s.start, 4000);
    w.padCutoff(last, 4000);
    w.padCutoff(last + kRingOutBeats, 1200);
    w.duckDepth(s.start, 0.5f);
    w.duckDepth(last - 0.01, 0.5f);
    w.duckDepth(last, 0.0f);
}

} // namespace

Score composeShowScore()
{
    using SectionWriter = void (*)(ScoreWriter&, const Span&);
    static const SectionWriter writers[] = {opening, flowers, tunnel, metaballs, shadowRoom,
                                            ribbonStack, flowerField, funk, fluid};

    Score score;
    score.sections = showSections();
    score.endBeat = kShowEndBeat + kRingOutBeats;
    score.fadeBeats = 2.0;
    score.padCutoff = Curve();
    score.duckDepth = Curve();
    ScoreWriter writer(score);
    static_assert(sizeof(writers) / sizeof(writers[0]) == 9, "one writer per scene");
    for (size_t i = 0; i < score.sections.size(); ++i) {
        const double end = i + 1 < score.sections.size() ? score.sections[i + 1].startBeat : kShowEndBeat;
        writers[i](writer, Span{score.sections[i].startBeat, end});
    }
    return score;
}

} // namespace music
