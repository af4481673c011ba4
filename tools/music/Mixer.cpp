#include "music/Mixer.h"

#include "music/Dynamics.h"
#include "music/Effects.h"
#include "music/Filters.h"
#include "music/Voice.h"

#include <algorithm>
#include <array>
#include <cmath>

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

// One pass over a score, block by block: voices into buses, buses into the
// master and the effect sends, the master chain, then 16-bit output.
class TrackMixer {
public:
    TrackMixer(const Score& score, const MixOptions& options);
    std::vector<int16_t> run();

private:
    void startVoices(int64_t blockStart, int n);
    std::array<bool, BusCount> renderVoices(int64_t blockStart, int n);
    void automate(int64_t blockStart, int n);
    void mixBuses(const std::array<bool, BusCount>& sounding, int n);
    void masterChain(int n);
    void write(int64_t blockStart, int n);

    const Score& score_;
    const int blockSize_;
    const int64_t totalFrames_;
    const int64_t fadeStart_;
    std::vector<size_t> order_;   // the sounding notes, by start
    size_t nextNote_ = 0;
    std::vector<ActiveVoice> voices_;

    std::vector<Block> buses_;
    Block reverbSend_, echoSend_, master_;
    std::vector<float> duck_;
    float depth_ = 0;
    SideChain sideChain_;
    std::array<StateVariableFilter, 2> padFilter_;

    Reverb reverb_{0.85f, 0.4f};
    PingPongDelay echo_{kEchoDelay, 0.38f};
    std::array<DcBlocker, 2> dcBlocker_;
    std::array<StateVariableFilter, 2> topCut_;
    Compressor compressor_{-12.0f, 2.0f, 0.008, 0.18, 2.0f};
    Limiter limiter_{kCeiling, 221, 0.12};
    std::vector<int16_t> out_;
};

TrackMixer::TrackMixer(const Score& score, const MixOptions& options)
    : score_(score), blockSize_(std::max(1, options.blockSize)), totalFrames_(sampleOfBeat(score.endBeat)),
      fadeStart_(sampleOfBeat(score.endBeat - score.fadeBeats)), buses_(BusCount, Block(blockSize_)),
      reverbSend_(blockSize_), echoSend_(blockSize_), master_(blockSize_), duck_(blockSize_, 0.0f),
      sideChain_(score), out_(static_cast<size_t>(std::max<int64_t>(0, totalFrames_)) * kChannels, 0)
{
    for (size_t i = 0; i < score.notes.size(); ++i)
        if (!(options.mutedInstruments & instrumentBit(score.notes[i].instrument)))
            order_.push_back(i);
    std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
        return sampleOfBeat(score.notes[a].beat) < sampleOfBeat(score.notes[b].beat);
    });
    // MP3 at 192 kbit/s drops everything above about 19 kHz; removing it
    // before the limiter keeps the encoder's ringing from pushing the decoded
    // peaks past the ceiling.
    for (StateVariableFilter& f : topCut_)
        f.set(16500, 0.3);
}

std::vector<int16_t> TrackMixer::run()
{
    // The limiter hands samples out late; run on until the last one is out.
    const int64_t renderFrames = totalFrames_ + limiter_.latency();
    for (int64_t blockStart = 0; blockStart < renderFrames; blockStart += blockSize_) {
        const int n = static_cast<int>(std::min<int64_t>(blockSize_, renderFrames - blockStart));
        for (Block& b : buses_)
            b.clear();
        for (Block* b : {&reverbSend_, &echoSend_, &master_})
            b->clear();
        startVoices(blockStart, n);
        const std::array<bool, BusCount> sounding = renderVoices(blockStart, n);
        automate(blockStart, n);
        mixBuses(sounding, n);
        masterChain(n);
        write(blockStart, n);
    }
    return std::move(out_);
}

void TrackMixer::startVoices(int64_t blockStart, int n)
{
    while (nextNote_ < order_.size() && sampleOfBeat(score_.notes[order_[nextNote_]].beat) < blockStart + n) {
        const size_t index = order_[nextNote_++];
        const Note& note = score_.notes[index];
        voices_.push_back({makeVoice(note, hashSeed(static_cast<uint32_t>(index), 0x5eed)), busOf(note.instrument),
                           sampleOfBeat(note.beat)});
    }
}

std::array<bool, BusCount> TrackMixer::renderVoices(int64_t blockStart, int n)
{
    std::array<bool, BusCount> sounding{};
    for (ActiveVoice& v : voices_) {
        const int offset = static_cast<int>(std::max<int64_t>(0, v.start - blockStart));
        sounding[v.bus] = true;
        Block& bus = buses_[v.bus];
        if (!v.voice || !v.voice->render(bus.left.data() + offset, bus.right.data() + offset, n - offset))
            v.voice.reset();
    }
    voices_.erase(std::remove_if(voices_.begin(), voices_.end(), [](const ActiveVoice& v) { return !v.voice; }),
                  voices_.end());
    return sounding;
}

// The pad bus's filter and the side-chain, read from the score's curves.
void TrackMixer::automate(int64_t blockStart, int n)
{
    Block& pad = buses_[PadBus];
    for (int i = 0; i < n; ++i) {
        const int64_t t = blockStart + i;
        if (t % kControlPeriod == 0) {
            const double beat = static_cast<double>(t) / kSamplesPerBeat;
            for (StateVariableFilter& f : padFilter_)
                f.set(score_.padCutoff.at(beat), 0.3);
            depth_ = sideChain_.depthAt(beat);
        }
        duck_[i] = sideChain_.next(t, depth_);
        pad.left[i] = padFilter_[0].lowpass(pad.left[i]);
        pad.right[i] = padFilter_[1].lowpass(pad.right[i]);
    }
}

void TrackMixer::mixBuses(const std::array<bool, BusCount>& sounding, int n)
{
    for (int b = 0; b < BusCount; ++b) {
        if (!sounding[b] && b != PadBus)   // the pad filter's tail still rings
            continue;
        const BusSettings& s = kBuses[b];
        const Block& bus = buses_[b];
        for (int i = 0; i < n; ++i) {
            const float gain = s.gain * (1.0f - s.duck * duck_[i]);
            const float l = bus.left[i] * gain;
            const float r = bus.right[i] * gain;
            master_.left[i] += l;
            master_.right[i] += r;
            reverbSend_.left[i] += l * s.reverb;
            reverbSend_.right[i] += r * s.reverb;
            echoSend_.left[i] += l * s.echo;
            echoSend_.right[i] += r * s.echo;
        }
    }
}

void TrackMixer::masterChain(int n)
{
    reverb_.process(reverbSend_.left.data(), reverbSend_.right.data(), master_.left.data(), master_.right.data(), n);
    echo_.process(echoSend_.left.data(), echoSend_.right.data(), master_.left.data(), master_.right.data(), n);
    for (int i = 0; i < n; ++i) {
        master_.left[i] = topCut_[0].lowpass(dcBlocker_[0].process(master_.left[i]));
        master_.right[i] = topCut_[1].lowpass(dcBlocker_[1].process(master_.right[i]));
    }
    compressor_.process(master_.left.data(), master_.right.data(), n);
    limiter_.process(master_.left.data(), master_.right.data(), n);
}

// Out go the samples the limiter has released, through the closing fade.
void TrackMixer::write(int64_t blockStart, int n)
{
    for (int i = 0; i < n; ++i) {
        const int64_t frame = blockStart + i - limiter_.latency();
        if (frame < 0 || frame >= totalFrames_)
            continue;
        float fade = 1.0f;
        if (frame >= fadeStart_) {
            const double u = static_cast<double>(frame - fadeStart_ + 1) / static_cast<double>(totalFrames_ - fadeStart_);
            fade = static_cast<float>(0.5 * (1.0 + std::cos(kPi * u)));
        }
        out_[2 * frame] = toPcm(master_.left[i] * fade);
        out_[2 * frame + 1] = toPcm(master_.right[i] * fade);
    }
}

} // namespace

std::vector<int16_t> renderScore(const Score& score, const MixOptions& options)
{
    return TrackMixer(score, options).run();
}

} // namespace music
