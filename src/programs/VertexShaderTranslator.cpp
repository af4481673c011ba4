#include "programs/VertexShaderTranslator.h"

#include "programs/ErrorList.h"
#include "programs/VertexProgram.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace programs {

namespace {

enum class RegFile { Temp, Input, Constant, Address, Position, Diffuse, Texture, Fog, PointSize };

struct Operand {
    RegFile file = RegFile::Temp;
    int index = 0;
    bool relative = false;      // c[a0.x + index]
    bool negate = false;
    std::string suffix;         // mask or swizzle letters, lower case
};

struct Instruction {
    std::string op;             // lower case
    std::vector<Operand> operands;
};

// A message for the line; `error` is false for warnings.
struct LineError {
    std::string text;
};

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool parseInt(const std::string& s, int& value)
{
    std::string t = trim(s);
    if (t.empty() || !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); }) || t.size() > 6)
        return false;
    value = std::atoi(t.c_str());
    return true;
}

const char* const constantIndexMessage = "constant register index must be:\t<int>, a0.x, or a0.x + <int>.\n";

// c[...]: an integer, a0.x, a0.x + n, a0.x - n or n + a0.x.
bool parseConstantIndex(const std::string& inside, Operand& o)
{
    std::string t = lower(trim(inside));
    std::string compact;
    for (char c : t)
        if (c != ' ' && c != '\t')
            compact += c;
    if (parseInt(compact, o.index))
        return true;
    o.relative = true;
    o.index = 0;
    if (compact == "a0.x")
        return true;
    if (compact.rfind("a0.x+", 0) == 0 || compact.rfind("a0.x-", 0) == 0) {
        if (!parseInt(compact.substr(5), o.index))
            return false;
        if (compact[4] == '-')
            o.index = -o.index;
        return true;
    }
    size_t plus = compact.find("+a0.x");
    return plus != std::string::npos && plus + 5 == compact.size() && parseInt(compact.substr(0, plus), o.index);
}

// Parses one operand; returns a message when it is malformed.
std::string parseOperand(std::string text, Operand& o)
{
    text = trim(text);
    if (!text.empty() && text[0] == '-') {
        o.negate = true;
        text = trim(text.substr(1));
    }
    size_t close = text.rfind(']');
    size_t dot = text.find('.', close == std::string::npos ? 0 : close);
    std::string reg = lower(text.substr(0, dot));
    o.suffix = dot == std::string::npos ? "" : lower(text.substr(dot + 1));
    if (reg == "a0") {
        o.file = RegFile::Address;
        return "";
    }
    if (reg.rfind("c[", 0) == 0 && !reg.empty() && reg.back() == ']') {
        o.file = RegFile::Constant;
        return parseConstantIndex(reg.substr(2, reg.size() - 3), o) ? "" : constantIndexMessage;
    }
    struct Prefix {
        const char* name;
        RegFile file;
    };
    const Prefix prefixes[] = {{"opos", RegFile::Position}, {"ofog", RegFile::Fog}, {"opts", RegFile::PointSize},
                               {"od", RegFile::Diffuse},     {"ot", RegFile::Texture}, {"r", RegFile::Temp},
                               {"v", RegFile::Input},        {"c", RegFile::Constant}};
    for (const Prefix& p : prefixes) {
        std::string name = p.name;
        if (reg.rfind(name, 0) != 0)
            continue;
        o.file = p.file;
        std::string number = reg.substr(name.size());
        if (p.file == RegFile::Position || p.file == RegFile::Fog || p.file == RegFile::PointSize)
            return number.empty() ? "" : "unknown register " + reg;
        return parseInt(number, o.index) ? "" : "unknown register " + reg;
    }
    return "unknown register " + reg;
}


struct OpcodeInfo {
    const char* name;
    const char* vp;      // the NV instruction
    int operands;        // destination included
    bool scalar;
};

const OpcodeInfo opcodes[] = {
    {"add", "ADD", 3, false}, {"dp3", "DP3", 3, false}, {"dp4", "DP4", 3, false}, {"dst", "DST", 3, false},
    {"expp", "EXP", 2, true}, {"lit", "LIT", 2, false}, {"logp", "LOG", 2, true}, {"mad", "MAD", 4, false},
    {"max", "MAX", 3, false}, {"min", "MIN", 3, false}, {"mov", "MOV", 2, false}, {"mul", "MUL", 3, false},
    {"rcp", "RCP", 2, true}, {"rsq", "RSQ", 2, true}, {"sge", "SGE", 3, false}, {"slt", "SLT", 3, false},
    {"sub", "ADD", 3, false}, {"exp", "EXP", 2, true}, {"log", "LOG", 2, true}, {"nop", "", 1, false},
};

bool isOutput(RegFile f)
{
    return f == RegFile::Position || f == RegFile::Diffuse || f == RegFile::Texture || f == RegFile::Fog ||
           f == RegFile::PointSize;
}

bool validMask(const std::string& mask)
{
    int last = -1;
    for (char c : mask) {
        int comp = std::string("xyzw").find(c) == std::string::npos ? -1 : static_cast<int>(std::string("xyzw").find(c));
        if (comp <= last)
            return false;
        last = comp;
    }
    return true;
}

bool validSwizzle(const std::string& swizzle)
{
    return swizzle.size() <= 4 &&
           std::all_of(swizzle.begin(), swizzle.end(), [](char c) { return std::string("xyzw").find(c) != std::string::npos; });
}

std::string fullSwizzle(const std::string& s)
{
    if (s.empty())
        return "xyzw";
    std::string full = s;
    while (full.size() < 4)
        full += s.back();
    return full;
}

std::string registerText(const Operand& o)
{
    switch (o.file) {
    case RegFile::Temp: return "R" + std::to_string(o.index);
    case RegFile::Input: return "v[" + std::to_string(o.index) + "]";
    case RegFile::Constant:
        if (!o.relative)
            return formatMessage("c[%d]", o.index);
        if (o.index == 0)
            return "c[ A0.x ]";
        return o.index > 0 ? formatMessage("c[ A0.x + %d ]", o.index) : formatMessage("c[ A0.x - %d ]", -o.index);
    case RegFile::Address: return "A0.x";
    case RegFile::Position: return "o[HPOS]";
    case RegFile::Diffuse: return formatMessage("o[COL%d]", o.index);
    case RegFile::Texture: return formatMessage("o[TEX%d]", o.index);
    case RegFile::Fog: return "o[FOGC]";
    case RegFile::PointSize: return "o[PSIZ]";
    }
    return "";
}

std::string sourceText(const Operand& o, bool scalar, bool negate)
{
    std::string swizzle = fullSwizzle(o.suffix);
    std::string text = (negate ? "-" : "") + registerText(o);
    if (scalar)
        return text + "." + swizzle[3];
    if (swizzle != "xyzw")
        text += "." + (swizzle == std::string(4, swizzle[0]) ? swizzle.substr(0, 1) : swizzle);
    return text;
}

std::string destinationText(const Operand& o)
{
    return registerText(o) + (o.suffix.empty() || o.suffix == "xyzw" ? "" : "." + o.suffix);
}

class Translator {
public:
    explicit Translator(VertexShaderResult& result) : result_(result) {}
    void line(const ShaderLine& l);

private:
    bool checkDestination(const ShaderLine& l, const OpcodeInfo& info, const Operand& d);
    bool checkSources(const ShaderLine& l, const std::vector<Operand>& sources);
    void emit(const OpcodeInfo& info, const std::vector<Operand>& ops);
    void fail(const ShaderLine& l, const char* message, const std::string& detail = "")
    {
        result_.messages.push_back(formatMessage(message, l.line, detail.c_str()));
        result_.ok = false;
    }

    VertexShaderResult& result_;
    bool versionSeen_ = false;
};

bool Translator::checkDestination(const ShaderLine& l, const OpcodeInfo& info, const Operand& d)
{
    bool addressWrite = d.file == RegFile::Address && std::string(info.name) == "mov";
    if (d.file == RegFile::Input || d.file == RegFile::Constant || (d.file == RegFile::Address && !addressWrite)) {
        fail(l, "(%d) Error: destination register is not writable\n");
        return false;
    }
    int limit = d.file == RegFile::Temp ? vpTemporaryCount : d.file == RegFile::Diffuse ? 2 : d.file == RegFile::Texture ? 8 : 1;
    if (d.index >= limit) {
        fail(l, "(%d) Error: destination register index out of range\n");
        return false;
    }
    if (!validMask(d.suffix) || d.negate || (addressWrite && !d.suffix.empty() && d.suffix != "x")) {
        fail(l, "(%d) Error: destination register has invalid mask: %s\n", d.suffix);
        return false;
    }
    bool macro = std::string(info.name) == "exp" || std::string(info.name) == "log";
    if (macro && d.file != RegFile::Temp) {
        fail(l, "(%d) Error: destination register must be a temporary register\n");
        return false;
    }
    return true;
}

bool Translator::checkSources(const ShaderLine& l, const std::vector<Operand>& sources)
{
    const Operand* constant = nullptr;
    const Operand* input = nullptr;
    for (const Operand& s : sources) {
        if (isOutput(s.file) || s.file == RegFile::Address) {
            fail(l, "(%d) Error: source register is not readable\n");
            return false;
        }
        bool inRange = s.file == RegFile::Temp       ? s.index < vpTemporaryCount
                       : s.file == RegFile::Input    ? s.index < vpAttributeCount
                       : s.relative                  ? s.index >= vpMinRelativeOffset && s.index <= vpMaxRelativeOffset
                                                     : s.index >= 0 && s.index < vpParameterCount;
        if (!inRange) {
            fail(l, l.fromMacro ? "(%d) Error: macro expansion produces source register index out of range\n"
                                : "(%d) Error: source register index out of range\n");
            return false;
        }
        if (!validSwizzle(s.suffix)) {
            fail(l, "(%d) Error: source register has invalid mask: %s\n", s.suffix);
            return false;
        }
        const Operand** seen = s.file == RegFile::Constant ? &constant : s.file == RegFile::Input ? &input : nullptr;
        if (!seen)
            continue;
        if (*seen && ((*seen)->index != s.index || (*seen)->relative != s.relative)) {
            fail(l, s.file == RegFile::Constant
                        ? "(%d) Error: multiple unique constant registers accessed in this instruction\n"
                        : "(%d) Error: multiple unique attribute registers accessed in this instruction\n");
            return false;
        }
        *seen = &s;
    }
    return true;
}

void Translator::emit(const OpcodeInfo& info, const std::vector<Operand>& ops)
{
    std::string name = info.name;
    const Operand& d = ops[0];
    std::string& out = result_.program;
    if (d.file == RegFile::Address) {
        out += "ARL A0.x, " + registerText(ops[1]) + "." + fullSwizzle(ops[1].suffix)[0] + ";\n";
        ++result_.instructionCount;
        return;
    }
    if (name == "exp" || name == "log") {
        // The full-precision macros: the NV instruction leaves 2^x (log2 x)
        // in z, which is then spread over the written components.
        Operand z = d;
        z.suffix = "z";
        out += std::string(info.vp) + " " + destinationText(z) + ", " + sourceText(ops[1], true, ops[1].negate) + ";\n";
        ++result_.instructionCount;
        if (d.suffix != "z") {
            out += "MOV " + destinationText(d) + ", " + registerText(d) + ".z;\n";
            ++result_.instructionCount;
        }
        return;
    }
    out += std::string(info.vp) + " " + destinationText(d);
    for (size_t i = 1; i < ops.size(); ++i) {
        bool negate = ops[i].negate != (name == "sub" && i == 2);
        out += ", " + sourceText(ops[i], info.scalar, negate);
    }
    out += ";\n";
    ++result_.instructionCount;
}

std::vector<std::string> splitOperands(const std::string& text)
{
    std::vector<std::string> parts;
    std::string t = trim(text);
    if (t.empty())
        return parts;
    std::stringstream ss(t);
    std::string part;
    while (std::getline(ss, part, ','))
        parts.push_back(trim(part));
    return parts;
}

void Translator::line(const ShaderLine& l)
{
    size_t end = l.text.find_first_of(" \t");
    std::string op = lower(l.text.substr(0, end));
    std::string rest = end == std::string::npos ? "" : l.text.substr(end);
    if (op.rfind("vs.", 0) == 0) {
        if (versionSeen_)
            fail(l, "(%d) Error: vs.1.0 token already encountered\n");
        versionSeen_ = true;
        return;
    }
    if (op == "frc") {
        fail(l, "(%d) Error: FRC built-in macro not yet supported.\n");
        return;
    }
    const OpcodeInfo* info = nullptr;
    for (const OpcodeInfo& o : opcodes)
        if (op == o.name)
            info = &o;
    if (!info) {
        fail(l, "(%d) : Error : unknown instruction '%s'\n", op);
        return;
    }
    std::vector<std::string> parts = splitOperands(rest);
    if (std::string(info->name) == "nop" && parts.empty())
        return;
    if (static_cast<int>(parts.size()) != info->operands) {
        fail(l, "(%d) : Error : wrong number of operands for %s\n", op);
        return;
    }
    std::vector<Operand> ops(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string problem = parseOperand(parts[i], ops[i]);
        if (problem == constantIndexMessage) {
            result_.messages.push_back(problem);
            result_.ok = false;
            return;
        }
        if (!problem.empty()) {
            fail(l, "(%d) : Error : %s\n", problem);
            return;
        }
    }
    if (!checkDestination(l, *info, ops[0]) || !checkSources(l, std::vector<Operand>(ops.begin() + 1, ops.end())))
        return;
    emit(*info, ops);
}

} // namespace

VertexShaderResult translateVertexShader(std::string_view text, const IncludeReader& includes)
{
    VertexShaderResult result;
    PreprocessResult pre = preprocessShader(text, includes);
    result.messages = pre.messages;
    result.ok = pre.ok;
    result.program = "!!VP1.0\n";
    Translator translator(result);
    for (const ShaderLine& l : pre.lines)
        translator.line(l);
    result.program += "END\n";
    return result;
}

const std::vector<std::string>& vertexShaderIncludeFolders()
{
    // The show's own folders, relative to where its build ran, after the
    // data folder this platform starts the program next to.
    static const std::vector<std::string> folders = {"data/programs", "../../data/programs", "../../../data/programs"};
    return folders;
}

std::optional<std::string> readIncludeFromFolders(const std::string& name)
{
    for (const std::string& folder : vertexShaderIncludeFolders()) {
        std::ifstream in(formatMessage("%s/%s", folder.c_str(), name.c_str()), std::ios::binary);
        if (!in)
            continue;
        std::stringstream contents;
        contents << in.rdbuf();
        return contents.str();
    }
    return std::nullopt;
}

} // namespace programs
