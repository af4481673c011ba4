// A checked NV vertex program (!!VP1.0) or vertex state program (!!VSP1.0):
// the instruction list that the text parser produces and that the ARB
// translator and the CPU interpreter consume. Plain data, no GL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace programs {

enum class VpOpcode { ARL, MOV, LIT, RCP, RSQ, EXP, LOG, MUL, ADD, DP3, DP4, DST, MIN, MAX, SLT, SGE, MAD };

// Register files of the NV vertex machine.
enum class VpFile { None, Attribute, Parameter, Temporary, Output, Address };

// Output registers o[...] in the order the NV grammar lists them.
enum VpOutput { HPOS, COL0, COL1, BFC0, BFC1, FOGC, PSIZ, TEX0, OutputCount = TEX0 + 8 };

constexpr int vpAttributeCount = 16;
constexpr int vpParameterCount = 96;
constexpr int vpTemporaryCount = 12;
constexpr int vpMaxInstructions = 128;
constexpr int vpMinRelativeOffset = -64;
constexpr int vpMaxRelativeOffset = 63;

enum VpMask : uint8_t { MaskX = 1, MaskY = 2, MaskZ = 4, MaskW = 8, MaskXYZW = 15 };

struct VpSource {
    VpFile file = VpFile::None;
    int index = 0;             // absolute register, or the offset added to A0.x
    bool relative = false;     // c[A0.x + index]
    bool negate = false;
    std::array<uint8_t, 4> swizzle{0, 1, 2, 3};
};

struct VpDestination {
    VpFile file = VpFile::None;
    int index = 0;
    uint8_t mask = MaskXYZW;
};

struct VpInstruction {
    VpOpcode op = VpOpcode::MOV;
    VpDestination dst;
    std::array<VpSource, 3> src;
    int sourceCount = 0;
    size_t textOffset = 0;     // where the instruction starts in the program text
};

enum class VpKind { Vertex, State };

struct VertexProgram {
    VpKind kind = VpKind::Vertex;
    std::vector<VpInstruction> instructions;
};

// Number of source operands and whether they are scalar, per opcode.
int vpSourceCount(VpOpcode op);
bool vpIsScalar(VpOpcode op);
const char* vpOpcodeName(VpOpcode op);

} // namespace programs
