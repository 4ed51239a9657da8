// The one C and C++ tokenizer under every reader: message-box statements,
// style expressions, task dialogs and the scan of whole source files. It reads
// tokens as a compiler's preprocessor sees them, without expanding anything:
// comments are skipped, literals and numbers are one token each, and a
// preprocessor line is one token.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

enum class TokenKind : std::uint8_t {
    Identifier,  // a name or keyword; letters, digits, _, $ and bytes beyond ASCII (UTF-8)
    Number,      // a preprocessing number: 0x1F, 1033u, 1e-3, 0b1010, 1'000
    String,      // "...", L"...", u8"...", u"...", U"...", R"x(...)x" and their raw forms
    Character,   // 'a', L'a', u8'a', u'a', U'a'
    Punctuator,  // ( ) , ; :: -> == | + ... (the longest one that matches)
    Directive,   // a preprocessor line, from its # to its end, continued lines included
    Other,       // a byte no token starts with (@, `, a stray backslash)
};

struct Token {
    std::string_view text;  // into the source, as written (line splices included)
    std::size_t offset = 0;  // of the first byte in the source
    TokenKind kind = TokenKind::Other;
    bool spaceBefore = false;  // white space, a comment or a line splice before it
    bool lineStart = false;    // the first token of its line (also the first of the source)
    bool spliced = false;      // holds a backslash-newline (Spelling removes it)
    bool unterminated = false;  // a literal or block comment cut off by its line's or the source's end

    bool Is(std::string_view s) const { return text == s; }
    bool IsPunct(std::string_view s) const { return kind == TokenKind::Punctuator && text == s; }
    std::size_t end() const { return offset + text.size(); }
};

// Tokens one after another; a source of any size is read in one pass, with no
// allocation per token. An unterminated block comment ends the source.
class Lexer {
public:
    explicit Lexer(std::string_view source) : source_(source) {}

    // The next token; false at the end of the source.
    bool Next(Token& token);
    std::size_t position() const { return pos_; }

private:
    std::string_view source_;
    std::size_t pos_ = 0;
    bool atLineStart_ = true;
};

std::vector<Token> Tokenize(std::string_view source);

// The token as the compiler reads it: line splices removed.
std::string Spelling(const Token& token);

// The tokens first..last (inclusive) as written, comments dropped and each
// stretch of white space between two tokens (comments and line breaks
// included) made one space: "GetDlgItem(hDlg, IDC_EDIT)" stays as typed,
// a call split over lines comes back on one.
std::string SourceOf(const Token* first, const Token* last);

// The kinds of string and character literals by their prefix.
enum class LiteralPrefix : std::uint8_t { None, Wide /* L */, Utf8 /* u8 */, Utf16 /* u */, Utf32 /* U */ };

// A string literal token taken apart: its prefix, whether it is raw, and the
// characters between its delimiters (the quotes, or a raw string's
// parentheses), as written. `suffix` is a user-defined literal's suffix.
struct StringLiteralParts {
    LiteralPrefix prefix = LiteralPrefix::None;
    bool raw = false;
    std::string_view body;
    std::string_view suffix;
};

// False for a token that is no complete string literal (unterminated).
bool SplitStringLiteral(const Token& token, StringLiteralParts& parts);

}  // namespace pw
