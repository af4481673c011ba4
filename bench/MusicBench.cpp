// How long the show's music takes to make: the whole track (what the data
// generator pays on every rebuild of the music), one section, and the MP3
// encoding of ten seconds.
#include "mp3writer/Mp3Writer.h"
#include "music/Mixer.h"
#include "music/ShowMusic.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ComposeShowMusic(benchmark::State& state)
{
    for (auto _ : state) {
        const music::MusicTrack track = music::composeShowMusic();
        benchmark::DoNotOptimize(track.samples.data());
    }
    state.counters["audio_seconds"] = (music::kShowEndBeat + music::kRingOutBeats) * 60.0 / music::kTempo;
}
BENCHMARK(BM_ComposeShowMusic)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RenderRibbonStack(benchmark::State& state)
{
    const music::Score part = music::excerpt(music::composeShowScore(), 217, 273);
    for (auto _ : state) {
        const std::vector<int16_t> pcm = music::renderScore(part);
        benchmark::DoNotOptimize(pcm.data());
    }
}
BENCHMARK(BM_RenderRibbonStack)->Unit(benchmark::kMillisecond);

void BM_EncodeMp3TenSeconds(benchmark::State& state)
{
    const std::vector<int16_t> pcm = music::renderScore(music::excerpt(music::composeShowScore(), 56, 74));
    for (auto _ : state) {
        const std::vector<uint8_t> mp3 = mp3writer::encodeMp3(pcm, 192);
        benchmark::DoNotOptimize(mp3.data());
    }
}
BENCHMARK(BM_EncodeMp3TenSeconds)->Unit(benchmark::kMillisecond);

} // namespace
