// UTF-8, the encoding of every text in the core. The shell converts to and
// from UTF-16 at the Windows calls (win32/text_win32.h) with these functions,
// so that there is one reading of UTF-8 in the program.
//
// A lone UTF-16 surrogate (which a paste can bring into an edit box) is kept
// in its three-byte form (ED A0 80 - ED BF BF), so that the writer can name
// it instead of the text silently changing on its way through.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

constexpr char32_t kReplacementCharacter = 0xFFFD;

constexpr bool IsSurrogate(char32_t codePoint) { return codePoint >= 0xD800 && codePoint <= 0xDFFF; }

// The code point that starts at text[i], and i moved past it. Bytes that make
// no character (a stray continuation byte, a cut or over-long sequence, a
// value above U+10FFFF) read as U+FFFD, one byte each. `i` < text.size().
char32_t NextCodePoint(std::string_view text, std::size_t& i);

// Appends `codePoint` (surrogates included, in their three-byte form). A
// value above U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// The text's lone surrogates and invalid bytes, for the checks that refuse
// them: true when every byte of `text` is part of a character that is a
// Unicode scalar value.
bool IsValidUtf8(std::string_view text);

// U+20AC for error messages that name a character.
std::string CodePointName(char32_t codePoint);

}  // namespace pw
