// Reads a message-box statement (the three forms the code writer produces, or
// the same typed by hand) back into the form.
#pragma once

#include <string>
#include <string_view>

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

// The statement with comments and white space removed. Comments are C
// comments outside string literals; white space is kept inside literals. A
// double quote not preceded by a backslash opens or closes a literal.
std::string NormaliseStatement(std::string_view text);

// Clears the form, then sets it from the statement. `text` is replaced by the normalised text.
// Returns false when the text was not recognised (after report.Unrecognised()).
// Fields that the statement does not mention keep their Clear values; a
// statement that ends early sets what it holds up to its end.
bool LoadCode(Form& form, std::string& text, CodeReaderReport& report);

}  // namespace pw
