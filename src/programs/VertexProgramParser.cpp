#include "programs/VertexProgramParser.h"

#include "programs/TextScanner.h"

#include <cstring>
#include <optional>

namespace programs {

namespace {

struct OpcodeEntry {
    const char* name;
    VpOpcode op;
};

const OpcodeEntry opcodeTable[] = {
    {"ARL", VpOpcode::ARL}, {"MOV", VpOpcode::MOV}, {"LIT", VpOpcode::LIT}, {"RCP", VpOpcode::RCP},
    {"RSQ", VpOpcode::RSQ}, {"EXP", VpOpcode::EXP}, {"LOG", VpOpcode::LOG}, {"MUL", VpOpcode::MUL},
    {"ADD", VpOpcode::ADD}, {"DP3", VpOpcode::DP3}, {"DP4", VpOpcode::DP4}, {"DST", VpOpcode::DST},
    {"MIN", VpOpcode::MIN}, {"MAX", VpOpcode::MAX}, {"SLT", VpOpcode::SLT}, {"SGE", VpOpcode::SGE},
    {"MAD", VpOpcode::MAD},
};

// Named attribute registers of v[...], by index.
const char* const attributeNames[vpAttributeCount] = {
    "OPOS", "WGHT", "NRML", "COL0", "COL1", "FOGC", nullptr, nullptr,
    "TEX0", "TEX1", "TEX2", "TEX3", "TEX4", "TEX5", "TEX6", "TEX7"};

const char* const outputNames[OutputCount] = {
    "HPOS", "COL0", "COL1", "BFC0", "BFC1", "FOGC", "PSIZ",
    "TEX0", "TEX1", "TEX2", "TEX3", "TEX4", "TEX5", "TEX6", "TEX7"};

int componentOf(char c)
{
    switch (c) {
    case 'x': return 0;
    case 'y': return 1;
    case 'z': return 2;
    case 'w': return 3;
    default: return -1;
    }
}

// Thrown-free failure: the first error stops the parse.
struct ParseError {
    size_t position;
    std::string message;
};

class Parser {
public:
    Parser(std::string_view text, VpKind kind, size_t bodyStart)
        : scanner_(text, bodyStart, true, false), kind_(kind) {}

    std::optional<ParseError> run(VertexProgram& program);

private:
    std::optional<ParseError> instruction(VpInstruction& inst);
    std::optional<ParseError> destination(VpInstruction& inst);
    std::optional<ParseError> source(VpSource& src, bool scalar);
    std::optional<ParseError> parameterIndex(VpSource& src);
    std::optional<ParseError> registerIndex(int& index, int count, const char* const* names);
    std::optional<ParseError> writeMask(uint8_t& mask);
    std::optional<ParseError> swizzle(VpSource& src, bool scalar);
    std::optional<ParseError> expect(std::string_view s);
    std::optional<ParseError> checkInstruction(const VpInstruction& inst) const;
    ParseError errorHere(std::string message) const { return {scanner_.offset(), std::move(message)}; }

    TextScanner scanner_;
    VpKind kind_;
};

std::optional<ParseError> Parser::expect(std::string_view s)
{
    if (scanner_.accept(s))
        return std::nullopt;
    return errorHere("expected '" + std::string(s) + "'");
}

std::optional<ParseError> Parser::run(VertexProgram& program)
{
    program.kind = kind_;
    bool writesPosition = false;
    while (!scanner_.peek().is("END")) {
        if (scanner_.peek().kind == TokenKind::End)
            return errorHere("missing END");
        if (static_cast<int>(program.instructions.size()) == vpMaxInstructions)
            return errorHere("more than 128 instructions");
        VpInstruction inst;
        if (auto e = instruction(inst))
            return e;
        if (inst.dst.file == VpFile::Output && inst.dst.index == HPOS)
            writesPosition = true;
        program.instructions.push_back(inst);
    }
    if (kind_ == VpKind::Vertex && !writesPosition)
        return errorHere("the program does not write o[HPOS]");
    return std::nullopt;
}

std::optional<ParseError> Parser::instruction(VpInstruction& inst)
{
    Token name = scanner_.peek();
    inst.textOffset = name.offset;
    const OpcodeEntry* entry = nullptr;
    for (const OpcodeEntry& e : opcodeTable)
        if (name.is(e.name))
            entry = &e;
    if (!entry)
        return errorHere("unknown instruction");
    scanner_.next();
    inst.op = entry->op;
    inst.sourceCount = vpSourceCount(inst.op);
    if (auto e = destination(inst))
        return e;
    for (int i = 0; i < inst.sourceCount; ++i) {
        if (auto e = expect(","))
            return e;
        if (auto e = source(inst.src[i], vpIsScalar(inst.op)))
            return e;
    }
    if (auto e = checkInstruction(inst))
        return e;
    return expect(";");
}

std::optional<ParseError> Parser::destination(VpInstruction& inst)
{
    Token t = scanner_.peek();
    VpDestination& dst = inst.dst;
    if (inst.op == VpOpcode::ARL) {
        if (!t.is("A0"))
            return errorHere("ARL writes A0.x only");
        scanner_.next();
        if (auto e = expect("."))
            return e;
        if (!scanner_.peek().is("x"))
            return errorHere("ARL writes A0.x only");
        scanner_.next();
        dst.file = VpFile::Address;
        dst.mask = MaskX;
        return std::nullopt;
    }
    if (t.kind == TokenKind::Identifier && t.text.size() >= 2 && t.text[0] == 'R') {
        int index = 0;
        Token number{TokenKind::Number, t.text.substr(1), t.offset, t.line};
        if (!tokenToInt(number, index) || index >= vpTemporaryCount)
            return errorHere("invalid temporary register");
        scanner_.next();
        dst.file = VpFile::Temporary;
        dst.index = index;
    } else if (t.is("o") && kind_ == VpKind::Vertex) {
        scanner_.next();
        if (auto e = expect("["))
            return e;
        Token n = scanner_.peek();
        int found = -1;
        for (int i = 0; i < OutputCount; ++i)
            if (n.is(outputNames[i]))
                found = i;
        if (found < 0)
            return errorHere("invalid output register");
        scanner_.next();
        if (auto e = expect("]"))
            return e;
        dst.file = VpFile::Output;
        dst.index = found;
    } else if (t.is("c") && kind_ == VpKind::State) {
        scanner_.next();
        if (auto e = expect("["))
            return e;
        if (auto e = registerIndex(dst.index, vpParameterCount, nullptr))
            return e;
        if (auto e = expect("]"))
            return e;
        dst.file = VpFile::Parameter;
    } else {
        return errorHere("invalid destination register");
    }
    return writeMask(dst.mask);
}

std::optional<ParseError> Parser::writeMask(uint8_t& mask)
{
    mask = MaskXYZW;
    if (!scanner_.accept("."))
        return std::nullopt;
    Token t = scanner_.peek();
    if (t.kind != TokenKind::Identifier)
        return errorHere("invalid write mask");
    mask = 0;
    int last = -1;
    for (char c : t.text) {
        int comp = componentOf(c);
        if (comp <= last)
            return errorHere("invalid write mask");
        mask |= static_cast<uint8_t>(1 << comp);
        last = comp;
    }
    scanner_.next();
    return std::nullopt;
}

std::optional<ParseError> Parser::source(VpSource& src, bool scalar)
{
    src.negate = scanner_.accept("-");
    Token t = scanner_.peek();
    if (t.kind == TokenKind::Identifier && t.text.size() >= 2 && t.text[0] == 'R') {
        Token number{TokenKind::Number, t.text.substr(1), t.offset, t.line};
        if (!tokenToInt(number, src.index) || src.index >= vpTemporaryCount)
            return errorHere("invalid temporary register");
        scanner_.next();
        src.file = VpFile::Temporary;
    } else if (t.is("v")) {
        scanner_.next();
        if (auto e = expect("["))
            return e;
        if (auto e = registerIndex(src.index, vpAttributeCount, attributeNames))
            return e;
        if (auto e = expect("]"))
            return e;
        src.file = VpFile::Attribute;
    } else if (t.is("c")) {
        scanner_.next();
        if (auto e = expect("["))
            return e;
        if (auto e = parameterIndex(src))
            return e;
        if (auto e = expect("]"))
            return e;
        src.file = VpFile::Parameter;
    } else {
        return errorHere("invalid source register");
    }
    return swizzle(src, scalar);
}

std::optional<ParseError> Parser::parameterIndex(VpSource& src)
{
    if (!scanner_.peek().is("A0"))
        return registerIndex(src.index, vpParameterCount, nullptr);
    scanner_.next();
    if (auto e = expect("."))
        return e;
    if (!scanner_.accept("x"))
        return errorHere("relative addressing uses A0.x");
    src.relative = true;
    src.index = 0;
    bool negative = scanner_.peek().is("-");
    if (!negative && !scanner_.peek().is("+"))
        return std::nullopt;
    scanner_.next();
    int offset = 0;
    if (!tokenToInt(scanner_.peek(), offset))
        return errorHere("invalid relative offset");
    src.index = negative ? -offset : offset;
    if (src.index < vpMinRelativeOffset || src.index > vpMaxRelativeOffset)
        return errorHere("relative offset out of range");
    scanner_.next();
    return std::nullopt;
}

std::optional<ParseError> Parser::registerIndex(int& index, int count, const char* const* names)
{
    Token t = scanner_.peek();
    if (names && t.kind == TokenKind::Identifier) {
        for (int i = 0; i < count; ++i)
            if (names[i] && t.is(names[i])) {
                index = i;
                scanner_.next();
                return std::nullopt;
            }
        return errorHere("invalid register name");
    }
    if (!tokenToInt(t, index) || index >= count)
        return errorHere("register index out of range");
    scanner_.next();
    return std::nullopt;
}

std::optional<ParseError> Parser::swizzle(VpSource& src, bool scalar)
{
    if (!scanner_.accept(".")) {
        if (scalar)
            return errorHere("scalar operand needs a component");
        return std::nullopt;
    }
    Token t = scanner_.peek();
    size_t n = t.kind == TokenKind::Identifier ? t.text.size() : 0;
    if (n != 1 && (n != 4 || scalar))
        return errorHere("invalid swizzle");
    for (size_t i = 0; i < n; ++i) {
        int comp = componentOf(t.text[i]);
        if (comp < 0)
            return errorHere("invalid swizzle");
        src.swizzle[i] = static_cast<uint8_t>(comp);
    }
    if (n == 1)
        src.swizzle = {src.swizzle[0], src.swizzle[0], src.swizzle[0], src.swizzle[0]};
    scanner_.next();
    return std::nullopt;
}

// The hardware reads one attribute and one parameter register per
// instruction; a state program reads only v[0] and writes no outputs.
std::optional<ParseError> Parser::checkInstruction(const VpInstruction& inst) const
{
    const VpSource* attribute = nullptr;
    const VpSource* parameter = nullptr;
    for (int i = 0; i < inst.sourceCount; ++i) {
        const VpSource& s = inst.src[i];
        const VpSource** seen = s.file == VpFile::Attribute ? &attribute
                                : s.file == VpFile::Parameter ? &parameter
                                                              : nullptr;
        if (!seen)
            continue;
        if (*seen && ((*seen)->index != s.index || (*seen)->relative != s.relative)) {
            return ParseError{inst.textOffset, s.file == VpFile::Attribute
                                                   ? "more than one attribute register read"
                                                   : "more than one parameter register read"};
        }
        *seen = &s;
        if (kind_ == VpKind::State && s.file == VpFile::Attribute && s.index != 0)
            return ParseError{inst.textOffset, "a state program reads v[0] only"};
    }
    return std::nullopt;
}

} // namespace

int vpSourceCount(VpOpcode op)
{
    switch (op) {
    case VpOpcode::ARL: case VpOpcode::MOV: case VpOpcode::LIT: case VpOpcode::RCP:
    case VpOpcode::RSQ: case VpOpcode::EXP: case VpOpcode::LOG:
        return 1;
    case VpOpcode::MAD:
        return 3;
    default:
        return 2;
    }
}

bool vpIsScalar(VpOpcode op)
{
    return op == VpOpcode::ARL || op == VpOpcode::RCP || op == VpOpcode::RSQ || op == VpOpcode::EXP ||
           op == VpOpcode::LOG;
}

const char* vpOpcodeName(VpOpcode op)
{
    for (const OpcodeEntry& e : opcodeTable)
        if (e.op == op)
            return e.name;
    return "?";
}

VpParseResult parseVertexProgram(std::string_view text)
{
    VpParseResult result;
    VpKind kind;
    size_t bodyStart;
    if (text.substr(0, 7) == "!!VP1.0") {
        kind = VpKind::Vertex;
        bodyStart = 7;
    } else if (text.substr(0, 8) == "!!VSP1.0") {
        kind = VpKind::State;
        bodyStart = 8;
    } else {
        result.message = "the text does not start with !!VP1.0 or !!VSP1.0";
        return result;
    }
    Parser parser(text, kind, bodyStart);
    if (auto error = parser.run(result.program)) {
        result.errorPosition = error->position;
        result.message = error->message;
        result.program.instructions.clear();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace programs
