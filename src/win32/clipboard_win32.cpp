#include "win32/clipboard_win32.h"

#include <cstring>

#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {

bool CopyToClipboard(HWND owner, std::string_view text) {
    const std::wstring wide = Utf16(text);
    if (wide.size() >= static_cast<std::size_t>(-1) / sizeof(wchar_t)) return false;

    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) return false;

    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)));
    if (block.Get() == nullptr) return false;
    {
        GlobalLockGuard lock(block.Get());
        if (lock.Data() == nullptr) return false;
        // With its terminating zero.
        std::memcpy(lock.Data(), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    // Windows makes CF_TEXT (and CF_OEMTEXT) from this for programs that ask.
    if (SetClipboardData(CF_UNICODETEXT, block.Get()) == nullptr) return false;
    block.Release();  // the clipboard owns the block now
    return clipboard.Close();
}

}  // namespace pw
