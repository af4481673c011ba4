#include "music/OnsetAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace music {

namespace {
constexpr int kFrame = 256;
constexpr int kHistory = 8;
constexpr int kBands = 3;
constexpr double kSearchBeats = 0.25;
// Below about -80 dBFS a band counts as silent, so noise in a quiet band
// cannot make large jumps; and a band's rise counts at most 30 dB, so a
// band coming out of silence does not outweigh everything else.
constexpr double kFloor = kFrame * 3.3 * 3.3;
constexpr double kMostRise = 30.0;

using BandEnergies = std::vector<std::array<double, kBands>>;

BandEnergies frameEnergies(const std::vector<int16_t>& interleaved, int channels, int sampleRate)
{
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    BandEnergies energy(frames / kFrame, std::array<double, kBands>{});
    const double low = std::exp(-2.0 * 3.14159265358979 * 200.0 / sampleRate);
    const double high = std::exp(-2.0 * 3.14159265358979 * 2000.0 / sampleRate);
    double belowLow = 0, belowHigh = 0;
    for (size_t i = 0; i < energy.size() * kFrame; ++i) {
        double mono = 0;
        for (int c = 0; c < channels; ++c)
            mono += interleaved[i * channels + c];
        mono /= channels;
        belowLow = mono + low * (belowLow - mono);
        belowHigh = mono + high * (belowHigh - mono);
        const double bands[kBands] = {belowLow, belowHigh - belowLow, mono - belowHigh};
        for (int b = 0; b < kBands; ++b)
            energy[i / kFrame][b] += bands[b] * bands[b];
    }
    return energy;
}

// Frames before the start of the track count as silence.
double onsetStrength(const BandEnergies& energy, long k)
{
    double strength = 0;
    for (int b = 0; b < kBands; ++b) {
        double before = 0;
        for (int h = 1; h <= kHistory; ++h)
            before += k - h >= 0 ? energy[k - h][b] : 0.0;
        before /= kHistory;
        const double rise = 10.0 * std::log10((energy[k][b] + kFloor) / (before + kFloor));
        strength += std::clamp(rise, 0.0, kMostRise);
    }
    return strength;
}
}

std::vector<SectionOnset> measureSectionOnsets(const std::vector<int16_t>& interleaved, int sampleRate, int channels,
                                               double tempo, const std::vector<Section>& sections)
{
    std::vector<SectionOnset> onsets;
    if (channels <= 0 || sampleRate <= 0 || tempo <= 0)
        return onsets;
    const BandEnergies energy = frameEnergies(interleaved, channels, sampleRate);
    const double framesPerBeat = sampleRate * 60.0 / tempo / kFrame;
    for (const Section& section : sections) {
        SectionOnset onset{section.startBeat, section.startBeat, 0.0};
        const double centre = section.startBeat * framesPerBeat;
        const long from = std::max<long>(0, std::lround(centre - kSearchBeats * framesPerBeat));
        const long to = std::min<long>(static_cast<long>(energy.size()) - 1,
                                       std::lround(centre + kSearchBeats * framesPerBeat));
        for (long k = from; k <= to; ++k) {
            const double strength = onsetStrength(energy, k);
            if (strength > onset.jumpDb) {
                onset.jumpDb = strength;
                onset.onsetBeat = (k + 0.5) / framesPerBeat;
            }
        }
        onsets.push_back(onset);
    }
    return onsets;
}

double peakDbfs(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak > 0 ? 20.0 * std::log10(peak / 32768.0) : -std::numeric_limits<double>::infinity();
}

} // namespace music
