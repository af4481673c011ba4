// The OpenGL state a scene could leave behind, read back into one record so
// two moments can be compared: capabilities, blending, depth, the texture
// units (enables, bindings, environment), the matrices, the bound programs
// and the emulated combiner and texture-shader enables. describe() lists the
// fields that differ, for a failure message.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct GLStateSnapshot {
    // Each entry: a readable name and the values read for it.
    std::vector<std::pair<std::string, std::vector<double>>> fields;

    static GLStateSnapshot take();
    // The names (and both values) of the fields that differ from `other`.
    std::string differencesFrom(const GLStateSnapshot& other) const;
};

} // namespace testsupport
