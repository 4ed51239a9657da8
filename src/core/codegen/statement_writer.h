// The code writer: the statement text of the three call forms.
#pragma once

#include <string>
#include <string_view>

#include "core/model/code_options.h"
#include "core/model/code_page.h"
#include "core/model/form.h"

namespace pw {

// The MSGBOXPARAMS options. Texts of any length. `instance` is hInstance as
// source text (hInst); empty writes GetModuleHandle(NULL).
struct ParamsOptions {
    std::string structName, iconId, callbackName, contextHelpId;
    std::string instance{};
};

// Runs the MessageBoxIndirect options dialog modally (owned by the main form) and
// returns the options in force afterwards: the values of the last OK, empty before any.
class ParamsPrompt {
public:
    virtual ~ParamsPrompt() = default;
    virtual ParamsOptions Run() = 0;
};

// The escaped form of a literal title or text (what goes between the quotes):
// CR LF, a lone CR and a lone LF become \n, a tab \t, a double quote \" and an
// apostrophe \'; every other ASCII character (the backslash and % included) is
// written as it is, so escapes the user types pass through. Whole, at any length.
//
// The text is UTF-8. Characters outside ASCII: ANSI literals keep the bytes
// as they are (the shell converts them to the code page where a file needs
// it). TEXT() and wide literals name the character, so that the statement
// means the same text whatever the encoding of the source file and the code
// page of the compiling machine:
//  - \uXXXX (\UXXXXXXXX above U+FFFF), upper-case hex: U+20AC is \u20AC;
//  - a character below U+00A0 (the C1 controls U+0080-U+009F, which a
//    universal character name may not name, C11 6.4.3) as a three-digit octal
//    escape, \201 for U+0081: three digits end it, so a digit after it stays
//    a character of its own (a \x escape would swallow following hex digits).
//    It means the same byte in a narrow literal and the same code point in a
//    wide one;
//  - bytes that make no character, and lone surrogates, as \uFFFD (one per
//    byte that makes no character; StatementTextProblem refuses surrogates
//    before anything is written).
// In a narrow literal (TEXT() without UNICODE) the compiler turns a universal
// character name into its execution character set: the ANSI code page with
// Visual C++, UTF-8 with gcc unless -fexec-charset=cp1252 (or the code page
// in use) is given.
std::string EscapeLiteral(std::string_view text, CharacterSet characterSet = CharacterSet::Ansi);

// The statement text for the form's settings; lines separated by single '\n'.
// The MessageBox form (also every statement of the simple layout), the Ex form
// (IDC_TYPE_BOXEX) or the Indirect form (IDC_TYPE_INDIRECT, which runs `prompt`
// once; the other forms never run it). A language list with no selection or a
// position outside the table writes the identifier of the Clear position
// ("0x0400"). The form's texts are UTF-8. Never refuses, never cuts: the
// commands ask StatementTextProblem first.
//
// `options` (default: ANSI strings, no answer handling, the statements of old):
//  - characterSet: Ansi writes "..." literals; Text writes TEXT("...") literals
//    with the same names; Wide writes L"..." literals, MessageBoxW,
//    MessageBoxExW, MessageBoxIndirectW, MSGBOXPARAMSW with
//    sizeof(MSGBOXPARAMSW) and MAKEINTRESOURCEW (GetModuleHandle(NULL) stays:
//    it compiles either way). Variable texts and titles,
//    the owner and the MSGBOXPARAMS options are written as typed in every mode.
//    Characters outside ASCII: see EscapeLiteral.
//  - answer: If wraps the call as
//        if (MessageBox(...) == IDYES)
//        {
//        }
//    testing the first answer of the button set, whatever the default button;
//    Switch as
//        switch (MessageBox(...))
//        {
//        case IDYES:
//            break;
//        ...
//        }
//    with a case per answer in button order (four-space indentation). The
//    answers: OK/Cancel IDOK, IDCANCEL; Abort/Retry/Ignore IDABORT, IDRETRY,
//    IDIGNORE; Yes/No/Cancel IDYES, IDNO, IDCANCEL; Yes/No IDYES, IDNO;
//    Retry/Cancel IDRETRY, IDCANCEL; Cancel/Try Again/Continue IDCANCEL,
//    IDTRYAGAIN, IDCONTINUE; the help button adds none. The OK set (also a
//    Buttons list with no selection) has nothing to decide: the plain
//    statement. In the Indirect form only its last line, the call, is wrapped.
std::string GenerateStatement(const Form& form, ParamsPrompt& prompt, CodeOptions options = {});

// The refusals of StatementTextProblem; %s stands for the characters.
inline constexpr std::string_view kAnsiStringsMessage =
    "The text holds characters that ANSI strings cannot hold: %s. Choose TEXT() strings or Wide strings in the Code "
    "menu.";
inline constexpr std::string_view kNoStringMessage =
    "The text holds characters that no string can hold: %s (half of a character, as a paste can leave it). Type or "
    "paste the whole character again.";

// Why the form's statement cannot be written in `options`, or empty. The
// form's texts are UTF-8. Checked are the literal text and title (variables
// are written as typed):
//  - a lone surrogate (half of a UTF-16 pair, which a paste can bring) can be
//    written in no mode: kNoStringMessage, naming it by code point (U+D83D);
//  - under ANSI strings, a character `codePage` (the machine's ANSI code
//    page, which the shell converts ANSI literals into) lacks:
//    kAnsiStringsMessage, naming each such character once, in text order,
//    separated by spaces.
// Every command that writes the statement (Generate code, Copy to clipboard,
// Insert in source, QuickBox Set, the run without a window) asks first and
// shows the message instead of writing anything.
std::string StatementTextProblem(const Form& form, CodeOptions options, const CodePage& codePage);

// The same check for one literal text (task dialogs are always wide: only the
// lone surrogates apply there).
std::string LiteralTextProblem(std::string_view text, CharacterSet characterSet, const CodePage& codePage);

}  // namespace pw
