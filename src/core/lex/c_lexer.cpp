#include "core/lex/c_lexer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pw {
namespace {

// Character classes by table: the lexer looks at each byte once.
enum : std::uint8_t { kSpace = 1, kIdStart = 2, kIdPart = 4, kDigit = 8, kPunct = 16 };

constexpr std::array<std::uint8_t, 256> kClass = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v'}) table[c] = kSpace;
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
        if (letter) table[static_cast<std::size_t>(c)] = kIdStart | kIdPart;
        if (c >= '0' && c <= '9') table[static_cast<std::size_t>(c)] = kDigit | kIdPart;
    }
    for (unsigned char c : std::string_view("!%&()*+,-./:;<=>?[]^{|}~")) table[c] = kPunct;
    return table;
}();

std::uint8_t ClassOf(char c) { return kClass[static_cast<unsigned char>(c)]; }

// Punctuators of more than one character, longest first within each first character.
constexpr std::string_view kLongPunctuators[] = {
    "<<=", ">>=", "...", "->*", "<=>", "::", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||",
    "+=",  "-=",  "*=",  "/=",  "%=",  "&=", "|=", "^=", "##", ".*",
};

// Whether a backslash at `i` starts a line splice; `length` gets its size
// (backslash, optional white space the compilers allow, then the line break).
bool IsSplice(std::string_view s, std::size_t i, std::size_t& length) {
    std::size_t k = i + 1;
    while (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
    if (k >= s.size()) return false;
    if (s[k] == '\n') {
        length = k + 1 - i;
        return true;
    }
    if (s[k] == '\r') {
        length = k + 1 - i + (k + 1 < s.size() && s[k + 1] == '\n' ? 1 : 0);
        return true;
    }
    return false;
}

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

}  // namespace

bool Lexer::Next(Token& token) {
    const std::string_view s = source_;
    const std::size_t n = s.size();
    std::size_t i = pos_;
    bool space = false;
    bool lineStart = atLineStart_;
    // White space, comments and splices.
    while (i < n) {
        const char c = s[i];
        if (ClassOf(c) & kSpace) {
            if (IsLineBreak(c)) lineStart = true;
            space = true;
            ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '/') {
            // To the end of the line; a splice continues the comment.
            i += 2;
            while (i < n && !IsLineBreak(s[i])) {
                std::size_t length = 0;
                if (s[i] == '\\' && IsSplice(s, i, length))
                    i += length;
                else
                    ++i;
            }
            space = true;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const std::size_t close = s.find("*/", i + 2);
            if (close == std::string_view::npos) {
                // An unterminated comment swallows the rest, as a compiler would
                // complain about; the readers see the source end.
                pos_ = n;
                return false;
            }
            for (std::size_t k = i; k < close; ++k)
                if (IsLineBreak(s[k])) {
                    lineStart = true;
                    break;
                }
            i = close + 2;
            space = true;
        } else if (c == '\\') {
            std::size_t length = 0;
            if (!IsSplice(s, i, length)) break;
            i += length;
            space = true;
        } else {
            break;
        }
    }
    if (i >= n) {
        pos_ = n;
        return false;
    }

    token = Token{};
    token.offset = i;
    token.spaceBefore = space;
    token.lineStart = lineStart;
    const std::size_t start = i;
    const char c = s[i];
    const std::uint8_t cls = ClassOf(c);

    // Reads a quoted literal from its opening quote at `i`; stops at its close,
    // or unterminated at a line break that no splice continues.
    // Literals are the longest tokens (a text of a megabyte is one), so the
    // scan goes from escape to escape with memchr. A line break (LF, CR LF
    // or a lone CR) ends an unterminated literal.
    auto quoted = [&](char quote) {
        ++i;
        const char* base = s.data();
        const char* close = static_cast<const char*>(std::memchr(base + i, quote, n - i));
        for (;;) {
            const std::size_t stop = close ? static_cast<std::size_t>(close - base) : n;
            const char* backslash = static_cast<const char*>(std::memchr(base + i, '\\', stop - i));
            const std::size_t upTo = backslash ? static_cast<std::size_t>(backslash - base) : stop;
            const void* lf = std::memchr(base + i, '\n', upTo - i);
            const std::size_t lfAt = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : upTo;
            if (const void* cr = std::memchr(base + i, '\r', lfAt - i)) {
                i = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
                token.unterminated = true;
                return;
            }
            if (lf) {
                i = lfAt;
                token.unterminated = true;
                return;
            }
            if (!backslash) {
                if (!close) {
                    i = n;
                    token.unterminated = true;
                    return;
                }
                i = stop + 1;
                return;
            }
            i = upTo;
            std::size_t length = 0;
            if (IsSplice(s, i, length)) {
                token.spliced = true;
                i += length;
            } else {
                i = std::min(i + 2, n);
            }
            // The escaped character may have been the quote found.
            if (close && static_cast<std::size_t>(close - base) < i)
                close = static_cast<const char*>(std::memchr(base + i, quote, n - i));
        }
    };
    // A raw string from its opening quote at `i`: R"delim( ... )delim".
    auto raw = [&] {
        const std::size_t open = s.find('(', i + 1);
        const std::size_t delimEnd = open == std::string_view::npos ? n : open;
        const std::string_view delim = s.substr(i + 1, delimEnd - i - 1);
        if (open == std::string_view::npos || delim.size() > 16 || delim.find_first_of(" \\)\t\r\n") != std::string_view::npos) {
            quoted('"');
            return;
        }
        std::string closing = ")";
        closing += delim;
        closing += '"';
        const std::size_t close = s.find(closing, open + 1);
        if (close == std::string_view::npos) {
            i = n;
            token.unterminated = true;
            return;
        }
        i = close + closing.size();
    };
    // Letters and digits of a user-defined literal suffix.
    auto suffix = [&] {
        while (i < n && (ClassOf(s[i]) & kIdPart)) ++i;
    };

    if (cls & kIdStart) {
        ++i;
        while (i < n) {
            if (ClassOf(s[i]) & kIdPart) {
                ++i;
                continue;
            }
            std::size_t length = 0;
            if (s[i] == '\\' && IsSplice(s, i, length) && i + length < n && (ClassOf(s[i + length]) & kIdPart)) {
                token.spliced = true;
                i += length;
                continue;
            }
            break;
        }
        // A literal's prefix: L, u8, u, U, optionally R, right before its quote.
        const std::string_view word = s.substr(start, i - start);
        if (i < n && (s[i] == '"' || s[i] == '\'') && !token.spliced) {
            const bool isRaw = word.ends_with('R') && s[i] == '"';
            const std::string_view prefix = isRaw ? word.substr(0, word.size() - 1) : word;
            if (prefix.empty() ? isRaw : (prefix == "L" || prefix == "u8" || prefix == "u" || prefix == "U")) {
                {
                    token.kind = s[i] == '"' ? TokenKind::String : TokenKind::Character;
                    if (isRaw)
                        raw();
                    else
                        quoted(s[i]);
                    if (!token.unterminated) suffix();
                    token.text = s.substr(start, i - start);
                    pos_ = i;
                    atLineStart_ = false;
                    return true;
                }
            }
        }
        token.kind = TokenKind::Identifier;
    } else if ((cls & kDigit) || (c == '.' && i + 1 < n && (ClassOf(s[i + 1]) & kDigit))) {
        // A preprocessing number: digits, letters, _, ', . and an exponent's sign.
        ++i;
        while (i < n) {
            const char d = s[i];
            if ((ClassOf(d) & kIdPart) || d == '.') {
                ++i;
            } else if ((d == '+' || d == '-') &&
                       (s[i - 1] == 'e' || s[i - 1] == 'E' || s[i - 1] == 'p' || s[i - 1] == 'P')) {
                ++i;
            } else if (d == '\'' && i + 1 < n && (ClassOf(s[i + 1]) & kIdPart)) {
                ++i;
            } else {
                break;
            }
        }
        token.kind = TokenKind::Number;
    } else if (c == '"' || c == '\'') {
        token.kind = c == '"' ? TokenKind::String : TokenKind::Character;
        quoted(c);
        if (!token.unterminated) suffix();
    } else if (c == '#' && lineStart) {
        // To the end of the line, continued lines included; a comment ends it
        // only where it spans lines, as the directive itself is what matters.
        while (i < n) {
            const char d = s[i];
            if (IsLineBreak(d)) break;
            if (d == '\\') {
                std::size_t length = 0;
                if (IsSplice(s, i, length)) {
                    token.spliced = true;
                    i += length;
                    continue;
                }
            } else if (d == '"' || d == '\'') {
                // A quote in a directive (#include "x.h", #error it's) runs to its
                // close or the line's end, whichever comes first.
                Token inner;
                const std::size_t save = i;
                std::swap(token, inner);
                quoted(d);
                std::swap(token, inner);
                token.spliced = token.spliced || inner.spliced;
                if (i <= save) i = save + 1;
                continue;
            } else if (d == '/' && i + 1 < n && s[i + 1] == '*') {
                const std::size_t close = s.find("*/", i + 2);
                i = close == std::string_view::npos ? n : close + 2;
                continue;
            } else if (d == '/' && i + 1 < n && s[i + 1] == '/') {
                while (i < n && !IsLineBreak(s[i])) ++i;
                break;
            }
            ++i;
        }
        // Trailing white space is not part of it.
        while (i > start + 1 && (s[i - 1] == ' ' || s[i - 1] == '\t')) --i;
        token.kind = TokenKind::Directive;
    } else if (cls & kPunct || c == '#') {
        token.kind = TokenKind::Punctuator;
        std::size_t length = 1;
        for (std::string_view p : kLongPunctuators)
            if (p[0] == c && s.substr(i, p.size()) == p) {
                length = p.size();
                break;
            }
        i += length;
    } else {
        token.kind = TokenKind::Other;
        ++i;
    }
    token.text = s.substr(start, i - start);
    pos_ = i;
    atLineStart_ = false;
    return true;
}

std::vector<Token> Tokenize(std::string_view source) {
    std::vector<Token> tokens;
    tokens.reserve(source.size() / 16 + 16);
    Lexer lexer(source);
    Token token;
    while (lexer.Next(token)) tokens.push_back(token);
    return tokens;
}

std::string Spelling(const Token& token) {
    if (!token.spliced) return std::string(token.text);
    std::string out;
    out.reserve(token.text.size());
    for (std::size_t i = 0; i < token.text.size(); ++i) {
        std::size_t length = 0;
        if (token.text[i] == '\\' && IsSplice(token.text, i, length)) {
            i += length - 1;
            continue;
        }
        out.push_back(token.text[i]);
    }
    return out;
}

std::string SourceOf(const Token* first, const Token* last) {
    std::string out;
    for (const Token* t = first; t <= last; ++t) {
        if (t != first && t->spaceBefore) out.push_back(' ');
        out += t->spliced ? Spelling(*t) : std::string(t->text);
    }
    return out;
}

bool SplitStringLiteral(const Token& token, StringLiteralParts& parts) {
    if (token.kind != TokenKind::String || token.unterminated) return false;
    const std::string_view t = token.text;
    const std::size_t quote = t.find('"');
    if (quote == std::string_view::npos) return false;
    std::string_view prefix = t.substr(0, quote);
    parts = StringLiteralParts{};
    if (prefix.ends_with('R')) {
        parts.raw = true;
        prefix.remove_suffix(1);
    }
    if (prefix == "L")
        parts.prefix = LiteralPrefix::Wide;
    else if (prefix == "u8")
        parts.prefix = LiteralPrefix::Utf8;
    else if (prefix == "u")
        parts.prefix = LiteralPrefix::Utf16;
    else if (prefix == "U")
        parts.prefix = LiteralPrefix::Utf32;
    else if (!prefix.empty())
        return false;
    const std::size_t close = t.rfind('"');
    if (close <= quote) return false;
    parts.suffix = t.substr(close + 1);
    if (parts.raw) {
        const std::size_t open = t.find('(', quote);
        const std::size_t delim = open - quote - 1;
        if (open == std::string_view::npos || close < open + 1 + delim + 1) return false;
        parts.body = t.substr(open + 1, close - delim - 1 - (open + 1));
    } else {
        parts.body = t.substr(quote + 1, close - quote - 1);
    }
    return true;
}

}  // namespace pw
