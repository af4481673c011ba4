// Cost of one fluid step against its four FFTW transforms (both velocity
// components there and back), which should be most of it: the goal is a step
// at most 1.5 times the transforms alone. Both use the same kind of plans on
// the same 66 x 66 padded fields.
#include "scenes/fluid/FluidSolver.h"
#include "scenes/fluid/FluidSpectrum.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FluidStep(benchmark::State& state)
{
    FluidSolver solver;
    // A stirred field rather than a still one, as the scene runs it.
    for (int i = 0; i < 200; ++i)
        solver.step();
    for (auto _ : state) {
        solver.step();
        benchmark::DoNotOptimize(solver.texCoords().data());
        benchmark::ClobberMemory();
    }
}

void BM_FluidFourTransforms(benchmark::State& state)
{
    FluidSpectrum spectrum(FluidSolver::n, FluidSolver::m, FluidSolver::dt, FluidSolver::viscosity);
    // Zero fields: repeated unnormalised round trips would overflow anything
    // else, and FFTW's code takes the same path whatever the values.
    for (auto _ : state) {
        spectrum.toFrequencies();
        spectrum.toPositions();
        benchmark::DoNotOptimize(spectrum.u());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_FluidStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FluidFourTransforms)->Unit(benchmark::kMicrosecond);
