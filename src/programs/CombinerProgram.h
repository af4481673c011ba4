// The register-combiner program text ("!!RC1.0"): global and per-stage
// constants, up to eight general combiners with rgb and alpha portions
// (input mappings, scale and bias, products, dot products, sum(), mux()),
// and the final combiner with final_product, color_sum and out.rgb/out.a.
// Pure text in, a checked combiner setup and the error messages out.
//
//     !!RC1.0
//     const0 = (0.5, 0.5, 0.5, 1);
//     { rgb { spare0 = expand(tex0) . expand(col0); scale_by_two(); } }
//     out.rgb = lerp(spare0, tex1, col0);
//     out.a = unsigned_invert(tex0.a);
#pragma once

#include "programs/CombinerState.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace programs {

struct CombinerSetup {
    // Every general stage up to numGeneralCombiners and the final combiner
    // are set in full; portions the text leaves out discard everything.
    CombinerState state;
    std::optional<Colour> constant0;
    std::optional<Colour> constant1;
    // Set when a stage has constants of its own; every stage's constants are
    // then filled (from the global ones where the stage sets none).
    bool perStageConstants = false;
};

struct CombinerCompileResult {
    bool ok = false;
    CombinerSetup setup;
    std::vector<std::string> messages;
};

// Compiles the text from `start` (just after the "!!RC1.0" header).
// `supportedCombiners` is the driver's number of general combiners;
// `perStageConstants` whether local constants are supported.
CombinerCompileResult compileRegisterCombiners(std::string_view text, size_t start, int supportedCombiners,
                                               bool perStageConstants);

} // namespace programs
