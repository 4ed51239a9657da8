// Insert in source over every target file, with what the user is told and
// asked on the way.
#pragma once

#include <windows.h>

#include <string_view>

struct AppContext;

namespace pw {

struct AppContext;

// Inserts `code` (CR LF lines) into each target file in command-line order;
// failures and the clipboard question appear in message boxes owned by
// `owner`. The clipboard mode acts with the first file only. Returns false
// when a copy to the clipboard failed: the caller's window stays open then.
// Under -EDIT the code replaces the call instead (ReplaceEditedCall), and
// false means nothing was written.
bool InsertIntoTargets(HWND owner, const AppContext& context, std::string_view code);

}  // namespace pw
