// Reads a message box's style argument and language argument back into the
// form, exactly: by value, with every term the form has no control for kept
// as written.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/lex/c_lexer.h"
#include "core/model/form.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {

// What a style sets in the form. Positions are list positions, as ClearForm
// leaves them unless the style says otherwise.
struct StyleReading {
    int buttons = kClearButtons;
    int defButton = kClearDefButton;
    int icon = kClearIcon;
    int modality = IDC_APPLMODAL;  // IDC_APPLMODAL, IDC_SYSTEMMODAL or IDC_TASKMODAL
    std::vector<int> checked;      // flag check boxes to check
    // Terms the form has no control for (a variable, the program's own macro,
    // an expression, a constant outside the tables, an unknown bit of a
    // number), as written, joined by " | "; empty when there are none.
    std::string other;
};

// Reads the tokens of a style argument (without the commas around it).
// Returns false, with `problem` set to the reason (one clause, no full stop,
// e.g. "the style has an unbalanced parenthesis"), when it cannot be read
// exactly.
bool ReadStyle(std::span<const Token> tokens, StyleReading& reading, std::string& problem);

// Sets the form from `reading` (the Other style field only where the layout
// has it) and updates the icon preview.
void ApplyStyle(const StyleReading& reading, Form& form);

// The language list's position for the tokens of a language argument, or -1
// with `problem` set (one clause): a language the table lacks or an
// expression is refused by name.
int ReadLanguage(std::span<const Token> tokens, std::string& problem);

// A style expression as text (a slot's dwStyle, a test's input): ReadStyle
// over its tokens, then ApplyStyle. Returns false (the form unchanged) when
// ReadStyle refuses it.
bool ReadStyleExpression(std::string_view expression, Form& form);

}  // namespace pw
