#include "scenes/metaballs/MetaballVolume.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int size = MetaballVolume::size;
constexpr int ballCount = 3;
constexpr float gridStart = -4.0f;
constexpr float gridStep = 8.0f / size;
constexpr float tuningStep = 0.1f;
// Passed as the envelope when no morph is running.
constexpr int noMorph = -1;

// Squared distance from every grid coordinate to each ball along one axis.
// The field at a texel only needs the three axes' entries summed, so a
// rebuild computes 3 x 3 x 32 differences instead of three per texel.
using AxisTable = std::array<std::array<float, size>, ballCount>;

AxisTable axisTable(const std::array<show::Vec3, ballCount>& balls, float show::Vec3::*axis)
{
    AxisTable table;
    for (int b = 0; b < ballCount; ++b)
        for (int i = 0; i < size; ++i) {
            const float d = gridStart + gridStep * i - balls[b].*axis;
            table[b][i] = d * d;
        }
    return table;
}

// Every channel is a share of the field or a point on the opacity ramp, never
// negative; only the top needs limiting.
unsigned char toByte(float value)
{
    return static_cast<unsigned char>(std::min(value, 255.0f));
}

// How opacity grows with the field above the threshold: alpha = base +
// (F - threshold) * scale, full at ceiling - threshold. When tuning squeezes
// that ramp to nothing or less, it becomes a hard edge at the threshold
// rather than a division by zero or a negative opacity.
struct AlphaRamp {
    float base;
    float scale;
};

AlphaRamp alphaRamp(const MetaballTuning& tuning)
{
    const float width = tuning.ceiling - 2.0f * tuning.threshold;
    if (width > 0.0f)
        return {0.0f, 255.0f / width};
    return {255.0f, 0.0f};
}

// Opacity during a morph: the envelope weighs the shape mask against the
// cloud's own alpha.
unsigned char morphedAlpha(unsigned alpha, unsigned shape, int envelope)
{
    return static_cast<unsigned char>((envelope * shape + (255 - envelope) * alpha) / 256);
}

} // namespace

void VolumeMorph::start(float seconds)
{
    if (!(seconds > 0.0f)) {
        active = false;
        return;
    }
    active = true;
    progress = 0.0f;
    rate = 1.0f / seconds;
}

void MetaballTuning::key(int code)
{
    switch (code) {
    case 'w': threshold += tuningStep; break;
    case 'q': threshold -= tuningStep; break;
    case 's': ceiling += tuningStep; break;
    case 'a': ceiling -= tuningStep; break;
    case 'x': strength += tuningStep; break;
    case 'z': strength -= tuningStep; break;
    default: break;
    }
}

std::array<show::Vec3, 3> metaballCentres(float tau)
{
    const float s = 1.5f * tau;
    return {{
        {2.0f * std::sin(0.5f * s), 2.0f * std::cos(s / 3.0f), 2.0f * std::sin(-s)},
        {2.0f * std::sin(-s), 2.0f * std::cos(-s), 0.0f},
        {std::cos(0.25f * s) + std::sin(0.5f * s), 2.0f * std::sin(0.5f * s), 2.0f * std::cos(s)},
    }};
}

MetaballVolume::MetaballVolume(ShapeMask mask)
    : mask(std::move(mask)), buffer(byteCount, 0)
{
}

void MetaballVolume::rebuild(float tau, VolumeMorph& morph)
{
    const float elapsed = rebuilt ? tau - previousTau : 0.0f;
    previousTau = tau;
    rebuilt = true;

    int envelope = noMorph;
    if (morph.active) {
        morph.progress += morph.rate * elapsed;
        // The rate is positive and scene time only runs forward, so progress
        // stays within [0, 1] here and the envelope is never negative.
        if (morph.progress > 1.0f)
            morph.active = false;
        else
            envelope = static_cast<int>(255.0f * std::sin(3.14159f * morph.progress));
    }
    const float swell = envelope == noMorph ? 1.0f : 1.0f + envelope * 4.0f / 255.0f;
    evaluate(metaballCentres(tau), tuning.strength * swell, envelope);
}

void MetaballVolume::evaluate(const std::array<show::Vec3, 3>& balls, float height, int envelope)
{
    const AxisTable dx = axisTable(balls, &show::Vec3::x);
    const AxisTable dy = axisTable(balls, &show::Vec3::y);
    const AxisTable dz = axisTable(balls, &show::Vec3::z);
    const AlphaRamp ramp = alphaRamp(tuning);
    const float threshold = tuning.threshold;

    for (int z = 0; z < size; ++z)
        for (int y = 0; y < size; ++y) {
            // The + 1 keeps each ball's contribution finite at its centre.
            const float rest0 = dy[0][y] + dz[0][z] + 1.0f;
            const float rest1 = dy[1][y] + dz[1][z] + 1.0f;
            const float rest2 = dy[2][y] + dz[2][z] + 1.0f;
            const int row = size * (y + size * z);
            const unsigned char* shape = &mask.texels[row];
            unsigned char* out = &buffer[4 * row];
            // The divisions of a whole row go first: alone in their loop
            // they vectorise, and they are most of a rebuild's work.
            float c1[size], c2[size], c3[size];
            for (int x = 0; x < size; ++x) {
                c1[x] = height / (dx[0][x] + rest0);
                c2[x] = height / (dx[1][x] + rest1);
                c3[x] = height / (dx[2][x] + rest2);
            }
            for (int x = 0; x < size; ++x, out += 4) {
                const float field = c1[x] + c2[x] + c3[x];
                unsigned alpha = 0;
                out[0] = out[1] = out[2] = 0;
                // A field of exactly 0 (strength tuned to 0 under a negative
                // threshold) has no colour to share out between the balls.
                if (field > threshold && field != 0.0f) {
                    const float share = 256.0f / field;
                    out[0] = toByte((c1[x] + c2[x]) * share);
                    out[1] = toByte(c2[x] * share);
                    out[2] = toByte((c3[x] + 0.5f * c2[x]) * share);
                    alpha = toByte(ramp.base + (field - threshold) * ramp.scale);
                }
                out[3] = envelope == noMorph ? alpha : morphedAlpha(alpha, shape[x], envelope);
            }
        }
}
