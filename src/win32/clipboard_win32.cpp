#include "win32/clipboard_win32.h"

#include <cstring>

#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// Clipboard managers and remote-desktop clients hold the clipboard for a few
// milliseconds at a time; a second is far longer than they take.
constexpr DWORD kOpenPatience = 1000;
constexpr DWORD kOpenPause = 25;

// Opens the clipboard for `owner`, trying again while another program holds it.
bool OpenPatiently(ClipboardSession& clipboard, HWND owner) {
    const DWORD start = GetTickCount();
    while (!clipboard.Open(owner)) {
        if (GetTickCount() - start >= kOpenPatience) return false;
        Sleep(kOpenPause);
    }
    return true;
}

}  // namespace

bool CopyToClipboard(HWND owner, std::string_view text) {
    const std::wstring wide = Utf16(text);
    if (wide.size() >= static_cast<std::size_t>(-1) / sizeof(wchar_t) - 1) return false;

    // Made ready first: the clipboard is emptied only once the new text can
    // take its place, so a failure here leaves the user's clipboard alone.
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)));
    if (block.Get() == nullptr) return false;
    {
        GlobalLockGuard lock(block.Get());
        if (lock.Data() == nullptr) return false;
        // With its terminating zero.
        std::memcpy(lock.Data(), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }

    ClipboardSession clipboard;
    if (!OpenPatiently(clipboard, owner) || !EmptyClipboard()) return false;
    // Windows makes CF_TEXT (and CF_OEMTEXT) from this for programs that ask.
    if (SetClipboardData(CF_UNICODETEXT, block.Get()) == nullptr) return false;
    block.Release();  // the clipboard owns the block now
    return clipboard.Close();
}

}  // namespace pw
