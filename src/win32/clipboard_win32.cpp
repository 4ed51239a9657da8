#include "win32/clipboard_win32.h"

#include <cstring>

#include "win32/raii_win32.h"

namespace pw {

bool CopyToClipboard(HWND owner, std::string_view text) {
    if (text.size() >= static_cast<std::size_t>(-1)) return false;

    ClipboardSession clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) return false;

    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (block.Get() == nullptr) return false;
    {
        GlobalLockGuard lock(block.Get());
        if (lock.Data() == nullptr) return false;
        char* data = static_cast<char*>(lock.Data());
        if (!text.empty()) std::memcpy(data, text.data(), text.size());
        data[text.size()] = '\0';
    }
    if (SetClipboardData(CF_TEXT, block.Get()) == nullptr) return false;
    block.Release();  // the clipboard owns the block now
    return clipboard.Close();
}

}  // namespace pw
