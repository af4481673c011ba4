// The track's musical material: the chords it moves through (as a bass root
// and a pad voicing that leads smoothly from one chord to the next) and the
// motif, a one-bar cell per chord in a 3-3-2 rhythm, so the same tune can be
// laid over any of the progressions the sections use.
#pragma once

#include <array>
#include <vector>

namespace music {

struct Chord {
    int root;                  // MIDI, in the bass register
    std::array<int, 4> voicing;   // MIDI, around middle C
    int third;                 // semitones above the root: 3 minor, 4 major
    int seventh;               // semitones above the root: 10 or 11
};

namespace chords {
extern const Chord Am, F, C, G, E, E7, Am7, D9, A;
}

// One note of a melody cell: start and length in sixteenths of the bar.
struct MelodyNote {
    int step;
    int length;
    int pitch;
};
using Cell = std::vector<MelodyNote>;

// The motif, one cell for each chord it is heard over.
namespace motif {
extern const Cell overAm, overF, overC, overG, overGRising, overE, overAm7, overD9;
}

} // namespace music
