#include "programs/FragmentProgramBuilder.h"

namespace programs {

namespace {

const char* targetName(GLenum target)
{
    switch (target) {
    case GL_TEXTURE_1D: return "1D";
    case GL_TEXTURE_3D: return "3D";
    case GL_TEXTURE_RECTANGLE_NV: return "RECT";
    case GL_TEXTURE_CUBE_MAP: return "CUBE";
    default: return "2D";
    }
}

std::string unitText(int i) { return std::to_string(i); }
std::string local(int slot) { return "program.local[" + std::to_string(slot) + "]"; }

bool isDotProductOperation(GLenum op)
{
    switch (op) {
    case GL_DOT_PRODUCT_NV: case GL_DOT_PRODUCT_TEXTURE_2D_NV: case GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV:
    case GL_DOT_PRODUCT_DEPTH_REPLACE_NV: case GL_DOT_PRODUCT_TEXTURE_3D_NV:
    case GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV: case GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV:
    case GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV: case GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV:
        return true;
    default:
        return false;
    }
}

bool isReflectOperation(GLenum op)
{
    return op == GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV || op == GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV;
}

bool readsPreviousStage(GLenum op)
{
    return isOffsetTextureOperation(op) || isDotProductOperation(op) || op == GL_DEPENDENT_AR_TEXTURE_2D_NV ||
           op == GL_DEPENDENT_GB_TEXTURE_2D_NV;
}

int previousUnit(const FragmentDescription& d, int i)
{
    return static_cast<int>(d.shader[i].previousInput) - GL_TEXTURE0_ARB;
}

// Whether stage i reads an earlier stage's result (or runs no such operation).
bool previousValid(const FragmentDescription& d, int i)
{
    int previous = previousUnit(d, i);
    return !readsPreviousStage(d.shader[i].operation) || (previous >= 0 && previous < i);
}

// Whether stage `i` computes a plain dot product for a sequence to use.
bool isDotStage(const FragmentDescription& d, int i)
{
    return i >= 0 && i < textureShaderStages && d.shader[i].operation == GL_DOT_PRODUCT_NV && previousValid(d, i);
}

// Whether the stages a dot-product sequence needs around stage i run what
// they must. The diffuse stage also needs the product of the stage after it,
// which therefore may not read the diffuse stage's own result.
bool dotSequenceConsistent(const FragmentDescription& d, int i)
{
    switch (d.shader[i].operation) {
    case GL_DOT_PRODUCT_TEXTURE_2D_NV: case GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV:
    case GL_DOT_PRODUCT_DEPTH_REPLACE_NV:
        return isDotStage(d, i - 1);
    case GL_DOT_PRODUCT_TEXTURE_3D_NV: case GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV:
        return isDotStage(d, i - 2) && isDotStage(d, i - 1);
    case GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV:
        return isDotStage(d, i - 1) && i + 1 < textureShaderStages &&
               isReflectOperation(d.shader[i + 1].operation) && previousValid(d, i + 1) && previousUnit(d, i + 1) < i;
    case GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV: case GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV:
        if (i >= 1 && d.shader[i - 1].operation == GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV)
            return isDotStage(d, i - 2) && previousValid(d, i - 1) && previousUnit(d, i) < i - 1;
        return isDotStage(d, i - 2) && isDotStage(d, i - 1);
    default:
        return true;
    }
}

// The operation unit i runs: the texture-shader operation, or for the
// conventional path a plain lookup of the highest-priority enabled target.
GLenum operationOf(const FragmentDescription& d, int i)
{
    if (!d.textureShader)
        return d.units[i].target;
    GLenum op = d.shader[i].operation;
    if (!previousValid(d, i) || !dotSequenceConsistent(d, i))
        return GL_NONE;   // an inconsistent stage behaves as none
    return op;
}

bool holdsVectors(TextureFormat format)
{
    return format == TextureFormat::Offset || format == TextureFormat::Hilo || format == TextureFormat::SignedHilo;
}

// Whether unit i hands a colour to the combiners and the texture environment.
// Offset textures hold (ds, dt) pairs and HILO textures vectors, not colours.
bool producesColour(const FragmentDescription& d, int i)
{
    GLenum op = operationOf(d, i);
    if (op == GL_PASS_THROUGH_NV)
        return true;
    return textureShaderTarget(op) != 0 && !holdsVectors(d.units[i].format);
}

void emitOffsetFetch(std::string& out, const FragmentDescription& d, int i, GLenum op)
{
    std::string t = "tex" + unitText(i);
    std::string prev = "tex" + unitText(static_cast<int>(d.shader[i].previousInput) - GL_TEXTURE0_ARB);
    std::string m = local(localOffsetMatrix + i);
    out += "MOV coord, fragment.texcoord[" + unitText(i) + "];\n";
    out += "MAD coord.xy, " + m + ", " + prev + ".x, coord;\n";
    out += "MAD coord.xy, " + m + ".zwzw, " + prev + ".y, coord;\n";
    out += "TEX " + t + ", coord, texture[" + unitText(i) + "], " + targetName(textureShaderTarget(op)) + ";\n";
    if (op == GL_OFFSET_TEXTURE_2D_SCALE_NV || op == GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV) {
        std::string sb = local(localOffsetScaleBias + i);
        out += "MAD_SAT coord.x, " + prev + ".z, " + sb + ".x, " + sb + ".y;\n";
        out += "MUL " + t + ".xyz, " + t + ", coord.x;\n";
    }
}

const char dotComponent[] = "xyzw";

// dots.<i> = (s, t, r) of unit i's coordinates . the previous stage's result,
// which an unsigned colour texture hands over as [0, 1], or expanded to
// [-1, 1]; signed, HILO and offset textures hold signed values already.
void emitDotProduct(std::string& out, const FragmentDescription& d, int i)
{
    int previous = previousUnit(d, i);
    std::string prev = "tex" + unitText(previous);
    TextureFormat format = d.units[previous].format;
    bool expand =
        d.shader[i].dotMapping == GL_EXPAND_NORMAL_NV && !holdsVectors(format) && format != TextureFormat::Signed;
    out += expand ? "MAD dpIn, " + prev + ", k.w, -k.z;\n" : "MOV dpIn, " + prev + ";\n";
    out += "DP3 dots." + std::string(1, dotComponent[i]) + ", fragment.texcoord[" + unitText(i) + "], dpIn;\n";
}

// Gathers the products of stages first .. first + count - 1 into `coord`.
void dotCoordinate(std::string& out, int first, int count)
{
    for (int c = 0; c < count; ++c)
        out += "MOV coord." + std::string(1, dotComponent[c]) + ", dots." + dotComponent[first + c] + ";\n";
}

// R = 2 N (N . E) / (N . N) - E, with N the products of stages i - 2 .. i and
// E the q coordinates of those stages or the stage's constant eye.
void emitReflection(std::string& out, const FragmentDescription& d, int i)
{
    dotCoordinate(out, i - 2, 3);
    if (d.shader[i].operation == GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV) {
        out += "MOV refl, " + local(localConstEye + i) + ";\n";
    } else {
        for (int c = 0; c < 3; ++c)
            out += "MOV refl." + std::string(1, dotComponent[c]) + ", fragment.texcoord[" + unitText(i - 2 + c) +
                   "].w;\n";
    }
    out += "DP3 dpIn.x, coord, refl;\n";
    out += "DP3 dpIn.y, coord, coord;\n";
    out += "RCP dpIn.y, dpIn.y;\n";
    out += "MUL dpIn.x, dpIn.x, dpIn.y;\n";
    out += "MUL dpIn.x, dpIn.x, k.w;\n";
    out += "MAD coord.xyz, coord, dpIn.x, -refl;\n";
}

// The culling stage: each coordinate is compared with zero under its mode
// (below zero, or zero and above) and the fragment is killed when any
// comparison fails, so the default modes keep a texture-generated clip
// plane's positive side. dpIn holds 1 for each failed comparison.
void emitCull(std::string& out, const FragmentDescription& d, int i)
{
    std::string coord = "fragment.texcoord[" + unitText(i) + "]";
    for (int c = 0; c < 4; ++c) {
        std::string component(1, dotComponent[c]);
        out += std::string(d.shader[i].cullModes[c] == GL_LESS ? "SGE" : "SLT") + " dpIn." + component + ", " + coord +
               "." + component + ", zero.x;\n";
    }
    out += "KIL -dpIn;\n";
}

// The dot-product operations and culling; false for any other operation.
bool emitDotOrCull(std::string& out, const FragmentDescription& d, int i, GLenum op)
{
    std::string t = "tex" + unitText(i);
    std::string unit = "texture[" + unitText(i) + "]";
    if (op == GL_CULL_FRAGMENT_NV) {
        emitCull(out, d, i);
        out += "MOV " + t + ", zero;\n";
        return true;
    }
    if (!isDotProductOperation(op))
        return false;
    emitDotProduct(out, d, i);
    switch (op) {
    case GL_DOT_PRODUCT_TEXTURE_2D_NV: case GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV:
        dotCoordinate(out, i - 1, 2);
        out += "TEX " + t + ", coord, " + unit + ", " + targetName(textureShaderTarget(op)) + ";\n";
        return true;
    case GL_DOT_PRODUCT_TEXTURE_3D_NV: case GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV:
        dotCoordinate(out, i - 2, 3);
        out += "TEX " + t + ", coord, " + unit + ", " + targetName(textureShaderTarget(op)) + ";\n";
        return true;
    case GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV:
        emitDotProduct(out, d, i + 1);
        dotCoordinate(out, i - 1, 3);
        out += "TEX " + t + ", coord, " + unit + ", CUBE;\n";
        return true;
    case GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV: case GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV:
        emitReflection(out, d, i);
        out += "TEX " + t + ", coord, " + unit + ", CUBE;\n";
        return true;
    case GL_DOT_PRODUCT_DEPTH_REPLACE_NV: {
        // depth = previous product / this one; depths outside [0, 1] are culled.
        std::string prior = "dots." + std::string(1, dotComponent[i - 1]);
        out += "RCP dpIn.x, dots." + std::string(1, dotComponent[i]) + ";\n";
        out += "MUL dpIn.x, " + prior + ", dpIn.x;\n";
        out += "KIL dpIn.x;\n";
        out += "SUB dpIn.y, k.z, dpIn.x;\n";
        out += "KIL dpIn.y;\n";
        out += "MOV result.depth.z, dpIn.x;\n";
        out += "MOV " + t + ", zero;\n";
        return true;
    }
    default:   // GL_DOT_PRODUCT_NV: a product for later stages, no colour
        out += "MOV " + t + ", zero;\n";
        return true;
    }
}

void emitFetch(std::string& out, const FragmentDescription& d, int i)
{
    std::string t = "tex" + unitText(i);
    std::string coord = "fragment.texcoord[" + unitText(i) + "]";
    std::string unit = "texture[" + unitText(i) + "]";
    GLenum op = operationOf(d, i);
    std::string prev = d.textureShader
                           ? "tex" + unitText(static_cast<int>(d.shader[i].previousInput) - GL_TEXTURE0_ARB)
                           : "";
    switch (op) {
    case GL_TEXTURE_1D: case GL_TEXTURE_2D: case GL_TEXTURE_3D: case GL_TEXTURE_RECTANGLE_NV:
        out += "TXP " + t + ", " + coord + ", " + unit + ", " + targetName(op) + ";\n";
        return;
    case GL_TEXTURE_CUBE_MAP:
        out += "TEX " + t + ", " + coord + ", " + unit + ", CUBE;\n";
        return;
    case GL_PASS_THROUGH_NV:
        out += "MOV_SAT " + t + ", " + coord + ";\n";
        return;
    case GL_DEPENDENT_AR_TEXTURE_2D_NV: case GL_DEPENDENT_GB_TEXTURE_2D_NV:
        out += "MOV coord, " + prev + (op == GL_DEPENDENT_AR_TEXTURE_2D_NV ? ".wxxx" : ".yzzz") + ";\n";
        out += "TEX " + t + ", coord, " + unit + ", 2D;\n";
        return;
    default:
        if (isOffsetTextureOperation(op)) {
            emitOffsetFetch(out, d, i, op);
            return;
        }
        if (emitDotOrCull(out, d, i, op))
            return;
        out += "MOV " + t + ", zero;\n";
        return;
    }
}

bool readsRegister(const FragmentDescription& d, GLenum reg);

// Conventional texturing under the combiners fetches only the textures the
// combiners read; texture shaders run every stage, as later ones may depend
// on earlier results.
bool fetchNeeded(const FragmentDescription& d, int i)
{
    if (d.textureShader || !d.combiners)
        return true;
    GLenum reg = GL_TEXTURE0_ARB + static_cast<GLenum>(i);
    return readsRegister(d, reg) || (i == 0 && readsRegister(d, GL_SPARE0_NV));
}

// A HILO lookup gives (hi, lo); the vector it stands for is (hi, lo, 1), or
// for signed HILO the unit vector (hi, lo, sqrt(1 - hi^2 - lo^2)).
void emitHiloVector(std::string& out, const FragmentDescription& d, int i)
{
    std::string t = "tex" + unitText(i);
    if (d.units[i].format == TextureFormat::Hilo) {
        out += "MOV " + t + ".zw, k.z;\n";
        return;
    }
    out += "MUL dpIn.xy, " + t + ", " + t + ";\n";
    out += "ADD dpIn.x, dpIn.x, dpIn.y;\n";
    out += "SUB_SAT dpIn.x, k.z, dpIn.x;\n";
    out += "POW " + t + ".z, dpIn.x, k.y;\n";
    out += "MOV " + t + ".w, k.z;\n";
}

void emitFetches(std::string& out, const FragmentDescription& d)
{
    for (int i = 0; i < textureShaderStages; ++i) {
        if (!fetchNeeded(d, i))
            continue;
        emitFetch(out, d, i);
        bool hilo = d.units[i].format == TextureFormat::Hilo || d.units[i].format == TextureFormat::SignedHilo;
        if (d.textureShader && hilo && textureShaderTarget(operationOf(d, i)) != 0)
            emitHiloVector(out, d, i);
    }
    // Later stages read the raw (ds, dt) of offset textures above; what the
    // combiners and the environment see of a non-colour unit is zero.
    for (int i = 0; i < textureShaderStages; ++i)
        if (!producesColour(d, i) && textureShaderTarget(operationOf(d, i)) != 0 && fetchNeeded(d, i))
            out += "MOV tex" + unitText(i) + ", zero;\n";
}

// ---- register combiners ----

std::string registerName(GLenum reg, int stage, const FragmentDescription& d)
{
    switch (reg) {
    case GL_CONSTANT_COLOR0_NV: case GL_CONSTANT_COLOR1_NV: {
        int which = reg == GL_CONSTANT_COLOR0_NV ? 0 : 1;
        if (d.perStageConstants && stage >= 0)
            return local(localStageConstants + 2 * stage + which);
        return local(which == 0 ? localConstant0 : localConstant1);
    }
    case GL_FOG: return "fog";
    case GL_PRIMARY_COLOR_NV: return "col0";
    case GL_SECONDARY_COLOR_NV: return "col1";
    case GL_SPARE0_NV: return "spare0";
    case GL_SPARE1_NV: return "spare1";
    case GL_TEXTURE0_ARB: case GL_TEXTURE1_ARB: case GL_TEXTURE2_ARB: case GL_TEXTURE3_ARB:
        return "tex" + unitText(static_cast<int>(reg - GL_TEXTURE0_ARB));
    case GL_E_TIMES_F_NV: return "ef";
    case GL_SPARE0_PLUS_SECONDARY_COLOR_NV: return "colorSum";
    default: return "zero";
    }
}

bool isWritable(GLenum reg)
{
    switch (reg) {
    case GL_PRIMARY_COLOR_NV: case GL_SECONDARY_COLOR_NV: case GL_SPARE0_NV: case GL_SPARE1_NV:
    case GL_TEXTURE0_ARB: case GL_TEXTURE1_ARB: case GL_TEXTURE2_ARB: case GL_TEXTURE3_ARB:
        return true;
    default:
        return false;
    }
}

void emitMapping(std::string& out, const std::string& v, const std::string& mask, GLenum mapping)
{
    std::string dst = v + mask;
    if (mapping != GL_SIGNED_IDENTITY_NV && mapping != GL_SIGNED_NEGATE_NV && mapping != GL_UNSIGNED_INVERT_NV)
        out += "MAX " + dst + ", " + v + ", zero;\n";
    switch (mapping) {
    case GL_UNSIGNED_INVERT_NV:
        out += "MOV_SAT " + dst + ", " + v + ";\n";
        out += "SUB " + dst + ", k.z, " + v + ";\n";
        break;
    case GL_EXPAND_NORMAL_NV: out += "MAD " + dst + ", " + v + ", k.w, -k.z;\n"; break;
    case GL_EXPAND_NEGATE_NV: out += "MAD " + dst + ", " + v + ", -k.w, k.z;\n"; break;
    case GL_HALF_BIAS_NORMAL_NV: out += "SUB " + dst + ", " + v + ", k.y;\n"; break;
    case GL_HALF_BIAS_NEGATE_NV: out += "SUB " + dst + ", k.y, " + v + ";\n"; break;
    case GL_SIGNED_NEGATE_NV: out += "MOV " + dst + ", -" + v + ";\n"; break;
    default: break;
    }
}

// Loads a variable into `v` under `mask`: the rgb portion reads a register's
// rgb or replicated alpha (or blue), the alpha portion its alpha or blue.
void emitInput(std::string& out, const CombinerInput& in, const std::string& v, bool alpha, int stage,
               const FragmentDescription& d)
{
    std::string mask = alpha ? ".w" : ".xyz";
    std::string swizzle = in.usage == GL_BLUE ? ".z" : (alpha || in.usage == GL_ALPHA) ? ".w" : "";
    out += "MOV " + v + mask + ", " + registerName(in.input, stage, d) + swizzle + ";\n";
    emitMapping(out, v, mask, in.mapping);
}

void emitScaleBias(std::string& out, const CombinerPortion& p, const std::string& t, const std::string& mask)
{
    std::string dst = t + mask;
    if (p.bias == GL_BIAS_BY_NEGATIVE_ONE_HALF_NV)
        out += "SUB " + dst + ", " + t + ", k.y;\n";
    switch (p.scale) {
    case GL_SCALE_BY_TWO_NV: out += "MUL " + dst + ", " + t + ", k.w;\n"; break;
    case GL_SCALE_BY_FOUR_NV: out += "MUL " + dst + ", " + t + ", k4.x;\n"; break;
    case GL_SCALE_BY_ONE_HALF_NV: out += "MUL " + dst + ", " + t + ", k.y;\n"; break;
    default: break;
    }
    out += "MAX " + dst + ", " + t + ", -k.z;\n";
    out += "MIN " + dst + ", " + t + ", k.z;\n";
}

void emitPortion(std::string& out, const CombinerPortion& p, bool alpha, int stage, const FragmentDescription& d)
{
    std::string mask = alpha ? ".w" : ".xyz";
    bool needAB = p.abOutput != GL_DISCARD_NV || p.sumOutput != GL_DISCARD_NV;
    bool needCD = p.cdOutput != GL_DISCARD_NV || p.sumOutput != GL_DISCARD_NV;
    const char* vars[4] = {"vA", "vB", "vC", "vD"};
    for (int v = 0; v < 4; ++v)
        if (v < 2 ? needAB : needCD)
            emitInput(out, p.inputs[v], vars[v], alpha, stage, d);
    if (needAB)
        out += std::string(!alpha && p.abDot ? "DP3 vAB" : "MUL vAB") + mask + ", vA, vB;\n";
    if (needCD)
        out += std::string(!alpha && p.cdDot ? "DP3 vCD" : "MUL vCD") + mask + ", vC, vD;\n";
    if (p.sumOutput != GL_DISCARD_NV) {
        if (p.muxSum) {
            out += "SGE mux.x, spare0.w, k.y;\n";
            out += "LRP vSum" + mask + ", mux.x, vCD, vAB;\n";
        } else {
            out += "ADD vSum" + mask + ", vAB, vCD;\n";
        }
    }
    const std::pair<GLenum, const char*> outputs[3] = {{p.abOutput, "vAB"}, {p.cdOutput, "vCD"}, {p.sumOutput, "vSum"}};
    for (const auto& o : outputs)
        if (o.first != GL_DISCARD_NV)
            emitScaleBias(out, p, o.second, mask);
}

void emitWrites(std::string& out, const CombinerPortion& p, bool alpha, const FragmentDescription& d)
{
    std::string mask = alpha ? ".w" : ".xyz";
    const std::pair<GLenum, const char*> outputs[3] = {{p.abOutput, "vAB"}, {p.cdOutput, "vCD"}, {p.sumOutput, "vSum"}};
    for (const auto& o : outputs)
        if (isWritable(o.first))
            out += "MOV " + registerName(o.first, 0, d) + mask + ", " + o.second + ";\n";
}

void emitFinalInput(std::string& out, const CombinerInput& in, const std::string& v, bool alpha,
                    const FragmentDescription& d)
{
    CombinerInput unsignedInput = in;
    if (in.mapping != GL_UNSIGNED_INVERT_NV)
        unsignedInput.mapping = GL_UNSIGNED_IDENTITY_NV;
    emitInput(out, unsignedInput, v, alpha, -1, d);
}

bool finalUses(const CombinerState& s, GLenum reg)
{
    for (int v = VarA; v <= VarD; ++v)
        if (s.finalInputs[v].input == reg)
            return true;
    return false;
}

void emitFinalCombiner(std::string& out, const FragmentDescription& d)
{
    const CombinerState& s = d.combinerState;
    if (finalUses(s, GL_E_TIMES_F_NV)) {
        emitFinalInput(out, s.finalInputs[VarE], "vE", false, d);
        emitFinalInput(out, s.finalInputs[VarF], "vF", false, d);
        out += "MUL ef.xyz, vE, vF;\n";
    }
    if (finalUses(s, GL_SPARE0_PLUS_SECONDARY_COLOR_NV))
        out += std::string(s.colorSumClamp ? "ADD_SAT" : "ADD") + " colorSum.xyz, spare0, col1;\n";
    const char* vars[4] = {"vA", "vB", "vC", "vD"};
    for (int v = VarA; v <= VarD; ++v)
        emitFinalInput(out, s.finalInputs[v], vars[v], false, d);
    emitFinalInput(out, s.finalInputs[VarG], "vG", true, d);
    out += "LRP res.xyz, vA, vB, vC;\n";
    out += "ADD_SAT res.xyz, res, vD;\n";
    out += "MOV_SAT res.w, vG;\n";
    out += "MOV result.color, res;\n";
}

// Whether any input the combiners evaluate reads `reg` (mux reads spare0).
bool readsRegister(const FragmentDescription& d, GLenum reg)
{
    const CombinerState& s = d.combinerState;
    for (int v = VarA; v <= VarG; ++v) {
        GLenum in = s.finalInputs[v].input;
        if (in == reg || (reg == GL_SPARE0_NV && in == GL_SPARE0_PLUS_SECONDARY_COLOR_NV))
            return true;
    }
    for (int i = 0; i < s.numGeneralCombiners && i < maxGeneralCombiners; ++i)
        for (const CombinerPortion* p : {&s.general[i].rgb, &s.general[i].alpha}) {
            if (reg == GL_SPARE0_NV && p->muxSum && p->sumOutput != GL_DISCARD_NV)
                return true;
            for (const CombinerInput& in : p->inputs)
                if (in.input == reg)
                    return true;
        }
    return false;
}

bool combinersUseFog(const FragmentDescription& d) { return readsRegister(d, GL_FOG); }

// The fog register: fog colour, and the fog factor of the fragment as alpha
// (1 while fog is off, so the initial final combiner passes colours through).
void emitFogRegister(std::string& out, const FragmentDescription& d)
{
    out += "MOV fog, state.fog.color;\n";
    if (!d.fog) {
        out += "MOV fog.w, k.z;\n";
        return;
    }
    if (d.fogMode == GL_LINEAR) {
        out += "MUL mux.x, state.fog.params.z, state.fog.params.w;\n";
        out += "MAD_SAT fog.w, -fragment.fogcoord.x, state.fog.params.w, mux.x;\n";
        return;
    }
    out += "MUL mux.x, state.fog.params.x, fragment.fogcoord.x;\n";
    if (d.fogMode == GL_EXP2)
        out += "MUL mux.x, mux.x, mux.x;\n";
    out += "MUL mux.x, mux.x, k4.y;\n";
    out += "EX2_SAT fog.w, -mux.x;\n";
}

void emitCombiners(std::string& out, const FragmentDescription& d)
{
    out += "MOV col0, fragment.color.primary;\n";
    out += "MOV col1, fragment.color.secondary;\n";
    out += "MOV spare0, zero;\n";
    if (fetchNeeded(d, 0))
        out += "MOV spare0.w, tex0.w;\n";
    out += "MOV spare1, zero;\n";
    if (combinersUseFog(d))
        emitFogRegister(out, d);
    const CombinerState& s = d.combinerState;
    for (int stage = 0; stage < s.numGeneralCombiners && stage < maxGeneralCombiners; ++stage) {
        out += "# general combiner " + std::to_string(stage) + "\n";
        emitPortion(out, s.general[stage].rgb, false, stage, d);
        emitPortion(out, s.general[stage].alpha, true, stage, d);
        emitWrites(out, s.general[stage].rgb, false, d);
        emitWrites(out, s.general[stage].alpha, true, d);
    }
    out += "# final combiner\n";
    emitFinalCombiner(out, d);
}

// ---- fixed-function texture environment ----

void emitEnvironment(std::string& out, const FragmentUnit& u, int i)
{
    std::string t = "tex" + unitText(i);
    std::string cc = "state.texenv[" + unitText(i) + "].color";
    bool alphaOnly = u.format == TextureFormat::Alpha;
    bool noAlpha = u.format == TextureFormat::Rgb || u.format == TextureFormat::Luminance;
    switch (u.envMode) {
    case GL_REPLACE:
        out += alphaOnly ? "MOV c.w, " + t + ";\n" : noAlpha ? "MOV c.xyz, " + t + ";\n" : "MOV c, " + t + ";\n";
        break;
    case GL_DECAL:
        if (noAlpha)
            out += "MOV c.xyz, " + t + ";\n";
        else if (!alphaOnly)
            out += "LRP c.xyz, " + t + ".w, " + t + ", c;\n";
        break;
    case GL_ADD:
        if (u.format == TextureFormat::Intensity) {
            out += "ADD c, c, " + t + ";\n";
            break;
        }
        if (!alphaOnly)
            out += "ADD c.xyz, c, " + t + ";\n";
        out += "MUL c.w, c, " + t + ";\n";
        break;
    case GL_BLEND:
        if (u.format == TextureFormat::Intensity) {
            out += "LRP c, " + t + ", " + cc + ", c;\n";
            break;
        }
        if (!alphaOnly)
            out += "LRP c.xyz, " + t + ", " + cc + ", c;\n";
        out += "MUL c.w, c, " + t + ";\n";
        break;
    default:   // GL_MODULATE, and GL_COMBINE approximated by it
        out += alphaOnly ? "MUL c.w, c, " + t + ";\n" : "MUL c, c, " + t + ";\n";
        break;
    }
    out += "MOV_SAT c, c;\n";
}

void emitTextureEnvironment(std::string& out, const FragmentDescription& d)
{
    out += "MOV c, fragment.color.primary;\n";
    for (int i = 0; i < textureShaderStages; ++i)
        if (producesColour(d, i))
            emitEnvironment(out, d.units[i], i);
    if (d.colorSum)
        out += "ADD_SAT c.xyz, c, fragment.color.secondary;\n";
    out += "MOV result.color, c;\n";
}

} // namespace

bool isOffsetTextureOperation(GLenum op)
{
    return op == GL_OFFSET_TEXTURE_2D_NV || op == GL_OFFSET_TEXTURE_2D_SCALE_NV ||
           op == GL_OFFSET_TEXTURE_RECTANGLE_NV || op == GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV;
}

GLenum textureShaderTarget(GLenum operation)
{
    switch (operation) {
    case GL_TEXTURE_1D: case GL_TEXTURE_2D: case GL_TEXTURE_3D: case GL_TEXTURE_RECTANGLE_NV:
    case GL_TEXTURE_CUBE_MAP:
        return operation;
    case GL_OFFSET_TEXTURE_2D_NV: case GL_OFFSET_TEXTURE_2D_SCALE_NV:
    case GL_DEPENDENT_AR_TEXTURE_2D_NV: case GL_DEPENDENT_GB_TEXTURE_2D_NV:
        return GL_TEXTURE_2D;
    case GL_OFFSET_TEXTURE_RECTANGLE_NV: case GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV:
    case GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV:
        return GL_TEXTURE_RECTANGLE_NV;
    case GL_DOT_PRODUCT_TEXTURE_2D_NV:
        return GL_TEXTURE_2D;
    case GL_DOT_PRODUCT_TEXTURE_3D_NV:
        return GL_TEXTURE_3D;
    case GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV: case GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV:
    case GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV: case GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV:
        return GL_TEXTURE_CUBE_MAP;
    default:
        return 0;
    }
}

std::string buildFragmentProgram(const FragmentDescription& d)
{
    std::string out = "!!ARBfp1.0\n";
    out += "PARAM zero = {0, 0, 0, 0};\n";
    out += "PARAM k = {0, 0.5, 1, 2};\n";
    out += "PARAM k4 = {4, 1.442695, 0, 0};\n";   // 4, log2(e)
    out += "TEMP tex0, tex1, tex2, tex3, coord, c, col0, col1, spare0, spare1, fog, mux;\n";
    out += "TEMP vA, vB, vC, vD, vE, vF, vG, vAB, vCD, vSum, ef, colorSum, res;\n";
    if (d.textureShader)
        out += "TEMP dots, dpIn, refl;\n";
    emitFetches(out, d);
    if (d.combiners)
        emitCombiners(out, d);
    else
        emitTextureEnvironment(out, d);
    out += "END\n";
    return out;
}

} // namespace programs
