// A CPU evaluation of register-combiner state for one fragment, written
// straight from the combiners' arithmetic (input mappings, products, dot
// products, sum and mux, bias then scale, clamping), to check the generated
// fragment programs against.
#pragma once

#include "programs/CombinerState.h"

#include <array>

namespace reference {

struct CombinerRegisters {
    programs::Colour col0{}, col1{}, fog{};
    std::array<programs::Colour, 4> tex{};
};

programs::Colour evaluateCombiners(const programs::CombinerState& state, bool perStageConstants,
                                   const CombinerRegisters& in);

} // namespace reference
