#include "programs/ConstantProgram.h"

#include "programs/ErrorList.h"
#include "programs/TextScanner.h"
#include "programs/VertexProgram.h"

namespace programs {

namespace {

struct Name {
    const char* text;
    GLenum value;
};

const Name matrixNames[] = {
    {"GL_NONE", GL_NONE}, {"GL_MODELVIEW", GL_MODELVIEW}, {"GL_PROJECTION", GL_PROJECTION},
    {"GL_TEXTURE", GL_TEXTURE}, {"GL_COLOR", GL_COLOR}, {"GL_MODELVIEW_PROJECTION_NV", GL_MODELVIEW_PROJECTION_NV},
    {"GL_MATRIX0_NV", GL_MATRIX0_NV}, {"GL_MATRIX1_NV", GL_MATRIX1_NV}, {"GL_MATRIX2_NV", GL_MATRIX2_NV},
    {"GL_MATRIX3_NV", GL_MATRIX3_NV}, {"GL_MATRIX4_NV", GL_MATRIX4_NV}, {"GL_MATRIX5_NV", GL_MATRIX5_NV},
    {"GL_MATRIX6_NV", GL_MATRIX6_NV}, {"GL_MATRIX7_NV", GL_MATRIX7_NV}};

const Name transformNames[] = {
    {"GL_IDENTITY_NV", GL_IDENTITY_NV}, {"GL_INVERSE_NV", GL_INVERSE_NV},
    {"GL_TRANSPOSE_NV", GL_TRANSPOSE_NV}, {"GL_INVERSE_TRANSPOSE_NV", GL_INVERSE_TRANSPOSE_NV}};

bool lookUp(const Token& t, const Name* names, size_t count, GLenum& value)
{
    for (size_t i = 0; i < count; ++i)
        if (t.is(names[i].text)) {
            value = names[i].value;
            return true;
        }
    return false;
}

bool signedNumber(TextScanner& s, float& value)
{
    bool negative = s.accept("-");
    if (!negative)
        s.accept("+");
    if (!tokenToFloat(s.peek(), value))
        return false;
    s.next();
    if (negative)
        value = -value;
    return true;
}

bool constantValues(TextScanner& s, Vec4& values)
{
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && !s.accept(","))
            return false;
        if (!signedNumber(s, values[i]))
            return false;
    }
    return s.accept(")");
}

// Parses one statement (the text before its semicolon). Returns the detail
// message of an error, or an empty string.
std::string parseStatement(std::string_view statement, ConstantStatement& out)
{
    const std::string unrecognized = "\tUnrecognized statement\n";
    TextScanner s(statement, 0, true, false);
    if (!(s.peek().is("c") || s.peek().is("C")))
        return unrecognized;
    s.next();
    if (!s.accept("[") || !tokenToInt(s.peek(), out.address))
        return unrecognized;
    s.next();
    if (!s.accept("]") || !s.accept("="))
        return unrecognized;
    if (s.accept("(")) {
        out.kind = ConstantStatement::Kind::Constant;
        if (!constantValues(s, out.values) || s.peek().kind != TokenKind::End)
            return unrecognized;
        return out.address >= vpParameterCount ? "\tConstant address out of range\n" : "";
    }
    out.kind = ConstantStatement::Kind::Track;
    if (!s.accept("track") || !s.accept("("))
        return unrecognized;
    Token matrix = s.next();
    s.accept(",");
    Token transform = s.next();
    if (!s.accept(")") || s.peek().kind != TokenKind::End)
        return unrecognized;
    if (out.address >= vpParameterCount)
        return "\tConstant address out of range\n";
    if (out.address % 4 != 0)
        return "\tglTrackMatrixNV address must be modulo 4\n";
    if (!lookUp(matrix, matrixNames, std::size(matrixNames), out.matrix))
        return "\tInvalid Matrix parameter in glTrackMatrixNV.\n";
    if (!lookUp(transform, transformNames, std::size(transformNames), out.transform))
        return "\tInvalid Transform parameter in glTrackMatrixNV\n";
    return "";
}

std::string_view trimmed(std::string_view s)
{
    size_t begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    size_t end = s.find_last_not_of(" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

// Comments end at the line's end; a semicolon inside one ends nothing.
size_t statementEnd(std::string_view text, size_t from)
{
    bool comment = false;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] == '#')
            comment = true;
        else if (text[i] == '\n')
            comment = false;
        else if (text[i] == ';' && !comment)
            return i;
    }
    return std::string_view::npos;
}

bool onlyCommentsOrEnd(std::string_view rest)
{
    TextScanner s(rest, 0, true, false);
    return s.peek().kind == TokenKind::End || (s.next().is("END") && s.peek().kind == TokenKind::End);
}

} // namespace

ConstantProgramResult compileConstantProgram(std::string_view text)
{
    ConstantProgramResult result;
    size_t pos = text.substr(0, 8) == "!!VCP1.0" ? 8 : 0;
    while (pos < text.size()) {
        size_t end = statementEnd(text, pos);
        std::string_view rest = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        TextScanner first(text, pos, true, false);
        if (first.peek().is("END") || (end == std::string_view::npos && onlyCommentsOrEnd(rest)))
            break;
        if (TextScanner(rest, 0, true, false).peek().kind == TokenKind::End) {
            pos = end + 1;   // an empty statement
            continue;
        }
        ConstantStatement statement;
        std::string error = parseStatement(rest, statement);
        if (error.empty()) {
            result.statements.push_back(statement);
        } else {
            std::string shown(trimmed(rest));
            result.messages.push_back(formatMessage("error at line %d \n\"%s\"\n", first.line(), shown.c_str()));
            result.messages.push_back(error);
        }
        if (end == std::string_view::npos)
            break;
        pos = end + 1;
    }
    result.ok = result.messages.empty();
    return result;
}

} // namespace programs
