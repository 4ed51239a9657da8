#include "app/globals_win32.h"

namespace pw {

AppSettings appSettings;
HICON programIcon = nullptr;
HWND mainFormWindow = nullptr;
HWND quickInsertWindow = nullptr;

void SetDialogIcons(HWND dialog, bool big) {
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(programIcon));
    if (big) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(programIcon));
}

void EndQuickInsertWindow() {
    if (quickInsertWindow != nullptr && IsWindow(quickInsertWindow)) EndDialog(quickInsertWindow, 0);
}

}  // namespace pw
