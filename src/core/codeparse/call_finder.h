// Every message-box and task-dialog call in a whole source file, with where it
// stands: for an editor's "edit the call under the cursor", for rewriting it
// in place, and for a list of them all.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace pw {

inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);

// One call. Offsets are bytes into the text the finder was given (UTF-8).
struct FoundCall {
    std::string_view name;  // as written: "MessageBoxA", "TaskDialogIndirect"
    bool taskDialog = false;
    std::size_t line = 0;    // of the name, from 1
    std::size_t column = 0;  // of the name, from 1, in characters (a tab is one)
    std::size_t nameStart = 0;  // the name, or the "::" before it
    std::size_t callEnd = 0;    // one past the call's closing parenthesis
    // One past the ";" when the call stands as a statement of its own, else
    // callEnd.
    std::size_t statementEnd = 0;
    // The first token of the statement the call is part of ("int r = ..."):
    // what lies between it and nameStart is the call's context.
    std::size_t contextStart = 0;
    // A structure form (MessageBoxIndirect, TaskDialogIndirect): the start of
    // the first statement of its set-up (the declaration of the structure,
    // of a pointer to it or of a button array it uses); kNoOffset otherwise
    // or when the set-up is not in the text.
    std::size_t setUpStart = kNoOffset;
    // Nothing but the call: preceded by the start of a statement and followed
    // by ";".
    bool ownStatement = false;
    // The text Load code or the task-dialog reader reads for this call:
    // readStart..readEnd (the set-up included, "if (" or "X::" before the
    // name kept for what they tell the reader).
    std::size_t readStart = 0, readEnd = 0;
    // Why the call cannot be replaced in place as a whole (statements other
    // than the set-up's stand inside it), or empty.
    std::string_view rewriteProblem;

    // What Insert in source replaces by default: from the set-up (or the
    // name) to the statement's end.
    std::size_t replaceStart() const { return setUpStart != kNoOffset ? setUpStart : nameStart; }
    std::size_t replaceEnd() const { return statementEnd; }
};

// Every call, in text order. Only the names are looked for in the whole
// text; each call is lexed from its statement's start (a structure form
// from its top-level block's), the rest passed over by a light scan of
// comments, literals, preprocessor lines and braces.
std::vector<FoundCall> FindCalls(std::string_view text);

// The call at a position (line and column from 1, as FoundCall counts them):
// with a column, the call whose text (its set-up included, up to and with
// the ";") holds that character, or the character just after it; without
// (column 0), the first call whose name is on the line, else the first
// whose text covers part of it. Names within 64 KiB of the line are
// looked at.
std::optional<FoundCall> FindCallAt(std::string_view text, std::size_t line, std::size_t column);

// The column (from 1, in characters) of a byte offset in its line; lines
// end at LF (CR LF included).
std::size_t ColumnOf(std::string_view text, std::size_t offset);
// The byte offset of a line's first character; text.size() past the end.
std::size_t LineStartOffset(std::string_view text, std::size_t line);

}  // namespace pw
