#include "music/Mixer.h"

#include "music/Dynamics.h"
#include "music/Effects.h"
#include "music/Filters.h"
#include "music/Voice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace music {

namespace {

enum Bus { KickBus, SnareBus, CymbalBus, FxBus, BassBus, PadBus, LeadBus, PluckBus, BellBus, BusCount };

Bus busOf(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Kick: return KickBus;
    case Instrument::Snare:
    case Instrument::Clap:
    case Instrument::Tom: return SnareBus;
    case Instrument::ClosedHat:
    case Instrument::OpenHat:
    case Instrument::Crash: return CymbalBus;
    case Instrument::Riser:
    case Instrument::Impact: return FxBus;
    case Instrument::Bass: return BassBus;
    case Instrument::Pad: return PadBus;
    case Instrument::Lead: return LeadBus;
    case Instrument::Pluck: return PluckBus;
    case Instrument::Bell: return BellBus;
    default: return FxBus;
    }
}

struct BusSettings {
    float gain;
    float reverb;   // send levels
    float echo;
    float duck;     // share of the side-chain depth this bus takes
};

// The mix's balance. Kick and bass stay dry and central so the low end is
// tight; the melodic parts get the space.
constexpr std::array<BusSettings, BusCount> kBuses = {{
    {0.45f, 0.00f, 0.00f, 0.0f},   // kick
    {0.55f, 0.22f, 0.00f, 0.0f},   // snare, clap, toms
    {0.32f, 0.10f, 0.00f, 0.0f},   // hats, crash
    {0.45f, 0.35f, 0.00f, 0.0f},   // riser, impact
    {0.30f, 0.00f, 0.00f, 0.8f},   // bass
    {0.26f, 0.30f, 0.00f, 1.0f},   // pad
    {0.38f, 0.18f, 0.26f, 0.2f},   // lead
    {0.40f, 0.14f, 0.32f, 0.6f},   // pluck
    {0.40f, 0.35f, 0.20f, 0.2f},   // bell
}};

constexpr int kEchoDelay = kSamplesPerBeat * 3 / 4;   // a dotted eighth
constexpr double kDuckRecovery = 0.09;                // seconds
// Automation is read on a fixed grid of samples, not per block, so the
// block size never changes the result.
constexpr int kControlPeriod = 64;

struct ActiveVoice {
    std::unique_ptr<Voice> voice;
    Bus bus;
    int64_t start;
};

struct Block {
    explicit Block(int size) : left(size), right(size) {}
    void clear()
    {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
    }
    std::vector<float> left, right;
};

// The kick's hits and how hard the side-chain pulls the other buses down.
class SideChain {
public:
    explicit SideChain(const Score& score) : depth_(score.duckDepth)
    {
        for (const Note& n : score.notes)
            if (n.instrument == Instrument::Kick)
                hits_.push_back({sampleOfBeat(n.beat), n.velocity});
        std::stable_sort(hits_.begin(), hits_.end(), [](const Hit& a, const Hit& b) { return a.sample < b.sample; });
        recovery_ = static_cast<float>(std::exp(-1.0 / (kDuckRecovery * kSampleRate)));
        smooth_.setTimeConstant(0.003);
    }
    // The amount (0 none, 1 silence) to duck sample t by; call in order.
    float next(int64_t t, float depth)
    {
        while (next_ < hits_.size() && hits_[next_].sample <= t) {
            pull_ = hits_[next_].velocity * depth;
            ++next_;
        }
        const float amount = smooth_.process(pull_);
        pull_ *= recovery_;
        return amount;
    }
    float depthAt(double beat) const { return depth_.at(beat); }

private:
    struct Hit {
        int64_t sample;
        float velocity;
    };
    std::vector<Hit> hits_;
    size_t next_ = 0;
    float pull_ = 0;
    float recovery_;
    OnePole smooth_;
    const Curve& depth_;
};

class DcBlocker {
public:
    float process(float x)
    {
        const float y = x - previousIn_ + 0.9975f * previousOut_;
        previousIn_ = x;
        previousOut_ = StateVariableFilter::flush(y);
        return y;
    }

private:
    float previousIn_ = 0, previousOut_ = 0;
};

int16_t toPcm(float x)
{
    const float scaled = std::round(x * 32767.0f);
    return static_cast<int16_t>(std::clamp(scaled, -32767.0f, 32767.0f));
}

} // namespace

std::vector<int16_t> renderScore(const Score& score, const MixOptions& options)
{
    const int blockSize = std::max(1, options.blockSize);
    const int64_t totalFrames = sampleOfBeat(score.endBeat);
    const int64_t fadeStart = sampleOfBeat(score.endBeat - score.fadeBeats);

    std::vector<size_t> order;
    for (size_t i = 0; i < score.notes.size(); ++i)
        if (!(options.mutedInstruments & instrumentBit(score.notes[i].instrument)))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return sampleOfBeat(score.notes[a].beat) < sampleOfBeat(score.notes[b].beat);
    });

    std::vector<Block> buses(BusCount, Block(blockSize));
    Block reverbSend(blockSize), echoSend(blockSize), master(blockSize);
    Reverb reverb(0.85f, 0.4f);
    PingPongDelay echo(kEchoDelay, 0.38f);
    Compressor compressor(-12.0f, 2.0f, 0.008, 0.18, 2.0f);
    Limiter limiter(kCeiling, 221, 0.12);
    SideChain sideChain(score);
    std::array<StateVariableFilter, 2> padFilter;
    std::array<DcBlocker, 2> dcBlocker;
    // MP3 at 192 kbit/s drops everything above about 19 kHz; removing it
    // before the limiter keeps the encoder's ringing from pushing the decoded
    // peaks past the ceiling.
    std::array<StateVariableFilter, 2> topCut;
    for (StateVariableFilter& f : topCut)
        f.set(16500, 0.3);

    std::vector<int16_t> out(static_cast<size_t>(totalFrames) * kChannels, 0);
    std::vector<ActiveVoice> voices;
    size_t nextNote = 0;
    float depth = 0;
    std::vector<float> duck(blockSize, 0.0f);
    const int64_t renderFrames = totalFrames + limiter.latency();

    for (int64_t blockStart = 0; blockStart < renderFrames; blockStart += blockSize) {
        const int n = static_cast<int>(std::min<int64_t>(blockSize, renderFrames - blockStart));
        for (Block& b : buses)
            b.clear();
        for (Block* b : {&reverbSend, &echoSend, &master})
            b->clear();

        while (nextNote < order.size() && sampleOfBeat(score.notes[order[nextNote]].beat) < blockStart + n) {
            const size_t index = order[nextNote++];
            const Note& note = score.notes[index];
            voices.push_back({makeVoice(note, hashSeed(static_cast<uint32_t>(index), 0x5eed)), busOf(note.instrument),
                              sampleOfBeat(note.beat)});
        }
        std::array<bool, BusCount> sounding{};
        for (ActiveVoice& v : voices) {
            const int offset = static_cast<int>(std::max<int64_t>(0, v.start - blockStart));
            sounding[v.bus] = true;
            Block& bus = buses[v.bus];
            if (!v.voice || !v.voice->render(bus.left.data() + offset, bus.right.data() + offset, n - offset))
                v.voice.reset();
        }
        voices.erase(std::remove_if(voices.begin(), voices.end(), [](const ActiveVoice& v) { return !v.voice; }),
                     voices.end());

        for (int i = 0; i < n; ++i) {
            const int64_t t = blockStart + i;
            if (t % kControlPeriod == 0) {
                const double beat = static_cast<double>(t) / kSamplesPerBeat;
                for (StateVariableFilter& f : padFilter)
                    f.set(score.padCutoff.at(beat), 0.3);
                depth = sideChain.depthAt(beat);
            }
            duck[i] = sideChain.next(t, depth);
            Block& pad = buses[PadBus];
            pad.left[i] = padFilter[0].lowpass(pad.left[i]);
            pad.right[i] = padFilter[1].lowpass(pad.right[i]);
        }
        for (int b = 0; b < BusCount; ++b) {
            if (!sounding[b] && b != PadBus)   // the pad filter's tail still rings
                continue;
            const BusSettings& s = kBuses[b];
            const Block& bus = buses[b];
            for (int i = 0; i < n; ++i) {
                const float gain = s.gain * (1.0f - s.duck * duck[i]);
                const float l = bus.left[i] * gain;
                const float r = bus.right[i] * gain;
                master.left[i] += l;
                master.right[i] += r;
                reverbSend.left[i] += l * s.reverb;
                reverbSend.right[i] += r * s.reverb;
                echoSend.left[i] += l * s.echo;
                echoSend.right[i] += r * s.echo;
            }
        }
        reverb.process(reverbSend.left.data(), reverbSend.right.data(), master.left.data(), master.right.data(), n);
        echo.process(echoSend.left.data(), echoSend.right.data(), master.left.data(), master.right.data(), n);
        for (int i = 0; i < n; ++i) {
            master.left[i] = topCut[0].lowpass(dcBlocker[0].process(master.left[i]));
            master.right[i] = topCut[1].lowpass(dcBlocker[1].process(master.right[i]));
        }
        compressor.process(master.left.data(), master.right.data(), n);
        limiter.process(master.left.data(), master.right.data(), n);

        for (int i = 0; i < n; ++i) {
            const int64_t frame = blockStart + i - limiter.latency();
            if (frame < 0 || frame >= totalFrames)
                continue;
            float fade = 1.0f;
            if (frame >= fadeStart) {
                const double u = static_cast<double>(frame - fadeStart + 1) / static_cast<double>(totalFrames - fadeStart);
                fade = static_cast<float>(0.5 * (1.0 + std::cos(kPi * u)));
            }
            out[2 * frame] = toPcm(master.left[i] * fade);
            out[2 * frame + 1] = toPcm(master.right[i] * fade);
        }
    }
    return out;
}

} // namespace music
