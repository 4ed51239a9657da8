// Puts text on the Windows clipboard.
#pragma once

#include <windows.h>

#include <string_view>

namespace pw {

// Replaces the clipboard's content by the UTF-8 `text` as CF_UNICODETEXT (with
// its terminating zero), the clipboard opened by `owner`. Returns true when the text is on the
// clipboard and the clipboard is closed again.
bool CopyToClipboard(HWND owner, std::string_view text);

}  // namespace pw
