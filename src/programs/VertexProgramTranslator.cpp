#include "programs/VertexProgramTranslator.h"

#include <bitset>

namespace programs {

namespace {

const char* const attributeBindings[vpAttributeCount] = {
    "vertex.position", "vertex.attrib[1]", "vertex.normal", "vertex.color",
    "vertex.color.secondary", "vertex.fogcoord", "vertex.attrib[6]", "vertex.attrib[7]",
    "vertex.texcoord[0]", "vertex.texcoord[1]", "vertex.texcoord[2]", "vertex.texcoord[3]",
    "vertex.texcoord[4]", "vertex.texcoord[5]", "vertex.texcoord[6]", "vertex.texcoord[7]"};

const char* const outputBindings[OutputCount] = {
    "result.position", "result.color", "result.color.secondary", "result.color.back",
    "result.color.back.secondary", "result.fogcoord", "result.pointsize",
    "result.texcoord[0]", "result.texcoord[1]", "result.texcoord[2]", "result.texcoord[3]",
    "result.texcoord[4]", "result.texcoord[5]", "result.texcoord[6]", "result.texcoord[7]"};

const char components[] = "xyzw";

std::string stateMatrix(const TrackedMatrix& t)
{
    std::string name;
    switch (t.matrix) {
    case GL_MODELVIEW: name = "state.matrix.modelview"; break;
    case GL_PROJECTION: name = "state.matrix.projection"; break;
    case GL_MODELVIEW_PROJECTION_NV: name = "state.matrix.mvp"; break;
    case GL_TEXTURE: name = "state.matrix.texture[" + std::to_string(t.textureUnit) + "]"; break;
    default: name = "state.matrix.program[" + std::to_string(t.matrix - GL_MATRIX0_NV) + "]"; break;
    }
    switch (t.transform) {
    case GL_INVERSE_NV: name += ".inverse"; break;
    case GL_TRANSPOSE_NV: name += ".transpose"; break;
    case GL_INVERSE_TRANSPOSE_NV: name += ".invtrans"; break;
    default: break;
    }
    return name;
}

// The parameter array: runs of untracked registers come from the environment,
// tracked groups from the state matrices. There is no colour matrix among the
// ARB state bindings and none in the drivers this runs on, so GL_COLOR tracks
// the identity it would hold.
std::string parameterDeclaration(const TrackingTable& tracking)
{
    std::string items;
    auto add = [&items](const std::string& item) { items += (items.empty() ? "" : ", ") + item; };
    int runStart = -1;
    for (int group = 0; group <= static_cast<int>(tracking.size()); ++group) {
        bool tracked = group < static_cast<int>(tracking.size()) && tracking[group].matrix != GL_NONE;
        bool end = group == static_cast<int>(tracking.size());
        if ((tracked || end) && runStart >= 0) {
            add("program.env[" + std::to_string(runStart * 4) + ".." + std::to_string(group * 4 - 1) + "]");
            runStart = -1;
        }
        if (end)
            break;
        if (!tracked) {
            if (runStart < 0)
                runStart = group;
        } else if (tracking[group].matrix == GL_COLOR) {
            add("{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}");
        } else {
            add(stateMatrix(tracking[group]) + ".row[0..3]");
        }
    }
    return "PARAM c[" + std::to_string(vpParameterCount) + "] = { " + items + " };\n";
}

std::string sourceText(const VpSource& s, bool scalar, uint16_t genericAttributes)
{
    std::string text = s.negate ? "-" : "";
    switch (s.file) {
    case VpFile::Attribute:
        if (genericAttributes & (1u << s.index))
            text += "vertex.attrib[" + std::to_string(s.index) + "]";
        else
            text += attributeBindings[s.index];
        break;
    case VpFile::Temporary: text += "R" + std::to_string(s.index); break;
    case VpFile::Parameter:
        if (!s.relative)
            text += "c[" + std::to_string(s.index) + "]";
        else if (s.index == 0)
            text += "c[A0.x]";
        else
            text += "c[A0.x " + std::string(s.index < 0 ? "- " : "+ ") + std::to_string(s.index < 0 ? -s.index : s.index) + "]";
        break;
    default: break;
    }
    if (scalar) {
        text += '.';
        text += components[s.swizzle[0]];
    } else if (s.swizzle != std::array<uint8_t, 4>{0, 1, 2, 3}) {
        text += '.';
        for (uint8_t c : s.swizzle)
            text += components[c];
    }
    return text;
}

std::string destinationText(const VpDestination& d)
{
    std::string text;
    switch (d.file) {
    case VpFile::Address: return "A0.x";
    case VpFile::Temporary: text = "R" + std::to_string(d.index); break;
    case VpFile::Output: text = outputBindings[d.index]; break;
    default: break;
    }
    if (d.mask != MaskXYZW) {
        text += '.';
        for (int i = 0; i < 4; ++i)
            if (d.mask & (1 << i))
                text += components[i];
    }
    return text;
}

// Temporaries used at all, and those read before their first write.
void temporaryUse(const VertexProgram& program, std::bitset<vpTemporaryCount>& used,
                  std::bitset<vpTemporaryCount>& readFirst)
{
    std::bitset<vpTemporaryCount> written;
    for (const VpInstruction& inst : program.instructions) {
        for (int i = 0; i < inst.sourceCount; ++i) {
            if (inst.src[i].file != VpFile::Temporary)
                continue;
            used.set(inst.src[i].index);
            if (!written.test(inst.src[i].index))
                readFirst.set(inst.src[i].index);
        }
        if (inst.dst.file == VpFile::Temporary) {
            used.set(inst.dst.index);
            written.set(inst.dst.index);
        }
    }
}

// Results the program does not write whole, unwritten ones included. On
// the NV machine every result starts at (0, 0, 0, 1); ARB results start
// undefined, so a program that writes only o[TEX0].xy would hand the
// rasteriser an arbitrary q, and one that never writes o[COL0] would draw
// with whatever colour the driver passes on instead of black. (Programs do
// not branch: a component that some instruction writes is written on every
// run.)
std::bitset<OutputCount> notWhollyWrittenOutputs(const VertexProgram& program)
{
    std::array<uint8_t, OutputCount> written{};
    for (const VpInstruction& inst : program.instructions)
        if (inst.dst.file == VpFile::Output)
            written[inst.dst.index] |= inst.dst.mask;
    std::bitset<OutputCount> notWhole;
    for (int i = 0; i < OutputCount; ++i)
        notWhole.set(i, written[i] != MaskXYZW);
    return notWhole;
}

} // namespace

std::string translateToArbVertexProgram(const VertexProgram& program, const TrackingTable& tracking,
                                        uint16_t genericAttributes)
{
    std::string out = "!!ARBvp1.0\n";
    out += parameterDeclaration(tracking);
    std::bitset<vpTemporaryCount> used, readFirst;
    temporaryUse(program, used, readFirst);
    std::string temps;
    for (int i = 0; i < vpTemporaryCount; ++i)
        if (used.test(i))
            temps += (temps.empty() ? "" : ", ") + ("R" + std::to_string(i));
    if (!temps.empty())
        out += "TEMP " + temps + ";\n";
    out += "ADDRESS A0;\n";
    for (int i = 0; i < vpTemporaryCount; ++i)
        if (readFirst.test(i))
            out += "MOV R" + std::to_string(i) + ", {0, 0, 0, 0};\n";
    std::bitset<OutputCount> notWhole = notWhollyWrittenOutputs(program);
    for (int i = 0; i < OutputCount; ++i)
        if (notWhole.test(i))
            out += "MOV " + std::string(outputBindings[i]) + ", {0, 0, 0, 1};\n";
    for (const VpInstruction& inst : program.instructions) {
        out += vpOpcodeName(inst.op);
        out += ' ';
        out += destinationText(inst.dst);
        for (int i = 0; i < inst.sourceCount; ++i)
            out += ", " + sourceText(inst.src[i], vpIsScalar(inst.op), genericAttributes);
        out += ";\n";
    }
    out += "END\n";
    return out;
}

} // namespace programs
