#include "programs/ShaderPreprocessor.h"

#include "programs/ErrorList.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace programs {

namespace {

constexpr int maxDepth = 16;
// Macros that call themselves more than once per line grow exponentially
// with depth; real shaders expand to a few hundred lines at most.
constexpr int maxExpandedLines = 4096;

const char* const builtInMacros =
    "macro m4x4 reg1, reg2, reg3\n"
    "\tdp4 %reg1.x, %reg2, %reg3\n\tdp4 %reg1.y, %reg2, %inc(%reg3)\n"
    "\tdp4 %reg1.z, %reg2, %add(%reg3, 2)\n\tdp4 %reg1.w, %reg2, %add(%reg3, 3)\nendm\n"
    "macro m4x3 reg1, reg2, reg3\n"
    "\tdp4 %reg1.x, %reg2, %reg3\n\tdp4 %reg1.y, %reg2, %inc(%reg3)\n\tdp4 %reg1.z, %reg2, %add(%reg3, 2)\nendm\n"
    "macro m3x4 reg1, reg2, reg3\n"
    "\tdp3 %reg1.x, %reg2, %reg3\n\tdp3 %reg1.y, %reg2, %inc(%reg3)\n"
    "\tdp3 %reg1.z, %reg2, %add(%reg3, 2)\n\tdp3 %reg1.w, %reg2, %add(%reg3, 3)\nendm\n"
    "macro m3x3 reg1, reg2, reg3\n"
    "\tdp3 %reg1.x, %reg2, %reg3\n\tdp3 %reg1.y, %reg2, %inc(%reg3)\n\tdp3 %reg1.z, %reg2, %add(%reg3, 2)\nendm\n"
    "macro m3x2 reg1, reg2, reg3\n\tdp3\t%reg1.x, %reg2, %reg3\n\tdp3 %reg1.y, %reg2, %inc(%reg3)\nendm";

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string trim(std::string_view s)
{
    size_t b = s.find_first_not_of(" \t\r\n\v\f");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n\v\f");
    return std::string(s.substr(b, e - b + 1));
}

bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Replaces comments with blanks, keeping line breaks so line numbers hold.
std::string stripComments(std::string_view text)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == ';' || (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '/')) {
            while (i < out.size() && out[i] != '\n')
                out[i++] = ' ';
        } else if (out[i] == '/' && i + 1 < out.size() && out[i + 1] == '*') {
            out[i++] = ' ';
            out[i++] = ' ';
            while (i < out.size() && !(out[i] == '*' && i + 1 < out.size() && out[i + 1] == '/')) {
                if (out[i] != '\n')
                    out[i] = ' ';
                ++i;
            }
            if (i < out.size()) {
                out[i++] = ' ';
                out[i] = ' ';
            }
        }
    }
    return out;
}

std::vector<std::string> splitArguments(std::string_view s)
{
    std::vector<std::string> parts;
    std::string rest = trim(s);
    if (rest.empty())
        return parts;
    size_t start = 0;
    for (size_t i = 0; i <= rest.size(); ++i)
        if (i == rest.size() || rest[i] == ',') {
            parts.push_back(trim(std::string_view(rest).substr(start, i - start)));
            start = i + 1;
        }
    return parts;
}

struct Macro {
    std::vector<std::string> params;
    std::vector<std::string> body;
};

class Preprocessor {
public:
    explicit Preprocessor(const IncludeReader& includes) : includes_(includes) {}

    void file(std::string_view text, int depth, bool builtIn);
    PreprocessResult finish();

private:
    void line(const std::string& text, int number, bool fromMacro, int depth);
    void directive(const std::string& text, int number, int depth);
    void expand(const Macro& macro, const std::string& name, const std::string& args, int number, int depth);
    std::string substituteDefines(const std::string& text) const;
    bool active() const { return std::all_of(conditions_.begin(), conditions_.end(), [](bool b) { return b; }); }
    void error(int number, const std::string& what)
    {
        result_.messages.push_back(formatMessage("(%d) : Error : %s\n", number, what.c_str()));
        result_.ok = false;
    }

    const IncludeReader& includes_;
    PreprocessResult result_;
    std::map<std::string, std::string> defines_;
    std::map<std::string, Macro> macros_;
    std::vector<bool> conditions_;
    int expandedLines_ = 0;
    bool defining_ = false;
    std::string definingName_;
    int definingLine_ = 0;
    Macro definition_;
};

void Preprocessor::file(std::string_view text, int depth, bool builtIn)
{
    std::string clean = builtIn ? std::string(text) : stripComments(text);
    size_t start = 0;
    int number = 1;
    while (start <= clean.size()) {
        size_t end = clean.find('\n', start);
        std::string_view raw = std::string_view(clean).substr(start, end == std::string::npos ? std::string::npos : end - start);
        line(trim(raw), number, false, depth);
        if (end == std::string::npos)
            break;
        start = end + 1;
        ++number;
    }
}

void Preprocessor::line(const std::string& text, int number, bool fromMacro, int depth)
{
    if (text.empty())
        return;
    if (text[0] == '#') {
        directive(text, number, depth);
        return;
    }
    if (!active())
        return;
    size_t wordEnd = 0;
    while (wordEnd < text.size() && (isIdentChar(text[wordEnd]) || text[wordEnd] == '.'))
        ++wordEnd;
    std::string word = lower(std::string_view(text).substr(0, wordEnd));
    if (defining_) {
        if (word == "endm") {
            macros_[definingName_] = definition_;
            defining_ = false;
        } else {
            definition_.body.push_back(text);
        }
        return;
    }
    if (word == "macro") {
        std::vector<std::string> parts = splitArguments(std::string_view(text).substr(wordEnd));
        std::string head = parts.empty() ? "" : parts[0];
        size_t space = head.find_first_of(" \t");
        definingName_ = lower(head.substr(0, space));
        definition_ = Macro{};
        if (space != std::string::npos)
            parts[0] = trim(std::string_view(head).substr(space));
        else if (!parts.empty())
            parts.erase(parts.begin());
        definition_.params = parts;
        defining_ = !definingName_.empty();
        definingLine_ = number;
        if (!defining_)
            error(number, "macro without a name");
        return;
    }
    std::string substituted = substituteDefines(text);
    wordEnd = 0;
    while (wordEnd < substituted.size() && (isIdentChar(substituted[wordEnd]) || substituted[wordEnd] == '.'))
        ++wordEnd;
    auto macro = macros_.find(lower(std::string_view(substituted).substr(0, wordEnd)));
    if (macro != macros_.end())
        expand(macro->second, macro->first, substituted.substr(wordEnd), number, depth);
    else
        result_.lines.push_back({substituted, number, fromMacro});
}

void Preprocessor::directive(const std::string& text, int number, int depth)
{
    size_t nameEnd = 1;
    while (nameEnd < text.size() && isIdentChar(text[nameEnd]))
        ++nameEnd;
    std::string name = lower(std::string_view(text).substr(1, nameEnd - 1));
    std::string rest = trim(std::string_view(text).substr(nameEnd));
    std::string first = rest.substr(0, rest.find_first_of(" \t"));
    if (name == "ifdef" || name == "ifndef") {
        bool defined = defines_.count(first) > 0;
        conditions_.push_back(name == "ifdef" ? defined : !defined);
    } else if (name == "else" || name == "endif") {
        if (conditions_.empty())
            error(number, "#" + name + " without #ifdef");
        else if (name == "else")
            conditions_.back() = !conditions_.back();
        else
            conditions_.pop_back();
    } else if (!active()) {
        return;
    } else if (name == "define") {
        defines_[first] = trim(std::string_view(rest).substr(first.size()));
    } else if (name == "undef") {
        defines_.erase(first);
    } else if (name == "include") {
        std::string file = rest.size() >= 2 ? rest.substr(1, rest.size() - 2) : rest;
        std::optional<std::string> contents = includes_ ? includes_(file) : std::nullopt;
        if (!contents) {
            result_.messages.push_back(formatMessage("Unable to open include file %s\n", file.c_str()));
            result_.ok = false;
        } else if (depth >= maxDepth) {
            error(number, "includes nest too deep");
        } else {
            this->file(*contents, depth + 1, false);
        }
    } else {
        result_.messages.push_back(formatMessage("(%d) : Warning : unknown directive #%s ignored\n", number, name.c_str()));
    }
}

// Evaluates the built-in functions, innermost (rightmost) first.
std::string evaluateBuiltIns(std::string text)
{
    const char* const names[] = {"%inc(", "%dec(", "%add(", "%sub("};
    for (;;) {
        size_t best = std::string::npos;
        int which = -1;
        for (int i = 0; i < 4; ++i) {
            size_t at = text.rfind(names[i]);
            if (at != std::string::npos && (best == std::string::npos || at > best)) {
                best = at;
                which = i;
            }
        }
        if (which < 0)
            return text;
        size_t open = best + 4;
        size_t close = text.find(')', open);
        if (close == std::string::npos)
            return text;
        std::string inside = text.substr(open + 1, close - open - 1);
        int delta = which == 0 ? 1 : which == 1 ? -1 : 0;
        if (which >= 2) {
            size_t comma = inside.rfind(',');
            std::string amount = comma == std::string::npos ? "0" : trim(std::string_view(inside).substr(comma + 1));
            // Register numbers are small; far-out steps only need to stay far out.
            delta = static_cast<int>(std::clamp(std::strtol(amount.c_str(), nullptr, 10), -1000000L, 1000000L));
            if (which == 3)
                delta = -delta;
            inside = comma == std::string::npos ? inside : inside.substr(0, comma);
        }
        text = text.substr(0, best) + stepRegister(trim(inside), delta) + text.substr(close + 1);
    }
}

void Preprocessor::expand(const Macro& macro, const std::string& name, const std::string& args, int number, int depth)
{
    if (depth >= maxDepth) {
        error(number, "macro " + name + " expands too deep");
        return;
    }
    expandedLines_ += static_cast<int>(macro.body.size());
    if (expandedLines_ > maxExpandedLines) {
        if (expandedLines_ - static_cast<int>(macro.body.size()) <= maxExpandedLines)
            error(number, "macro " + name + " expands to too many lines");
        return;
    }
    std::vector<std::string> values = splitArguments(args);
    if (values.size() != macro.params.size()) {
        error(number, formatMessage("macro %s takes %d arguments", name.c_str(), static_cast<int>(macro.params.size())));
        return;
    }
    for (const std::string& body : macro.body) {
        // %name is a parameter only as a whole word: %in is not %inc( and
        // %reg1 is not %reg10.
        std::string out;
        for (size_t i = 0; i < body.size();) {
            size_t end = i + 1;
            while (body[i] == '%' && end < body.size() && isIdentChar(body[end]))
                ++end;
            std::string word = body.substr(i + 1, end - i - 1);
            auto param = std::find(macro.params.begin(), macro.params.end(), word);
            if (body[i] == '%' && param != macro.params.end()) {
                out += values[param - macro.params.begin()];
                i = end;
            } else {
                out += body[i++];
            }
        }
        line(trim(evaluateBuiltIns(out)), number, true, depth + 1);
    }
}

std::string Preprocessor::substituteDefines(const std::string& text) const
{
    if (defines_.empty())
        return text;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (!isIdentChar(text[i]) || (i > 0 && isIdentChar(text[i - 1]))) {
            out += text[i++];
            continue;
        }
        size_t end = i;
        while (end < text.size() && isIdentChar(text[end]))
            ++end;
        std::string word = text.substr(i, end - i);
        auto found = defines_.find(word);
        out += found != defines_.end() ? found->second : word;
        i = end;
    }
    return out;
}

PreprocessResult Preprocessor::finish()
{
    if (defining_)
        error(definingLine_, "macro " + definingName_ + " has no endm");
    if (!conditions_.empty())
        error(0, "#ifdef without #endif");
    return std::move(result_);
}

} // namespace

std::string stepRegister(const std::string& operand, int delta)
{
    // The last number that is not the 0 of the address register a0.
    size_t digitsEnd = std::string::npos, digitsStart = std::string::npos;
    for (size_t i = operand.size(); i-- > 0;) {
        if (!std::isdigit(static_cast<unsigned char>(operand[i])))
            continue;
        size_t end = i + 1, start = i;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(operand[start - 1])))
            --start;
        bool address = start > 0 && (operand[start - 1] == 'a' || operand[start - 1] == 'A') && end < operand.size() &&
                       operand[end] == '.';
        if (!address) {
            digitsStart = start;
            digitsEnd = end;
            break;
        }
        i = start;
    }
    if (digitsStart == std::string::npos) {
        size_t close = operand.rfind(']');
        if (close == std::string::npos || delta == 0)
            return operand;
        std::string offset = delta > 0 ? " + " + std::to_string(delta) : " - " + std::to_string(-delta);
        return operand.substr(0, close) + offset + operand.substr(close);
    }
    if (digitsEnd - digitsStart > 9)
        return operand;   // no register has such a number; leave it for the checks to refuse
    long value = std::strtol(operand.substr(digitsStart, digitsEnd - digitsStart).c_str(), nullptr, 10);
    bool subtracted = digitsStart >= 2 && operand[digitsStart - 2] == '-' && operand[digitsStart - 1] == ' ';
    long stepped = subtracted ? value - delta : value + delta;
    return operand.substr(0, digitsStart) + std::to_string(stepped) + operand.substr(digitsEnd);
}

PreprocessResult preprocessShader(std::string_view text, const IncludeReader& includes)
{
    Preprocessor p(includes);
    p.file(builtInMacros, 0, true);
    p.file(text, 0, false);
    return p.finish();
}

} // namespace programs
