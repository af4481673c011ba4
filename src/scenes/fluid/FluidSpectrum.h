// FluidSpectrum: the fluid solver's two work fields (u and v) in FFTW's
// padded in-place layout, their transforms, and the frequency-domain part of
// a step: viscous decay and projection onto divergence-free flow.
// Each field is `height` rows of `width` + 2 floats: `width` real values on
// the way in, `width` / 2 + 1 complex values (real, imaginary) on the way
// out. The two plans (one each way, shared by both fields) and the per
// frequency coefficients are made once here; afterwards nothing allocates.
// The inverse transform alone does not normalise: a round trip scales by
// width x height, which diffuseAndProject() takes back.
#pragma once

#include "scenes/fluid/FftwPlan.h"

#include <vector>

class FluidSpectrum {
public:
    // `width` must be even for the padded layout.
    FluidSpectrum(int width, int height, float dt, float viscosity);

    int rowLength() const { return width + 2; }
    float* u() { return fieldU.get(); }
    float* v() { return fieldV.get(); }

    // Both fields in place, real to complex.
    void toFrequencies();
    // Both fields in place, complex to real.
    void toPositions();
    // Per frequency k: damps by exp(-|k|^2 dt viscosity) and removes the part
    // of (U, V) along k, which is the divergent part. The zero frequency, the
    // mean flow, is not projected: it has no direction to project along.
    // Every frequency is also divided by width x height here, where it costs
    // nothing, so toPositions() then gives the normalised field.
    void diffuseAndProject();

private:
    // new U = uu U + uv V, new V = uv U + vv V, for real and imaginary parts.
    struct Coupling {
        float uu, uv, vv;
    };

    void computeCouplings(float dt, float viscosity);

    int width;
    int height;
    FftwBuffer fieldU;
    FftwBuffer fieldV;
    FftwPlan forward;
    FftwPlan inverse;
    std::vector<Coupling> couplings; // height x (width / 2 + 1), row after row
};
