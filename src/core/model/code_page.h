// The ANSI code page the form's text is in, as the core needs it: the writer
// turns characters outside ASCII into universal character names (\u20AC) for
// TEXT() and wide literals, the reader turns those back into the code page's
// bytes. The core cannot ask Windows, so the code page comes in through this
// interface.
//
// Implementations:
//  - Windows1252() here: Western European, the default of GenerateStatement
//    and LoadCode, and what the native tests and the compile check use.
//  - The Win32 shell supplies one for the machine's ANSI code page (CP_ACP):
//      Decode: IsDBCSLeadByteEx(CP_ACP, byte) tells 1 or 2 bytes (a lead
//        byte at the very end of the text is 1); MultiByteToWideChar(CP_ACP,
//        MB_ERR_INVALID_CHARS, ...) gives the UTF-16 unit(s) to combine into
//        one code point; on failure {U+FFFD, 1}.
//      Encode: WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, ...) of the
//        code point's UTF-16 unit(s), with lpUsedDefaultChar: false when the
//        default character was used (the code page lacks the character).
//      When GetACP() is 65001 (UTF-8 as the ANSI code page), IsDBCSLeadByteEx
//      says nothing: take the length from the lead byte (2-4 bytes), and pass
//      no flags and no lpUsedDefaultChar to WideCharToMultiByte (UTF-8 has
//      every character).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

struct DecodedCharacter {
    char32_t codePoint;  // a Unicode scalar value
    std::size_t length;  // bytes taken from the text: at least 1, at most what was given
};
// Lengths of 1 and 2 bytes are what the ANSI code pages of Windows use; the
// writer and the reader take any length (UTF-8 as ANSI code page: up to 4).

class CodePage {
public:
    virtual ~CodePage() = default;

    // The character that starts at the front of `bytes`. Called with a text
    // that is not empty and whose front byte is 0x80 or above; a double-byte
    // code page takes the trail byte too (which may look like ASCII: 0x5C,
    // the backslash, is a trail byte in Shift-JIS). Bytes that make no
    // character: {U+FFFD, 1}.
    virtual DecodedCharacter Decode(std::string_view bytes) const = 0;

    // Appends the code page's bytes for `codePoint` and returns true; returns
    // false and appends nothing when the code page has no exact character for
    // it (no best-fit substitutes).
    virtual bool Encode(char32_t codePoint, std::string& out) const = 0;
};

// Windows-1252 as Windows converts it: 0x80-0x9F are the typographic
// characters (0x80 is the euro sign U+20AC), the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are the C1 controls of the
// same number, 0xA0-0xFF are U+00A0-U+00FF. Immutable; shared.
const CodePage& Windows1252();

}  // namespace pw
