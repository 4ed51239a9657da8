// The one way the windows tell the user that something failed.
#pragma once

#include <windows.h>

#include <string>

#include "win32/text_win32.h"

namespace pw {

// A message box owned by `owner` with the system's default caption and the
// warning icon.
inline void ShowWarning(HWND owner, const std::string& text) {
    MessageBoxW(owner, Utf16(text).c_str(), nullptr, MB_ICONWARNING | MB_OK);
}

}  // namespace pw
