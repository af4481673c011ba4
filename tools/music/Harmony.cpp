#include "music/Harmony.h"

namespace music {

// Roots sit between E1 and D2; voicings keep common tones where they can
// (A and C stay put from Am to F, G from C to G).
namespace chords {
const Chord Am = {33, {57, 60, 64, 67}, 3, 10};
const Chord F = {29, {57, 60, 65, 69}, 4, 11};
const Chord C = {36, {55, 60, 64, 67}, 4, 11};
const Chord G = {31, {55, 59, 62, 67}, 4, 10};
const Chord E = {28, {56, 59, 64, 68}, 4, 10};
const Chord E7 = {28, {56, 59, 62, 68}, 4, 10};
const Chord Am7 = {33, {55, 60, 64, 67}, 3, 10};
const Chord D9 = {38, {54, 57, 60, 64}, 4, 10};
const Chord A = {33, {57, 61, 64, 71}, 4, 11};   // major, with the ninth: the last chord
}

// The motif climbs the chord in a 3-3-2 rhythm, leans on the note above the
// top, and falls back: A C E D C over A minor. Each cell keeps that shape
// and bends it to its chord, so the tune is recognisable over all of them.
namespace motif {
const Cell overAm = {{0, 3, 69}, {3, 3, 72}, {6, 4, 76}, {10, 2, 74}, {12, 4, 72}};
const Cell overF = {{0, 3, 69}, {3, 3, 72}, {6, 4, 77}, {10, 2, 76}, {12, 4, 72}};
const Cell overC = {{0, 3, 67}, {3, 3, 72}, {6, 4, 76}, {10, 2, 79}, {12, 4, 76}};
const Cell overG = {{0, 6, 74}, {6, 2, 72}, {8, 4, 71}, {12, 4, 67}};
const Cell overGRising = {{0, 3, 74}, {3, 3, 76}, {6, 10, 79}};
const Cell overE = {{0, 3, 68}, {3, 3, 71}, {6, 4, 76}, {10, 2, 74}, {12, 4, 71}};
const Cell overAm7 = {{0, 3, 69}, {3, 3, 72}, {6, 2, 76}, {8, 2, 74}, {10, 2, 72}, {13, 3, 67}};
const Cell overD9 = {{0, 3, 69}, {3, 3, 72}, {6, 4, 78}, {10, 2, 76}, {12, 4, 74}};
}

} // namespace music
