// String literals read into the text that a form's field holds. The fields
// hold text in the writer's escape language: the writer turns line breaks,
// tabs, double quotes and apostrophes into escapes and passes every other
// character through, backslashes included, so that escapes a user types stay
// escapes. Reading is its inverse: each literal's meaning is decoded, and
// what the writer would write back with the same meaning is what the field
// gets.
#pragma once

#include <string>

#include "core/lex/c_lexer.h"

namespace pw {

// Adjacent literals, one after another, into one text ("a" "b" is "ab").
class LiteralTextReader {
public:
    // `forEditBox`: line feeds become CR LF, as the edit boxes hold them.
    explicit LiteralTextReader(bool forEditBox = true) : forEditBox_(forEditBox) {}

    // Appends one literal. `textMacro`: it stands inside TEXT(), _T() and the
    // like, so that it is a wide literal where UNICODE is defined.
    //  - \n, \t, \", \' and \? become the character (line feeds as CR LF);
    //  - in a wide, UTF-16, UTF-32 or TEXT() literal, and for universal
    //    character names in a UTF-8 one, an escape of a character beyond
    //    ASCII (\u00E9, \U0001F600, \xE9, \351) becomes the character;
    //  - every other escape (\\, \r, \0, \a, \x41, a narrow \xE9) stays as
    //    written: the writer writes it back and it means the same. Where the
    //    next literal would run into it ("\x41" "B", "\0" "1"), it is written
    //    so that it cannot (\101, \000);
    //  - in a raw string every character is itself: a backslash becomes \\,
    //    a control character other than a tab or line break an octal escape.
    // An escape C does not have (\d, a \u with too few digits) stays as
    // written, so every complete literal is read: true, `problem` untouched.
    bool Append(const StringLiteralParts& literal, bool textMacro, std::string& problem);

    const std::string& text() const { return text_; }
    std::string Take() { return std::move(text_); }

private:
    // Where the last escape in `text_` starts when a digit appended after it
    // would become part of it; npos otherwise.
    std::size_t openEscape_ = std::string::npos;
    bool openHex_ = false;  // that escape is \x (hex digits extend it), else octal
    bool forEditBox_;
    std::string text_;
};

}  // namespace pw
