#include "programs/TextureShaderProgram.h"

#include "programs/ErrorList.h"
#include "programs/TextScanner.h"

#include <algorithm>
#include <optional>

namespace programs {

namespace {

enum class Args { None, CullModes, Reference, Offset, OffsetScale, DotProduct, DotProductEye };

struct Operation {
    const char* name;
    GLenum op;          // GL_NONE only for nop
    Args args;
    bool output;        // whether later stages may read its result
    int dotCount = 0;   // dot-product sequences: length and position
    int dotIndex = 0;
    int family = 0;
};

// The dot-product sequences: the first stages of each compute a dot product
// only (GL_DOT_PRODUCT_NV); the last one, or in the cube-map-and-reflect
// pairs the last two, use the products of the whole sequence.
const Operation operations[] = {
    {"nop", GL_NONE, Args::None, false},
    {"texture_1d", GL_TEXTURE_1D, Args::None, true},
    {"texture_2d", GL_TEXTURE_2D, Args::None, true},
    {"texture_3d", GL_TEXTURE_3D, Args::None, true},
    {"texture_rectangle", GL_TEXTURE_RECTANGLE_NV, Args::None, true},
    {"texture_cube_map", GL_TEXTURE_CUBE_MAP, Args::None, true},
    {"pass_through", GL_PASS_THROUGH_NV, Args::None, true},
    {"cull_fragment", GL_CULL_FRAGMENT_NV, Args::CullModes, false},
    {"offset_2d", GL_OFFSET_TEXTURE_2D_NV, Args::Offset, true},
    {"offset_2d_scale", GL_OFFSET_TEXTURE_2D_SCALE_NV, Args::OffsetScale, true},
    {"offset_rectangle", GL_OFFSET_TEXTURE_RECTANGLE_NV, Args::Offset, true},
    {"offset_rectangle_scale", GL_OFFSET_TEXTURE_RECTANGLE_SCALE_NV, Args::OffsetScale, true},
    {"dependent_ar", GL_DEPENDENT_AR_TEXTURE_2D_NV, Args::Reference, true},
    {"dependent_gb", GL_DEPENDENT_GB_TEXTURE_2D_NV, Args::Reference, true},
    {"dot_product_2d_1of2", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 2, 1, 1},
    {"dot_product_2d_2of2", GL_DOT_PRODUCT_TEXTURE_2D_NV, Args::DotProduct, true, 2, 2, 1},
    {"dot_product_rectangle_1of2", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 2, 1, 2},
    {"dot_product_rectangle_2of2", GL_DOT_PRODUCT_TEXTURE_RECTANGLE_NV, Args::DotProduct, true, 2, 2, 2},
    {"dot_product_depth_replace_1of2", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 2, 1, 3},
    {"dot_product_depth_replace_2of2", GL_DOT_PRODUCT_DEPTH_REPLACE_NV, Args::DotProduct, false, 2, 2, 3},
    {"dot_product_3d_1of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 1, 4},
    {"dot_product_3d_2of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 2, 4},
    {"dot_product_3d_3of3", GL_DOT_PRODUCT_TEXTURE_3D_NV, Args::DotProduct, true, 3, 3, 4},
    {"dot_product_cube_map_1of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 1, 5},
    {"dot_product_cube_map_2of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 2, 5},
    {"dot_product_cube_map_3of3", GL_DOT_PRODUCT_TEXTURE_CUBE_MAP_NV, Args::DotProduct, true, 3, 3, 5},
    {"dot_product_reflect_cube_map_eye_from_qs_1of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 1, 6},
    {"dot_product_reflect_cube_map_eye_from_qs_2of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 2, 6},
    {"dot_product_reflect_cube_map_eye_from_qs_3of3", GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV, Args::DotProduct, true, 3, 3, 6},
    {"dot_product_reflect_cube_map_const_eye_1of3", GL_DOT_PRODUCT_NV, Args::DotProductEye, false, 3, 1, 7},
    {"dot_product_reflect_cube_map_const_eye_2of3", GL_DOT_PRODUCT_NV, Args::DotProductEye, false, 3, 2, 7},
    {"dot_product_reflect_cube_map_const_eye_3of3", GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV, Args::DotProductEye,
     true, 3, 3, 7},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_1of3", GL_DOT_PRODUCT_NV, Args::DotProduct, false, 3, 1, 8},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_2of3", GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV, Args::DotProduct,
     true, 3, 2, 8},
    {"dot_product_cube_map_and_reflect_cube_map_eye_from_qs_3of3", GL_DOT_PRODUCT_REFLECT_CUBE_MAP_NV, Args::DotProduct,
     true, 3, 3, 8},
    {"dot_product_cube_map_and_reflect_cube_map_const_eye_1of3", GL_DOT_PRODUCT_NV, Args::DotProductEye, false, 3, 1, 9},
    {"dot_product_cube_map_and_reflect_cube_map_const_eye_2of3", GL_DOT_PRODUCT_DIFFUSE_CUBE_MAP_NV,
     Args::DotProductEye, true, 3, 2, 9},
    {"dot_product_cube_map_and_reflect_cube_map_const_eye_3of3", GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV,
     Args::DotProductEye, true, 3, 3, 9},
};

const Operation* findOperation(std::string_view name)
{
    for (const Operation& o : operations)
        if (name == o.name)
            return &o;
    return nullptr;
}

struct Argument {
    Token token;
    std::optional<float> number;
    bool expand = false;   // expand(texN): read the texture's [0, 1] as [-1, 1]
};

struct Statement {
    const Operation* operation = nullptr;
    std::vector<Argument> args;
    int line = 1;
};

// The first syntax error, as an "error on line" message; empty while none.
using SyntaxError = std::optional<std::string>;

SyntaxError arguments(TextScanner& s, std::vector<Argument>& args)
{
    if (s.accept(")"))
        return std::nullopt;
    do {
        Argument a;
        bool negative = s.accept("-");
        a.token = s.next();
        if (!negative && a.token.is("expand") && s.accept("(")) {
            a.expand = true;
            a.token = s.next();
            if (a.token.kind != TokenKind::Identifier || !s.accept(")"))
                return lineError(a.token.line, "syntax error: expand() takes a texture");
            args.push_back(a);
            continue;
        }
        float v = 0;
        if (tokenToFloat(a.token, v))
            a.number = negative ? -v : v;
        else if (negative || a.token.kind != TokenKind::Identifier)
            return lineError(a.token.line, "syntax error: invalid argument");
        args.push_back(a);
    } while (s.accept(","));
    if (!s.accept(")"))
        return lineError(s.line(), "syntax error: expected ')'");
    return std::nullopt;
}

SyntaxError parse(std::string_view text, size_t start, std::vector<Statement>& statements)
{
    TextScanner s(text, start, true, true);
    while (s.peek().kind != TokenKind::End) {
        Statement st;
        Token name = s.next();
        st.line = name.line;
        st.operation = findOperation(name.text);
        if (!st.operation)
            return lineError(name.line, "syntax error: unknown texture shader operation '" + std::string(name.text) + "'");
        if (!s.accept("("))
            return lineError(s.line(), "syntax error: expected '('");
        if (SyntaxError e = arguments(s, st.args))
            return e;
        if (!s.accept(";"))
            return lineError(s.line(), "syntax error: expected ';'");
        statements.push_back(std::move(st));
    }
    return std::nullopt;
}

// The stage a "texN" argument names, or -1.
int textureReference(const Argument& a)
{
    std::string_view t = a.token.text;
    if (a.number || t.size() != 4 || t.substr(0, 3) != "tex" || t[3] < '0' || t[3] > '9')
        return -1;
    return t[3] - '0';
}

bool argumentsFit(const Statement& st)
{
    const std::vector<Argument>& a = st.args;
    auto numbers = [&a](size_t from, size_t count) {
        if (a.size() != from + count)
            return false;
        for (size_t i = from; i < a.size(); ++i)
            if (!a[i].number)
                return false;
        return true;
    };
    switch (st.operation->args) {
    case Args::None: return a.empty();
    case Args::CullModes: return a.size() == 4;
    case Args::Reference: return a.size() == 1;
    case Args::Offset: return !a.empty() && numbers(1, 4);
    case Args::OffsetScale: return !a.empty() && numbers(1, 6);
    case Args::DotProduct: return a.size() == 1;
    case Args::DotProductEye: return a.size() == 1 || numbers(1, 3);
    }
    return false;
}

// cull_fragment's four words, one per texture coordinate.
bool cullModes(const Statement& st, TextureShaderStage& out)
{
    for (size_t i = 0; i < 4; ++i) {
        const Argument& a = st.args[i];
        if (a.number || a.expand || !(a.token.is("LESS_THAN_ZERO") || a.token.is("GEQUAL_TO_ZERO")))
            return false;
        out.cullModes[i] = a.token.is("LESS_THAN_ZERO") ? GL_LESS : GL_GEQUAL;
    }
    return true;
}

bool readsPreviousStage(Args args)
{
    return args == Args::Reference || args == Args::Offset || args == Args::OffsetScale ||
           args == Args::DotProduct || args == Args::DotProductEye;
}

// Checks one stage against the ones before it; fills its state when valid.
void checkStage(const std::vector<Statement>& statements, size_t stage, TextureShaderStage& out,
                std::vector<std::string>& messages)
{
    const Statement& st = statements[stage];
    const Operation& op = *st.operation;
    bool dotProduct = op.args == Args::DotProduct || op.args == Args::DotProductEye;
    bool expandFits = dotProduct || std::none_of(st.args.begin(), st.args.end(), [](const Argument& a) { return a.expand; });
    if (!argumentsFit(st) || !expandFits || (op.args == Args::CullModes && !cullModes(st, out))) {
        messages.push_back(lineError(st.line, std::string("syntax error: wrong arguments for ") + op.name));
        return;
    }
    if (op.dotIndex > 1) {
        const Operation* prior = stage > 0 ? statements[stage - 1].operation : nullptr;
        if (!prior || prior->dotCount == 0)
            messages.push_back(lineError(st.line, "prior stage missing"));
        else if (prior->dotIndex != op.dotIndex - 1 || prior->dotCount != op.dotCount)
            messages.push_back(lineError(st.line, "stage mismatch"));
    }
    if (readsPreviousStage(op.args)) {
        int ref = textureReference(st.args[0]);
        if (ref < 0 || static_cast<size_t>(ref) >= stage) {
            messages.push_back(lineError(st.line, "invalid texture reference"));
            return;
        }
        if (!statements[ref].operation->output)
            messages.push_back(lineError(st.line, "no output on referenced texture"));
        out.previousInput = GL_TEXTURE0_ARB + static_cast<GLenum>(ref);
        if (st.args[0].expand)
            out.dotMapping = GL_EXPAND_NORMAL_NV;
    }
    out.operation = op.op;
    if (op.args == Args::Offset || op.args == Args::OffsetScale)
        for (int i = 0; i < 4; ++i)
            out.offsetMatrix[i] = *st.args[1 + i].number;
    if (op.args == Args::OffsetScale) {
        out.offsetScale = *st.args[5].number;
        out.offsetBias = *st.args[6].number;
    }
    if (op.args == Args::DotProductEye && st.args.size() == 4)
        for (int i = 0; i < 3; ++i)
            out.constEye[i] = *st.args[1 + i].number;
}

// A constant eye may be written on any statement of its sequence; the stage
// that reflects is the one that reads it.
void shareConstantEye(const std::vector<Statement>& statements, TextureShaderState& stages)
{
    for (size_t stage = 0; stage < statements.size() && stage < stages.size(); ++stage) {
        if (stages[stage].operation != GL_DOT_PRODUCT_CONST_EYE_REFLECT_CUBE_MAP_NV)
            continue;
        for (size_t from = stage - (stage >= 2 ? 2 : stage); from <= stage; ++from)
            if (statements[from].operation->args == Args::DotProductEye && statements[from].args.size() == 4)
                stages[stage].constEye = stages[from].constEye;
    }
}

} // namespace

TextureShaderCompileResult compileTextureShader(std::string_view text, size_t start)
{
    TextureShaderCompileResult result;
    std::vector<Statement> statements;
    if (SyntaxError e = parse(text, start, statements)) {
        result.messages.push_back(*e);
        return result;
    }
    for (size_t stage = 0; stage < statements.size(); ++stage) {
        if (stage == static_cast<size_t>(textureShaderStages)) {
            result.messages.push_back(lineError(statements[stage].line, "too many instructions"));
            break;
        }
        checkStage(statements, stage, result.stages[stage], result.messages);
    }
    shareConstantEye(statements, result.stages);
    result.ok = result.messages.empty();
    return result;
}

} // namespace programs
