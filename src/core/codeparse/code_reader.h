// Reads a message-box statement back into the form: the three forms the code
// writer produces, and the calls people write, as they stand in a file.
#pragma once

#include <string>
#include <string_view>

#include "core/codegen/statement_writer.h"
#include "core/model/code_options.h"
#include "core/model/form.h"

namespace pw {

// Told when a text is no statement the reader can hold exactly. `reason` is
// empty when the text holds no message-box call at all, else one clause
// ("this MessageBox call has 3 arguments; MessageBox takes 4"); the shell
// shows "Unrecognised code" or "Unrecognised code: <reason>".
class CodeReaderReport {
public:
    virtual ~CodeReaderReport() = default;
    virtual void Unrecognised(std::string_view reason) = 0;
};

// "Unrecognised code", with the reason where there is one.
std::string UnrecognisedMessage(std::string_view reason);

// What a statement carried besides the form's controls.
struct CodeReading {
    CodeOptions options;  // the string mode and answer handling it was written in
    ParamsOptions params;  // a structure statement's MSGBOXPARAMS options
};

// Sets the form from the statement: clears it first (as Clear does), then
// sets what the statement says. Returns false, after report.Unrecognised(),
// with the form untouched, when the text is no statement the reader can hold
// exactly. `reading` (when given) gets the options and MSGBOXPARAMS options;
// it is left as it was on a refusal.
//
// Read:
//  - The call MessageBox, MessageBoxEx or MessageBoxIndirect, each bare or
//    with A or W, wherever it stands in a statement: after ::, a cast,
//    "int r =", return, in an if, while or switch condition, in a
//    comparison on either side; with or without its ";", code after it,
//    comments anywhere. "if (" or "switch (" right before the call sets the
//    answer handling, as the writer writes it; the rest of the context is
//    not part of the form.
//  - Arguments split at the commas outside parentheses, brackets and braces.
//    The owner as written (white space made single spaces, comments
//    dropped). A text or title made of string literals (adjacent ones are
//    one text; TEXT(), _T(), _TEXT(), __TEXT() and the L, u8, u, U and raw
//    prefixes are taken off) is a literal, read by LiteralTextReader; any
//    other text or title is a variable, kept as written; NULL, 0 or nullptr
//    as the title is the system's default title, written back as NULL.
//  - The style by value (ReadStyle): what the form has no control for goes
//    to the Other style field; the language by value (ReadLanguage).
//  - MSGBOXPARAMS, MSGBOXPARAMSA and MSGBOXPARAMSW set up with "= {0}",
//    "= {}", "= { sizeof(...) }" or an aggregate initializer in member
//    order (or designated), ZeroMemory, memset or SecureZeroMemory, and
//    assignments through "." or "->" with other statements between them,
//    which are not read (a member assigned twice takes the last value); the
//    call with &name, or a pointer declared as &name. Members not set are
//    zero. hInstance, lpszIcon (MAKEINTRESOURCE(...)), dwContextHelpId and
//    lpfnMsgBoxCallback go to the MSGBOXPARAMS options.
//  - The string mode: an A call reads as ANSI, a W call (or MSGBOXPARAMSW)
//    as Wide; a bare name as Text when a literal stands in TEXT() and the
//    like, as Wide when one has the L prefix, else ANSI.
// Refused, with the reason: a call with the wrong number of arguments (MFC's
// CWnd::MessageBox and AfxMessageBox are named as not the Win32 call), an
// unbalanced parenthesis, a literal C cannot read, a style or language that
// cannot be held exactly, style terms the layout has no Other style field
// for, a MessageBoxIndirect call whose structure is not in the text, a
// member set in a way not read (inside other code, or through an unknown
// member).
bool LoadCode(Form& form, std::string_view text, CodeReaderReport& report, CodeReading* reading = nullptr);

}  // namespace pw
