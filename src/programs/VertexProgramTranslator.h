// Translates a checked NV vertex program into ARB_vertex_program assembly.
//
// Program parameters c[0..95] become program environment parameters, except
// groups that track a matrix: those read the matching ARB state matrix rows,
// so they follow every later matrix change without help from the caller.
// Named attributes map onto the conventional vertex arrays the way NV
// aliases them (v[0] position, v[2] normal, v[3] colour, v[8+n] texture
// coordinate n, ...). Temporaries that are read before written start at
// zero, and results not written whole (or not at all) start at (0, 0, 0, 1),
// as on the NV machine. (NV results are write-only, so no result is read.)
#pragma once

#include "programs/MatrixTracking.h"
#include "programs/VertexProgram.h"

#include <cstdint>
#include <string>

namespace programs {

// Attributes whose bit is set in `genericAttributes` (bit n for v[n]) are
// read from ARB generic attribute n instead: NV vertex-attribute arrays
// take the place of the conventional array they alias while enabled.
std::string translateToArbVertexProgram(const VertexProgram& program, const TrackingTable& tracking,
                                        uint16_t genericAttributes = 0);

} // namespace programs
