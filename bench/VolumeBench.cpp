// What the metaball scene pays on the CPU every frame: one rebuild of the
// 32 x 32 x 32 volume, plain and while morphing into the shape mask (which
// adds the per-texel opacity blend), and the 32 clipped camera-facing slices.
#include "core/ShowMath.h"
#include "scenes/metaballs/MetaballVolume.h"
#include "scenes/metaballs/VolumeSlices.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A dark square in the middle of a light picture: the mask is partly full,
// as the show's letter shape is.
ShapeMask squareMask()
{
    std::vector<unsigned char> rgb(32 * 32 * 3, 255);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            rgb[(y * 32 + x) * 3] = 0;
    return ShapeMask::fromPicture(rgb.data(), 32, 32);
}

// Scene time advances a 25th of a second per frame, so the balls move and
// the share of texels above the threshold varies as it does in the show.
void RebuildVolume(benchmark::State& state, bool morphing)
{
    MetaballVolume volume(squareMask());
    VolumeMorph morph;
    float tau = 0.0f;
    for (auto _ : state) {
        if (morphing && !morph.active)
            morph.start(1.0f);
        volume.rebuild(tau, morph);
        benchmark::DoNotOptimize(volume.texels());
        benchmark::ClobberMemory();
        tau += 0.04f;
    }
    state.SetBytesProcessed(state.iterations() * MetaballVolume::byteCount);
}
BENCHMARK_CAPTURE(RebuildVolume, plain, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RebuildVolume, morphing, true)->Unit(benchmark::kMicrosecond);

void BuildFacingSlices(benchmark::State& state)
{
    const show::Mat4 modelView = show::Mat4::lookAt({20, 20, 20}, {0, 0, 0}, {0, 1, 0}) * show::Mat4::scaling(20, 20, 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(VolumeSlices::facing(modelView));
}
BENCHMARK(BuildFacingSlices)->Unit(benchmark::kMicrosecond);

} // namespace
