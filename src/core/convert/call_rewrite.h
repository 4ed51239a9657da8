// The statement the form writes, put in place of one call found in a source
// text: with the call's indentation and the file's line ends, its context
// and every other byte kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/codeparse/call_finder.h"

namespace pw {

// Bytes start..end of the text (UTF-8, as the finder read it) become `text`.
struct CallReplacement {
    std::size_t start = 0, end = 0;
    std::string text;
};

// `statement` is the writer's (lines apart by LF or CR LF). A call that
// stands as a statement of its own is replaced with its ";", its set-up
// included, by the whole statement: the first line where the call's began,
// every further line with the indentation of the call's first line, lines
// ended as the call's line ends (CR LF or LF; CR LF in a text without any).
// A call inside a context ("int r = ", "if (IDNO == ...)") keeps it: the
// caller writes the call form (no answer handling); its ";" goes, and the
// lines of a structure form before the call stand where the call's statement
// (or its old set-up) began, the context after them.
//
// Refused (nothing, `problem` set): a call whose set-up has other statements
// among its own (FoundCall::rewriteProblem), and a multi-line answer form
// for a call inside a context.
std::optional<CallReplacement> RewriteCall(std::string_view source, const FoundCall& call, std::string_view statement,
                                           std::string* problem = nullptr);

// The line end of the line holding `offset`: "\r\n" or "\n"; for a last line
// without one, that of the line before; "\r\n" in a text of one line.
std::string_view LineEndAt(std::string_view text, std::size_t offset);

// UTF-16 code units of the UTF-8 text before `offset` (four-byte characters
// count two; a byte that makes no character, one), so that an offset in the
// UTF-8 reading of a UTF-16 file finds its bytes.
std::size_t Utf16UnitsBefore(std::string_view utf8, std::size_t offset);

}  // namespace pw
