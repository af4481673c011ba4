#include "programs/CombinerProgram.h"

#include "programs/ErrorList.h"
#include "programs/TextScanner.h"

namespace programs {

namespace {

struct RegisterName {
    const char* text;
    GLenum reg;
};

const RegisterName registerNames[] = {
    {"zero", GL_ZERO}, {"const0", GL_CONSTANT_COLOR0_NV}, {"const1", GL_CONSTANT_COLOR1_NV},
    {"fog", GL_FOG}, {"col0", GL_PRIMARY_COLOR_NV}, {"col1", GL_SECONDARY_COLOR_NV},
    {"tex0", GL_TEXTURE0_ARB}, {"tex1", GL_TEXTURE1_ARB}, {"tex2", GL_TEXTURE2_ARB}, {"tex3", GL_TEXTURE3_ARB},
    {"spare0", GL_SPARE0_NV}, {"spare1", GL_SPARE1_NV}, {"discard", GL_DISCARD_NV},
    {"final_product", GL_E_TIMES_F_NV}, {"color_sum", GL_SPARE0_PLUS_SECONDARY_COLOR_NV}};

enum class Component { None, Rgb, Alpha, Blue };

// One operand as written: register, mapping, and the component suffix.
struct Operand {
    GLenum reg = GL_ZERO;
    GLenum mapping = GL_SIGNED_IDENTITY_NV;
    Component component = Component::None;
    int line = 1;
};

bool isFinalRegister(GLenum reg) { return reg == GL_E_TIMES_F_NV || reg == GL_SPARE0_PLUS_SECONDARY_COLOR_NV; }

bool isReadOnly(GLenum reg)
{
    return reg == GL_ZERO || reg == GL_CONSTANT_COLOR0_NV || reg == GL_CONSTANT_COLOR1_NV || reg == GL_FOG;
}

CombinerInput one() { return {GL_ZERO, GL_UNSIGNED_INVERT_NV, GL_RGB}; }

class Parser {
public:
    Parser(std::string_view text, size_t start, int supported, bool perStage);

    CombinerCompileResult run();

private:
    void constant(bool local, int stage);
    Colour colour();
    float number();
    void generalCombiner();
    void portion(int stage, bool alpha);
    void portionStatement(CombinerPortion& p, bool alpha, int& products, std::vector<GLenum>& written);
    void scaleBias(CombinerPortion& p, const std::string& name);
    void finalStatement();
    void finalRgb();
    Operand operand(bool general);
    GLenum registerOf(const Token& t);
    CombinerInput generalInput(const Operand& o, bool alpha);
    CombinerInput finalInput(const Operand& o, int variable);
    void expect(std::string_view s);
    // Records a syntax error and gives up on the rest of the text.
    void syntax(const std::string& what);
    void error(int line, const char* what)
    {
        if (stopped_)
            return;   // after a syntax error the parse runs on placeholders
        messages_.push_back(lineError(line, what));
        fatal_ = true;
    }

    TextScanner s_;
    int supported_;
    bool perStageSupported_;
    bool fatal_ = false;
    bool stopped_ = false;
    std::vector<std::string> messages_;
    CombinerSetup setup_;
    std::array<std::array<bool, 2>, maxGeneralCombiners> localSet_{};
    std::array<std::array<bool, 2>, maxGeneralCombiners> portionSet_{};
    bool finalProductSet_ = false;
    bool finalProductUsed_ = false;
    int finalProductUseLine_ = 0;
    bool localConstants_ = false;
    int localConstantLine_ = 0;
    std::vector<int> combinerLines_;
};

void Parser::syntax(const std::string& what)
{
    if (stopped_)
        return;
    Token t = s_.peek();
    std::string near = t.kind == TokenKind::End ? "end of text" : "'" + std::string(t.text) + "'";
    messages_.push_back(lineError(t.line, what + " near " + near));
    fatal_ = true;
    stopped_ = true;
    s_.skipToEnd();
}

void Parser::expect(std::string_view text)
{
    if (!s_.accept(text))
        syntax("syntax error: expected '" + std::string(text) + "'");
}

float Parser::number()
{
    bool negative = s_.accept("-");
    if (!negative)
        s_.accept("+");
    float v = 0;
    if (!tokenToFloat(s_.peek(), v))
        syntax("syntax error: expected a number");
    s_.next();
    return negative ? -v : v;
}

Colour Parser::colour()
{
    expect("(");
    Colour c{};
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            expect(",");
        c[i] = number();
    }
    expect(")");
    return c;
}

void Parser::constant(bool local, int stage)
{
    Token name = s_.next();
    int which = name.is("const0") ? 0 : 1;
    expect("=");
    Colour c = colour();
    expect(";");
    if (local) {
        if (localSet_[stage][which])
            error(name.line, "local constant set twice");
        localSet_[stage][which] = true;
        setup_.state.general[stage].constants[which] = c;
        if (!localConstants_)
            localConstantLine_ = name.line;
        localConstants_ = true;
        return;
    }
    std::optional<Colour>& slot = which == 0 ? setup_.constant0 : setup_.constant1;
    if (slot)
        error(name.line, "global constant set twice");
    slot = c;
}

CombinerCompileResult Parser::run()
{
    while (s_.peek().is("const0") || s_.peek().is("const1"))
        constant(false, 0);
    while (s_.peek().is("{"))
        generalCombiner();
    while (s_.peek().kind != TokenKind::End)
        finalStatement();
    CombinerCompileResult result;
    if (setup_.state.numGeneralCombiners == 0)
        setup_.state.numGeneralCombiners = 1;   // the hardware runs one at least
    int count = setup_.state.numGeneralCombiners;
    if (!fatal_ && count > supported_) {
        int line = supported_ >= 0 && supported_ < static_cast<int>(combinerLines_.size()) ? combinerLines_[supported_]
                                                                                           : s_.line();
        messages_.push_back(lineError(line, formatMessage("%d general combiners specified, only %d supported", count,
                                                          supported_)));
        fatal_ = true;
    }
    if (!fatal_ && finalProductUsed_ && !finalProductSet_)
        error(finalProductUseLine_, "final_product used but not set");
    if (!fatal_ && localConstants_ && !perStageSupported_)
        messages_.push_back(lineError(localConstantLine_, "local constant(s) specified, but not supported -- ignored"));
    setup_.perStageConstants = localConstants_ && perStageSupported_;
    for (int i = 0; i < count && setup_.perStageConstants; ++i)
        for (int k = 0; k < 2; ++k)
            if (!localSet_[i][k])
                setup_.state.general[i].constants[k] = (k == 0 ? setup_.constant0 : setup_.constant1).value_or(Colour{});
    result.ok = !fatal_;
    result.setup = setup_;
    result.messages = std::move(messages_);
    return result;
}


Parser::Parser(std::string_view text, size_t start, int supported, bool perStage)
    : s_(text, start, true, true), supported_(supported), perStageSupported_(perStage)
{
    // Stages and portions the text leaves out compute nothing; the final
    // combiner passes spare0 through unless told otherwise.
    CombinerState& st = setup_.state;
    st.numGeneralCombiners = 0;
    for (GeneralCombiner& g : st.general) {
        g.rgb = CombinerPortion{};
        g.alpha = CombinerPortion{};
        for (CombinerInput& in : g.alpha.inputs)
            in.usage = GL_ALPHA;
    }
    for (CombinerInput& in : st.finalInputs)
        in = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    st.finalInputs[VarD] = {GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    st.finalInputs[VarG] = {GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA};
}

void Parser::generalCombiner()
{
    Token open = s_.next();
    int& count = setup_.state.numGeneralCombiners;
    bool kept = count < maxGeneralCombiners;
    if (!kept)
        error(open.line, "Too many general combiners.");
    // A combiner beyond the eighth is parsed into a scratch stage and dropped.
    int stage = kept ? count++ : maxGeneralCombiners - 1;
    if (kept)
        combinerLines_.push_back(open.line);
    GeneralCombiner saved = setup_.state.general[stage];
    auto savedLocal = localSet_[stage];
    auto savedPortions = portionSet_[stage];
    if (!kept)
        portionSet_[stage] = {false, false};
    while (!stopped_ && !s_.accept("}")) {
        Token t = s_.peek();
        if (t.is("const0") || t.is("const1"))
            constant(true, stage);
        else if (t.is("rgb") || t.is("alpha"))
            portion(stage, t.is("alpha"));
        else
            syntax("syntax error: expected rgb, alpha, const0 or const1");
    }
    if (!kept) {
        setup_.state.general[stage] = saved;
        localSet_[stage] = savedLocal;
        portionSet_[stage] = savedPortions;
    }
}

void Parser::portion(int stage, bool alpha)
{
    Token name = s_.next();
    if (portionSet_[stage][alpha])
        error(name.line, "portion declared twice");
    portionSet_[stage][alpha] = true;
    GeneralCombiner& g = setup_.state.general[stage];
    CombinerPortion& p = alpha ? g.alpha : g.rgb;
    p = CombinerPortion{};
    for (CombinerInput& in : p.inputs)
        in.usage = alpha ? GL_ALPHA : GL_RGB;
    expect("{");
    int products = 0;
    std::vector<GLenum> written;
    while (!stopped_ && !s_.accept("}"))
        portionStatement(p, alpha, products, written);
}

void Parser::scaleBias(CombinerPortion& p, const std::string& name)
{
    if (name == "scale_by_two")
        p.scale = GL_SCALE_BY_TWO_NV;
    else if (name == "scale_by_four")
        p.scale = GL_SCALE_BY_FOUR_NV;
    else if (name == "scale_by_one_half")
        p.scale = GL_SCALE_BY_ONE_HALF_NV;
    else if (name == "bias_by_negative_one_half")
        p.bias = GL_BIAS_BY_NEGATIVE_ONE_HALF_NV;
    else if (name == "bias_by_negative_one_half_scale_by_two") {
        p.bias = GL_BIAS_BY_NEGATIVE_ONE_HALF_NV;
        p.scale = GL_SCALE_BY_TWO_NV;
    } else {
        syntax("syntax error: unknown statement");
        return;
    }
    s_.next();
    expect("(");
    expect(")");
    expect(";");
}

// One statement of a portion: an output written with a product, a dot
// product, a single operand (times one), sum() or mux(); or a scale/bias.
void Parser::portionStatement(CombinerPortion& p, bool alpha, int& products, std::vector<GLenum>& written)
{
    Token target = s_.peek();
    if (target.kind == TokenKind::Identifier && s_.peek().text.find("_by_") != std::string_view::npos) {
        scaleBias(p, std::string(target.text));
        return;
    }
    GLenum out = registerOf(target);
    s_.next();
    if (isFinalRegister(out))
        error(target.line, "final register used in general combiner");
    else if (isReadOnly(out))
        error(target.line, "writing to a read-only register");
    else if (out != GL_DISCARD_NV) {
        for (GLenum w : written)
            if (w == out)
                error(target.line, "writing to same register twice");
        written.push_back(out);
    }
    expect("=");
    if (s_.peek().is("sum") || s_.peek().is("mux")) {
        p.muxSum = s_.next().is("mux");
        expect("(");
        expect(")");
        expect(";");
        p.sumOutput = out;
        return;
    }
    Operand a = operand(true);
    bool dot = false;
    bool hasB = true;
    Operand b;
    if (s_.accept(".")) {
        dot = true;
        if (alpha)
            error(a.line, "dot used in alpha portion");
        b = operand(true);
    } else if (s_.accept("*")) {
        b = operand(true);
    } else {
        hasB = false;
    }
    expect(";");
    if (products == 2) {
        // The message may not be the first (a text that ends inside the
        // portion has already stopped the parser), so never fall through to
        // a third product: a portion holds inputs for two.
        syntax("syntax error: a portion has two products at most");
        return;
    }
    int first = products++ * 2;
    p.inputs[first] = generalInput(a, alpha);
    CombinerInput times1{GL_ZERO, GL_UNSIGNED_INVERT_NV, alpha ? GLenum(GL_ALPHA) : GLenum(GL_RGB)};
    p.inputs[first + 1] = hasB ? generalInput(b, alpha) : times1;
    (first == 0 ? p.abOutput : p.cdOutput) = out;
    (first == 0 ? p.abDot : p.cdDot) = dot && !alpha;
}

GLenum Parser::registerOf(const Token& t)
{
    for (const RegisterName& r : registerNames)
        if (t.is(r.text))
            return r.reg;
    syntax("syntax error: expected a register");
    return GL_ZERO;
}

// An operand: [-] register[.component], or a mapping function around it.
Operand Parser::operand(bool general)
{
    Operand o;
    o.line = s_.line();
    bool negative = s_.accept("-");
    Token t = s_.peek();
    bool function = t.is("expand") || t.is("half_bias") || t.is("unsigned") || t.is("unsigned_invert");
    if (function) {
        s_.next();
        expect("(");
        if ((t.is("unsigned") || t.is("unsigned_invert")) && negative)
            syntax("syntax error: unsigned mappings cannot be negated");
        if (!general && (t.is("expand") || t.is("half_bias")))
            syntax("syntax error: the final combiner takes unsigned inputs only");
    } else if (negative && !general) {
        syntax("syntax error: the final combiner takes unsigned inputs only");
    }
    o.reg = registerOf(s_.peek());
    s_.next();
    if (s_.peek().is(".")) {
        // A component suffix, unless the dot starts a dot product.
        TextScanner look = s_;
        look.next();
        Token c = look.peek();
        if (c.is("rgb") || c.is("a") || c.is("alpha") || c.is("b") || c.is("blue")) {
            s_ = look;
            s_.next();
            o.component = c.is("rgb") ? Component::Rgb : (c.is("b") || c.is("blue")) ? Component::Blue : Component::Alpha;
        }
    }
    if (function)
        expect(")");
    if (t.is("expand"))
        o.mapping = negative ? GL_EXPAND_NEGATE_NV : GL_EXPAND_NORMAL_NV;
    else if (t.is("half_bias"))
        o.mapping = negative ? GL_HALF_BIAS_NEGATE_NV : GL_HALF_BIAS_NORMAL_NV;
    else if (t.is("unsigned"))
        o.mapping = GL_UNSIGNED_IDENTITY_NV;
    else if (t.is("unsigned_invert"))
        o.mapping = GL_UNSIGNED_INVERT_NV;
    else
        o.mapping = negative ? GL_SIGNED_NEGATE_NV : GL_SIGNED_IDENTITY_NV;
    return o;
}

CombinerInput Parser::generalInput(const Operand& o, bool alpha)
{
    if (o.reg == GL_DISCARD_NV)
        error(o.line, "reading from discard");
    else if (isFinalRegister(o.reg))
        error(o.line, "final register used in general combiner");
    if (alpha && o.component == Component::Rgb)
        error(o.line, "rgb register used in alpha portion");
    if (!alpha && o.component == Component::Blue)
        error(o.line, "blue register usedin rgb portion");
    GLenum usage = alpha ? (o.component == Component::Blue ? GL_BLUE : GL_ALPHA)
                         : (o.component == Component::Alpha ? GL_ALPHA : GL_RGB);
    GLenum reg = o.reg == GL_DISCARD_NV || isFinalRegister(o.reg) ? GLenum(GL_ZERO) : o.reg;
    return {reg, o.mapping, usage};
}

void Parser::finalStatement()
{
    Token t = s_.next();
    CombinerState& st = setup_.state;
    if (t.is("final_product")) {
        expect("=");
        Operand e = operand(false);
        expect("*");
        Operand f = operand(false);
        expect(";");
        st.finalInputs[VarE] = finalInput(e, VarE);
        st.finalInputs[VarF] = finalInput(f, VarF);
        finalProductSet_ = true;
    } else if (t.is("clamp_color_sum")) {
        expect("(");
        expect(")");
        expect(";");
        st.colorSumClamp = true;
    } else if (t.is("out")) {
        expect(".");
        Token which = s_.next();
        expect("=");
        if (which.is("rgb")) {
            finalRgb();
        } else if (which.is("a") || which.is("alpha")) {
            st.finalInputs[VarG] = finalInput(operand(false), VarG);
        } else {
            syntax("syntax error: expected out.rgb or out.a");
        }
        expect(";");
    } else {
        syntax("syntax error: expected a general combiner, final_product, clamp_color_sum or out");
    }
}

// out.rgb = A * B + (1 - A) * C + D, written as a sum of at most one lerp()
// or product and one more operand (or two plain operands).
void Parser::finalRgb()
{
    struct Term {
        int operands;
        bool lerp;
        Operand op[3];
    };
    std::vector<Term> terms;
    do {
        Term term{1, false, {}};
        if (s_.accept("lerp")) {
            expect("(");
            term.op[0] = operand(false);
            expect(",");
            term.op[1] = operand(false);
            expect(",");
            term.op[2] = operand(false);
            expect(")");
            term = Term{3, true, {term.op[0], term.op[1], term.op[2]}};
        } else {
            term.op[0] = operand(false);
            if (s_.accept("*")) {
                term.op[1] = operand(false);
                term.operands = 2;
            }
        }
        terms.push_back(term);
    } while (s_.accept("+"));
    const Term* product = nullptr;
    std::vector<const Term*> singles;
    for (const Term& term : terms) {
        if (term.operands == 1)
            singles.push_back(&term);
        else if (product)
            syntax("syntax error: out.rgb takes one lerp or product");
        else
            product = &term;
    }
    if (singles.size() > (product ? 1u : 2u))
        syntax("syntax error: too many terms in out.rgb");
    std::array<CombinerInput, 7>& in = setup_.state.finalInputs;
    in[VarA] = in[VarB] = in[VarC] = in[VarD] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    if (product) {
        for (int v = 0; v < product->operands; ++v)
            in[VarA + v] = finalInput(product->op[v], VarA + v);
    } else if (singles.size() == 2) {
        in[VarA] = finalInput(singles[0]->op[0], VarA);
        in[VarB] = one();
        singles.erase(singles.begin());
    }
    if (!singles.empty())
        in[VarD] = finalInput(singles[0]->op[0], VarD);
}

CombinerInput Parser::finalInput(const Operand& o, int variable)
{
    bool special = isFinalRegister(o.reg);
    bool invalid = o.reg == GL_DISCARD_NV;
    if (variable <= VarD) {
        if (o.component == Component::Blue)
            error(o.line, "blue register used in final rgb");
        else if (invalid || (special && o.component == Component::Alpha))
            error(o.line, "invalid input register for final rgb");
        if (o.reg == GL_E_TIMES_F_NV && !finalProductUsed_) {
            finalProductUsed_ = true;
            finalProductUseLine_ = o.line;
        }
    } else if (variable == VarG) {
        if (o.component == Component::Rgb)
            error(o.line, "rgb register used in final alpha");
        else if (invalid || special)
            error(o.line, "invalid input register for final alpha");
    } else {
        if (o.component == Component::Blue)
            error(o.line, "blue register used in final_product");
        else if (invalid || special)
            error(o.line, "invalid input register for final_product");
    }
    GLenum usage = variable == VarG ? (o.component == Component::Blue ? GL_BLUE : GL_ALPHA)
                                    : (o.component == Component::Alpha ? GL_ALPHA : GL_RGB);
    GLenum mapping = o.mapping == GL_UNSIGNED_INVERT_NV ? GL_UNSIGNED_INVERT_NV : GL_UNSIGNED_IDENTITY_NV;
    GLenum reg = invalid || (special && variable > VarD) ? GLenum(GL_ZERO) : o.reg;
    return {reg, mapping, usage};
}

} // namespace

CombinerCompileResult compileRegisterCombiners(std::string_view text, size_t start, int supportedCombiners,
                                               bool perStageConstants)
{
    return Parser(text, start, supportedCombiners, perStageConstants).run();
}

} // namespace programs
