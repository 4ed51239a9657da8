#include "core/codeparse/c_literal.h"

#include <cstdio>

#include "core/model/utf8.h"

namespace pw {
namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }
bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// A backslash-newline inside a literal, which the compiler removes first.
std::size_t SpliceLength(std::string_view s, std::size_t i) {
    if (i >= s.size() || s[i] != '\\') return 0;
    std::size_t k = i + 1;
    while (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
    if (k >= s.size()) return 0;
    if (s[k] == '\n') return k + 1 - i;
    if (s[k] == '\r') return k + 1 - i + (k + 1 < s.size() && s[k + 1] == '\n');
    return 0;
}

// Three octal digits: an escape that no following character can extend.
void AppendOctal(std::string& out, unsigned value) {
    out.push_back('\\');
    out.push_back(static_cast<char>('0' + ((value >> 6) & 7)));
    out.push_back(static_cast<char>('0' + ((value >> 3) & 7)));
    out.push_back(static_cast<char>('0' + (value & 7)));
}

}  // namespace

bool LiteralTextReader::Append(const StringLiteralParts& literal, bool textMacro, std::string& problem) {
    (void)problem;  // every literal the lexer completes can be held
    const std::string_view body = literal.body;
    text_.reserve(text_.size() + body.size() + body.size() / 8 + 16);
    const bool wide = textMacro || literal.prefix == LiteralPrefix::Wide || literal.prefix == LiteralPrefix::Utf16 ||
                      literal.prefix == LiteralPrefix::Utf32;
    const bool namesCharacters = wide || literal.prefix == LiteralPrefix::Utf8;

    auto lineFeed = [&] {
        if (forEditBox_) text_.push_back('\r');
        text_.push_back('\n');
    };
    // What comes first in this literal may run into an escape the last one
    // ended with: rewrite that escape into a form nothing extends.
    auto closeOpenEscape = [&](char next) {
        if (openEscape_ == std::string::npos) return;
        const bool extends = openHex_ ? IsHexDigit(next) : IsOctalDigit(next);
        if (extends) {
            const std::string escape = text_.substr(openEscape_ + (openHex_ ? 2 : 1));  // the digits
            unsigned value = 0;
            for (char d : escape) value = openHex_ ? value * 16 + static_cast<unsigned>(HexValue(d)) : value * 8 + static_cast<unsigned>(d - '0');
            text_.resize(openEscape_);
            if (openHex_ && value > 0377) {
                // Only a wide literal holds such a value; a universal character
                // name says the same where C allows one.
                char buffer[12];
                const bool big = value > 0xFFFF;
                std::snprintf(buffer, sizeof buffer, big ? "\\U%08X" : "\\u%04X", value);
                text_ += buffer;
            } else {
                AppendOctal(text_, value);
            }
        }
        openEscape_ = std::string::npos;
    };

    if (literal.raw) {
        // Every character is itself; CR LF in the source is one line break.
        for (std::size_t i = 0; i < body.size(); ++i) {
            const char c = body[i];
            closeOpenEscape(c);
            const unsigned char u = static_cast<unsigned char>(c);
            if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
            if (c == '\n' || c == '\r')
                lineFeed();
            else if (c == '\\')
                text_ += "\\\\";
            else if (u < 0x20 && c != '\t')
                AppendOctal(text_, u);
            else if (u == 0x7F)
                AppendOctal(text_, u);
            else
                text_.push_back(c);
        }
        return true;
    }

    std::size_t i = 0;
    while (i < body.size()) {
        const char c = body[i];
        if (c != '\\') {
            // A run of plain characters in one move.
            closeOpenEscape(c);
            std::size_t end = body.find('\\', i);
            if (end == std::string_view::npos) end = body.size();
            text_.append(body, i, end - i);
            i = end;
            continue;
        }
        if (const std::size_t splice = SpliceLength(body, i)) {
            i += splice;
            continue;
        }
        if (i + 1 >= body.size()) {
            text_.push_back('\\');
            break;
        }
        closeOpenEscape('\\');
        const char kind = body[i + 1];
        const std::size_t start = text_.size();
        switch (kind) {
        case 'n': lineFeed(); i += 2; continue;
        case 't': text_.push_back('\t'); i += 2; continue;
        case '"': text_.push_back('"'); i += 2; continue;
        case '\'': text_.push_back('\''); i += 2; continue;
        case '?': text_.push_back('?'); i += 2; continue;
        case '\\': case 'r': case 'a': case 'b': case 'f': case 'v': case 'e':
            text_.append(body, i, 2);
            i += 2;
            continue;
        default: break;
        }
        if (kind == 'u' || kind == 'U') {
            // A universal character name C allows (U+00A0 and up, no
            // surrogate) becomes the character where the literal's type
            // holds it; anything else stays as written.
            const std::size_t digits = kind == 'u' ? 4 : 8;
            char32_t codePoint = 0;
            std::size_t k = 0;
            for (; k < digits && i + 2 + k < body.size() && IsHexDigit(body[i + 2 + k]); ++k)
                codePoint = codePoint * 16 + static_cast<char32_t>(HexValue(body[i + 2 + k]));
            if (k == digits && namesCharacters && codePoint >= 0xA0 && codePoint <= 0x10FFFF && !IsSurrogate(codePoint))
                AppendUtf8(text_, codePoint);
            else
                text_.append(body, i, 2 + k);
            i += 2 + k;
            continue;
        }
        if (kind == 'x' || kind == 'X') {
            std::size_t k = i + 2;
            char32_t value = 0;
            while (k < body.size() && IsHexDigit(body[k])) {
                if (value <= 0x10FFFF) value = value * 16 + static_cast<char32_t>(HexValue(body[k]));
                ++k;
            }
            if (wide && value >= 0x80 && value <= 0x10FFFF && !IsSurrogate(value)) {
                AppendUtf8(text_, value);
            } else {
                text_.push_back('\\');
                text_.push_back('x');
                text_.append(body, i + 2, k - i - 2);
                openEscape_ = start;
                openHex_ = true;
            }
            i = k;
            continue;
        }
        if (IsOctalDigit(kind)) {
            std::size_t k = i + 1;
            unsigned value = 0;
            while (k < body.size() && k < i + 4 && IsOctalDigit(body[k])) value = value * 8 + static_cast<unsigned>(body[k++] - '0');
            if (wide && value >= 0200 && value <= 0377 && k - i == 4) {
                AppendUtf8(text_, value);
            } else {
                text_.append(body, i, k - i);
                if (k - i < 4) {
                    openEscape_ = start;
                    openHex_ = false;
                }
            }
            i = k;
            continue;
        }
        // An escape C does not have (\d of a path typed as C:\dir) stays as
        // written, as the writer wrote it.
        text_.append(body, i, 2);
        i += 2;
    }
    return true;
}

}  // namespace pw
