// The one way the windows tell the user that something failed.
#pragma once

#include <windows.h>

#include <string>

#include "win32/clipboard_win32.h"
#include "win32/text_win32.h"

namespace pw {

// A message box owned by `owner` with the system's default caption and the
// warning icon.
inline void ShowWarning(HWND owner, const std::string& text) {
    MessageBoxW(owner, Utf16(text).c_str(), nullptr, MB_ICONWARNING | MB_OK);
}

// Copies `text` to the clipboard, or tells the user it could not and returns
// false: a window that would close after the copy then stays open, so that
// what was to be copied is not lost.
inline bool CopyOrWarn(HWND owner, std::string_view text) {
    if (CopyToClipboard(owner, text)) return true;
    ShowWarning(owner, "Error while copying to the clipboard");
    return false;
}

}  // namespace pw
