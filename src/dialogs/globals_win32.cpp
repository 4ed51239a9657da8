#include "dialogs/globals_win32.h"

#include <algorithm>
#include <vector>

namespace pw {

AppSettings appSettings;
HICON programIcon = nullptr;
HWND mainFormWindow = nullptr;
HWND quickInsertWindow = nullptr;

namespace {
std::vector<HWND>& OpenQuickInsertWindows() {
    static std::vector<HWND> windows;
    return windows;
}
}  // namespace

void SetDialogIcons(HWND dialog, bool big) {
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon));
    if (big) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon));
}

void QuickInsertWindowOpened(HWND window) { OpenQuickInsertWindows().push_back(window); }

void QuickInsertWindowClosed(HWND window) {
    std::vector<HWND>& windows = OpenQuickInsertWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

void EndQuickInsertWindow() {
    // The list, not quickInsertWindow: that names only the latest window, and
    // may name one already destroyed. A copy, in case ending one changes it.
    const std::vector<HWND> windows = OpenQuickInsertWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (IsWindow(*it)) EndDialog(*it, 0);
}

}  // namespace pw
