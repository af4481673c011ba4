// The title words of the ribbon stack: which word is projected when, from
// where, and the texture matrix that turns a point of the stack into the
// word's texture coordinates. Four words, each on its own time window; the
// first and the last share texture unit 1, so their windows never overlap.
// While its window runs a word's projector slides along the stack and turns
// from +90 to -90 degrees about y, sweeping the word across the ribbons.
//
// Pure arithmetic; the scene does the GL side.
#pragma once

#include "core/ShowMath.h"

#include <array>
#include <vector>

struct TitleWord {
    const char* fileName;
    int unit;           // texture unit 1-3
    float start, end;   // seconds of scene time, both excluded
    float xAtZero;      // projector x = xAtZero - 3 x time
    float z;            // projector z
};

constexpr int titleWordCount = 4;
extern const TitleWord titleWords[titleWordCount];

// Indices of the words whose windows contain `time`, in table order.
std::vector<int> titleWordsAt(float time);

// The projector's placement for word `word` at `time` (inside its window):
// the identity with its first and third columns turned about y, then moved
// to (x, 0, z).
show::Mat4 projectorMatrix(const TitleWord& word, float time);

// translate (0.5, 0.5, 0) x scale (0.5, -1, 1) x perspective (110 degrees,
// aspect 1, 1 .. 30) x projector: a stack point (as eye-linear coordinates
// with identity planes) to the word's texture coordinates.
show::Mat4 titleTextureMatrix(const show::Mat4& projector);

// How much of the word's light a surface of the stack, which faces along z,
// receives: 1 while the projector faces the stack, falling as the cosine of
// its turn (the light is spread thinner over a slant), none side on.
float titleFacing(const show::Mat4& projector);

// The plane (a, b, c, d) of stack points in front of the projector: a x + b
// y + c z + d > 0 there. Behind it the perspective divide turns the word
// round, so a point there would show the word mirrored; the scene clips
// those away.
std::array<double, 4> titleFrontPlane(const show::Mat4& projector);

// The eye's position in the coordinates that `modelView` (column-major, any
// affine matrix) takes to the eye's: the point it sends to the origin.
show::Vec3 eyeOf(const float (&modelView)[16]);
