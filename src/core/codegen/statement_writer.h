// The code writer: the statement text of the three call forms.
#pragma once

#include <string>
#include <string_view>

#include "core/model/form.h"

namespace pw {

// The MSGBOXPARAMS options. Texts of any length.
struct ParamsOptions {
    std::string structName, iconId, callbackName, contextHelpId;
};

// Runs the MessageBoxIndirect options dialog modally (owned by the main form) and
// returns the options in force afterwards: the values of the last OK, empty before any.
class ParamsPrompt {
public:
    virtual ~ParamsPrompt() = default;
    virtual ParamsOptions Run() = 0;
};

// The escaped form of a literal title or text: CR LF, a lone CR and a lone LF
// become \n, a tab \t, a double quote \" and an apostrophe \'; every other
// character (the backslash and % included) is written as it is. Whole, at any
// length.
std::string EscapeLiteral(std::string_view text);

// The statement text for the form's settings; lines separated by single '\n'.
// The MessageBox form (also every statement of the simple layout), the Ex form
// (IDC_TYPE_BOXEX) or the Indirect form (IDC_TYPE_INDIRECT, which runs `prompt`
// once; the other forms never run it). A language list with no selection or a
// position outside the table writes the identifier of the Clear position
// ("0x0400"). Never refuses, never cuts.
std::string GenerateStatement(const Form& form, ParamsPrompt& prompt);

}  // namespace pw
