#include "scenes/fluid/FluidSpectrum.h"

#include <cassert>
#include <cmath>
#include <cstddef>

namespace {

// FFTW_ESTIMATE: every run picks the same algorithms and so rounds alike.
// FFTW_NO_BUFFERING: FFTW's buffered algorithms allocate their buffers on
// every execution; without them a step allocates nothing.
constexpr unsigned planFlags = FFTW_ESTIMATE | FFTW_NO_BUFFERING;

fftwf_complex* asComplex(float* field)
{
    return reinterpret_cast<fftwf_complex*>(field);
}

} // namespace

FluidSpectrum::FluidSpectrum(int width, int height, float dt, float viscosity)
    : width(width), height(height),
      fieldU(makeFftwBuffer(static_cast<std::size_t>(width + 2) * height)),
      fieldV(makeFftwBuffer(static_cast<std::size_t>(width + 2) * height))
{
    assert(width % 2 == 0 && "the padded in-place layout needs an even width");
    // Rows are FFTW's first dimension and columns its last, the padded one.
    forward.reset(fftwf_plan_dft_r2c_2d(height, width, fieldU.get(), asComplex(fieldU.get()), planFlags));
    inverse.reset(fftwf_plan_dft_c2r_2d(height, width, asComplex(fieldU.get()), fieldU.get(), planFlags));
    assert(forward && inverse && "FFTW cannot plan the fluid's transforms");
    // The plans run on fieldV too, which FFTW allows for arrays aligned alike.
    assert(fftwf_alignment_of(fieldU.get()) == fftwf_alignment_of(fieldV.get()));
    computeCouplings(dt, viscosity);
}

void FluidSpectrum::toFrequencies()
{
    fftwf_execute_dft_r2c(forward.get(), fieldU.get(), asComplex(fieldU.get()));
    fftwf_execute_dft_r2c(forward.get(), fieldV.get(), asComplex(fieldV.get()));
}

void FluidSpectrum::toPositions()
{
    fftwf_execute_dft_c2r(inverse.get(), asComplex(fieldU.get()), fieldU.get());
    fftwf_execute_dft_c2r(inverse.get(), asComplex(fieldV.get()), fieldV.get());
}

void FluidSpectrum::computeCouplings(float dt, float viscosity)
{
    const int complexWidth = width / 2 + 1;
    const float normalise = 1.0f / static_cast<float>(width * height);
    couplings.assign(static_cast<std::size_t>(complexWidth) * height, Coupling{normalise, 0.0f, normalise});
    for (int i = 0; i < height; ++i) {
        // Rows past the middle hold the negative frequencies.
        const float ky = static_cast<float>(i > height / 2 ? i - height : i);
        for (int j = 0; j < complexWidth; ++j) {
            const float kx = static_cast<float>(j);
            const float k2 = kx * kx + ky * ky;
            if (k2 == 0.0f)
                continue;
            const float f = std::exp(-k2 * dt * viscosity) * normalise;
            couplings[i * complexWidth + j] = {f * (1.0f - kx * kx / k2), -f * (kx * ky / k2),
                                               f * (1.0f - ky * ky / k2)};
        }
    }
}

void FluidSpectrum::diffuseAndProject()
{
    const int complexWidth = width / 2 + 1;
    for (int i = 0; i < height; ++i) {
        float* rowU = fieldU.get() + i * rowLength();
        float* rowV = fieldV.get() + i * rowLength();
        const Coupling* rowCouplings = &couplings[i * complexWidth];
        for (int part = 0; part < 2 * complexWidth; ++part) {
            const Coupling& k = rowCouplings[part / 2];
            const float a = rowU[part];
            const float b = rowV[part];
            rowU[part] = k.uu * a + k.uv * b;
            rowV[part] = k.uv * a + k.vv * b;
        }
    }
}
