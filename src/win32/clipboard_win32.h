// Puts text on the Windows clipboard.
#pragma once

#include <windows.h>

#include <string_view>

namespace pw {

// Replaces the clipboard's content by the UTF-8 `text` as CF_UNICODETEXT (with
// its terminating zero), the clipboard opened by `owner`; while another
// program holds the clipboard, tries again for about a second. Returns true
// when the text is on the clipboard and the clipboard is closed again; on
// false the clipboard holds what it held before, unless it was emptied and
// then refused the text.
bool CopyToClipboard(HWND owner, std::string_view text);

}  // namespace pw
