// A sounding note. The mixer makes one voice per note of the score when its
// start comes up, lets it add its samples to its bus block by block, and
// drops it once it reports that it has fallen silent. A voice's output
// depends only on its note and seed, never on the block size it is asked for.
#pragma once

#include "music/Score.h"

#include <memory>

namespace music {

class Voice {
public:
    virtual ~Voice() = default;
    // Adds the voice's next `frames` samples into left and right. Returns
    // false once the voice has ended; everything after that point is silence.
    virtual bool render(float* left, float* right, int frames) = 0;
};

// The voice for a note of any instrument; seed makes its noise its own.
std::unique_ptr<Voice> makeVoice(const Note& note, uint32_t seed);

// The drum kit's and the effects' voices (DrumKit.cpp) and the tuned
// voices (SynthVoices.cpp).
std::unique_ptr<Voice> makeDrumVoice(const Note& note, uint32_t seed);
std::unique_ptr<Voice> makeSynthVoice(const Note& note, uint32_t seed);

inline int64_t gateSamples(const Note& note)
{
    return static_cast<int64_t>(note.length * kSamplesPerBeat + 0.5);
}

} // namespace music
