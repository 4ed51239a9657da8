// Insert in source over every target file, with what the user is told and
// asked on the way.
#pragma once

#include <windows.h>

#include <string_view>

#include "core/settings/app_settings.h"

namespace pw {

// Inserts `code` (CR LF lines) into each target file in command-line order;
// failures and the clipboard question appear in message boxes owned by
// `owner`. The clipboard mode acts with the first file only. Returns false
// when a copy to the clipboard failed: the caller's window stays open then.
bool InsertIntoTargets(HWND owner, const AppSettings& settings, std::string_view code);

}  // namespace pw
