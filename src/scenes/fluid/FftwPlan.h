// Owners for FFTW's single-precision objects, so each is released exactly
// once however its owner goes: FftwBuffer holds fftwf_malloc memory (aligned
// the way FFTW's vector code wants it, freed with fftwf_free) and FftwPlan a
// plan (destroyed with fftwf_destroy_plan). Both move and never copy. A plan
// does not own the arrays it was made for: keep them alive as long as it.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

struct FftwFree {
    void operator()(float* buffer) const { fftwf_free(buffer); }
};
using FftwBuffer = std::unique_ptr<float[], FftwFree>;

// `count` floats, all zero. Throws std::bad_alloc when memory runs out, as a
// std::vector would.
inline FftwBuffer makeFftwBuffer(std::size_t count)
{
    auto* buffer = static_cast<float*>(fftwf_malloc(count * sizeof(float)));
    if (buffer == nullptr)
        throw std::bad_alloc();
    std::fill(buffer, buffer + count, 0.0f);
    return FftwBuffer(buffer);
}

struct FftwPlanDestroy {
    void operator()(fftwf_plan plan) const { fftwf_destroy_plan(plan); }
};
using FftwPlan = std::unique_ptr<std::remove_pointer_t<fftwf_plan>, FftwPlanDestroy>;
