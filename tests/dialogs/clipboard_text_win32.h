// The clipboard's Unicode text as the in-process tests read it back.
#pragma once

#include <windows.h>

#include <string>

#include "win32/text_win32.h"

namespace pw {

inline std::string UnicodeClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard not opened>";
    std::string text = "<no CF_UNICODETEXT>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = Utf8(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace pw
