#include "programs/TextScanner.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace programs {

namespace {
bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
}

TextScanner::TextScanner(std::string_view text, size_t start, bool hashComments, bool cComments)
    : text_(text), pos_(start < text.size() ? start : text.size()), hashComments_(hashComments),
      cComments_(cComments)
{
    line_ = lineOfOffset(text, pos_);
    scan();
}

Token TextScanner::next()
{
    Token t = current_;
    scan();
    return t;
}

void TextScanner::skipToEnd()
{
    pos_ = text_.size();
    scan();
}

bool TextScanner::accept(std::string_view s)
{
    if (!current_.is(s))
        return false;
    scan();
    return true;
}

void TextScanner::skipSpaceAndComments()
{
    while (pos_ < text_.size()) {
        char c = text_[pos_];
        if (c == '\n') {
            ++line_;
            ++pos_;
        } else if (std::isspace(static_cast<unsigned char>(c)) || c == '\0') {
            ++pos_;
        } else if ((hashComments_ && c == '#') ||
                   (cComments_ && c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
            while (pos_ < text_.size() && text_[pos_] != '\n')
                ++pos_;
        } else if (cComments_ && c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
            pos_ += 2;
            while (pos_ < text_.size() && !(text_[pos_] == '*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/')) {
                if (text_[pos_] == '\n')
                    ++line_;
                ++pos_;
            }
            pos_ = pos_ + 2 <= text_.size() ? pos_ + 2 : text_.size();
        } else {
            return;
        }
    }
}

void TextScanner::scan()
{
    skipSpaceAndComments();
    current_ = Token{};
    current_.offset = pos_;
    current_.line = line_;
    if (pos_ >= text_.size())
        return;
    size_t start = pos_;
    char c = text_[pos_];
    if (isIdentStart(c)) {
        while (pos_ < text_.size() && isIdentChar(text_[pos_]))
            ++pos_;
        current_.kind = TokenKind::Identifier;
    } else if (isDigit(c) || (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]))) {
        while (pos_ < text_.size() && isDigit(text_[pos_]))
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            while (pos_ < text_.size() && isDigit(text_[pos_]))
                ++pos_;
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            size_t e = pos_ + 1;
            if (e < text_.size() && (text_[e] == '+' || text_[e] == '-'))
                ++e;
            if (e < text_.size() && isDigit(text_[e])) {
                pos_ = e;
                while (pos_ < text_.size() && isDigit(text_[pos_]))
                    ++pos_;
            }
        }
        current_.kind = TokenKind::Number;
    } else {
        ++pos_;
        current_.kind = TokenKind::Punct;
    }
    current_.text = text_.substr(start, pos_ - start);
}

int lineOfOffset(std::string_view text, size_t offset)
{
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

bool tokenToInt(const Token& token, int& value)
{
    if (token.kind != TokenKind::Number || token.text.empty())
        return false;
    long long v = 0;
    for (char c : token.text) {
        if (!isDigit(c))
            return false;
        v = v * 10 + (c - '0');
        if (v > INT_MAX)
            return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool tokenToFloat(const Token& token, float& value)
{
    if (token.kind != TokenKind::Number)
        return false;
    std::string s(token.text);
    errno = 0;
    char* end = nullptr;
    value = std::strtof(s.c_str(), &end);
    return end == s.c_str() + s.size();
}

} // namespace programs
