// The machine's ANSI code page, as the core needs it: the texts are UTF-8,
// and an ANSI literal ("...") is converted to the code page where a file or
// stream needs it, so StatementTextProblem asks the code page whether it has
// every character before such a statement is written. The core cannot ask
// Windows, so the code page comes in through this interface.
//
// Implementations:
//  - Windows1252() here: Western European, the default of RestateStatement,
//    and what the native tests use.
//  - The Win32 shell supplies one for the machine's ANSI code page (CP_ACP):
//      Encode: WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, ...) of the
//        code point's UTF-16 unit(s), with lpUsedDefaultChar: false when the
//        default character was used (the code page lacks the character).
//      When GetACP() is 65001 (UTF-8 as the ANSI code page), pass no flags and
//      no lpUsedDefaultChar to WideCharToMultiByte (UTF-8 has every character).
#pragma once

#include <string>

namespace pw {

class CodePage {
public:
    virtual ~CodePage() = default;

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
