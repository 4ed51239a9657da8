// Reads a message-box statement (the three forms the code writer produces, or
// the same typed by hand) back into the form.
#pragma once

#include <string>
#include <string_view>

#include "core/codegen/statement_writer.h"
#include "core/model/code_options.h"
#include "core/model/form.h"

namespace pw {

// Told when a text is no statement the reader knows; the shell shows "Unrecognised code".
class CodeReaderReport {
public:
    virtual ~CodeReaderReport() = default;
    virtual void Unrecognised() = 0;
};

// Undoes the writer's escapes: \n \r \t \" \' become the character they stand
// for. A backslash before any other character keeps both characters, and a
// trailing backslash is kept, so backslashes the writer passed through (paths,
// \x41, \\) come back as typed.
std::string UnescapeText(std::string_view text);

// The inside of a wide or TEXT() literal as an edit box holds it: the escapes
// undone as UnescapeText does, the escapes of characters outside ASCII read
// into UTF-8 as LoadCode reads them, and each line feed as CR LF.
std::string UnescapeMarkedLiteral(std::string_view text);

// The statement with comments and white space removed. Comments are C
// comments outside string literals; white space is kept inside literals. A
// double quote not preceded by a backslash opens or closes a literal.
std::string NormaliseStatement(std::string_view text);

// Clears the form, then sets it from the statement. `text` is replaced by the normalised text.
// Returns false when the text was not recognised (after report.Unrecognised()).
// Fields that the statement does not mention keep their Clear values; a
// statement that ends early sets what it holds up to its end.
//
// Every form GenerateStatement writes in every option is read, and the options
// it was written in go to `optionsRead` (when given; left untouched when the
// text is not recognised):
//  - Calls: MessageBox, MessageBoxEx, MessageBoxW, MessageBoxExW; the
//    structure form MSGBOXPARAMS or MSGBOXPARAMSW with its MessageBoxIndirect
//    or MessageBoxIndirectW call.
//  - Literal texts and titles: "...", TEXT("..."), _T("..."), _TEXT("...");
//    in the W forms also L"..." (elsewhere L"..." stays a variable, as it
//    always was). Texts come back in UTF-8. In the marked literals (TEXT,
//    _T, _TEXT, L) these escapes become the character they stand for:
//    a universal character name C allows (\u00E9, \U0001F600; U+00A0 and up,
//    no surrogate, at most U+10FFFF), a three-digit octal escape \200-\377
//    (the writer's for U+0080-U+009F; \351 is U+00E9) and a \x escape, with
//    all the hex digits that follow as C reads it, of 0x80 and up that is a
//    Unicode scalar value (\xE9, \x20AC). Escapes of ASCII values (\x41, \101)
//    stay as typed, and so does everything in a plain "..." literal.
//  - Character set: the function decides: a W call (MessageBoxIndirectW for
//    the structure form; without a call, the declaration MSGBOXPARAMSW) reads
//    as Wide; otherwise a TEXT/_T/_TEXT literal text or title as Text;
//    otherwise Ansi (also when text and title are both variables).
//  - Answer: "if (" right before the call reads as If, "switch (" as Switch,
//    whatever follows the call: the compared answer (== IDNO just as well as
//    == IDYES; the writer always tests the first answer of the button set
//    again), the braces and the code in them are not read. In the structure
//    form the scan stops at a wrapped call. A statement without a wrapper, the
//    OK set's included, reads as None.
bool LoadCode(Form& form, std::string& text, CodeReaderReport& report, CodeOptions* optionsRead = nullptr);

// The MSGBOXPARAMS options of a structure statement as LoadCode leaves it
// (normalised), which LoadCode itself does not set: the structure's name from
// its declaration, the icon identifier from "lpszIcon=MAKEINTRESOURCE(...)"
// (MAKEINTRESOURCEW, MAKEINTRESOURCEA; any other value is taken whole), the
// context help id and the callback name as written. Empty for a call
// statement and for members the statement lacks. Whatever text the
// normalisation took out of them (white space, comments) stays out.
ParamsOptions ReadParamsOptions(std::string_view normalisedStatement);

}  // namespace pw
