// Splits a program text into tokens for the small program-text languages:
// identifiers, numbers, single punctuation characters. Tracks line numbers
// and byte offsets so parsers can report where the text stops being valid.
// The scanner only views the text; the caller keeps it alive.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace programs {

enum class TokenKind { End, Identifier, Number, Punct };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    size_t offset = 0;
    int line = 1;

    bool is(std::string_view s) const { return kind != TokenKind::End && text == s; }
};

class TextScanner {
public:
    // `hashComments`: '#' starts a comment to the end of the line.
    // `cComments`: "//" and "/* ... */" are comments too.
    TextScanner(std::string_view text, size_t start, bool hashComments, bool cComments);

    const Token& peek() const { return current_; }
    Token next();
    // Consumes the next token when its text is `s`.
    bool accept(std::string_view s);
    // Gives up on the rest of the text: every further token is End.
    void skipToEnd();
    size_t offset() const { return current_.offset; }
    int line() const { return current_.line; }
    std::string_view text() const { return text_; }

private:
    void scan();
    void skipSpaceAndComments();

    std::string_view text_;
    size_t pos_;
    int line_ = 1;
    bool hashComments_;
    bool cComments_;
    Token current_;
};

// Line number (1-based) of a byte offset in a text.
int lineOfOffset(std::string_view text, size_t offset);

// Parses a whole number token; false when it is not one or out of int range.
bool tokenToInt(const Token& token, int& value);
// Parses a decimal number token (integer or fraction, optional exponent).
bool tokenToFloat(const Token& token, float& value);

} // namespace programs
