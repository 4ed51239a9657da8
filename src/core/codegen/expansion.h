// The expansion pass (Parts 1.2, 3.2): statement text as the code box, the
// clipboard and source files need it.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// Every line feed not preceded by a carriage return becomes CR LF; nothing
// else changes. In particular every % passes unchanged (no insert sequences,
// no %0 cut, no trailing-% failure), and there is no length limit. Replaces
// FormatMessageA(FORMAT_MESSAGE_FROM_STRING), which interpreted % sequences.
std::string ExpandLineFeeds(std::string_view text);

}  // namespace pw
