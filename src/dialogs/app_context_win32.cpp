#include "dialogs/app_context_win32.h"

namespace pw {

void AppContext::EndQuickInsertWindows() const {
    // A copy, as ending one takes it off the list.
    const std::vector<HWND> windows = quickInsertWindows;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (IsWindow(*it)) EndDialog(*it, 0);
}

void AppContext::EndMainWindows(INT_PTR result) const {
    EndQuickInsertWindows();
    if (MainFormExists()) CloseMainFormWindow(mainFormWindow, result);
}

void CloseMainFormWindow(HWND form, INT_PTR result) {
    if (GetPropW(form, kModelessMainForm) != nullptr)
        DestroyWindow(form);
    else
        EndDialog(form, result);
}

void SetDialogIcons(HWND dialog, const AppContext& context, bool big) {
    const UINT dpi = WindowDpi(dialog);
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(context.programIcons.Small(dpi)));
    if (big) SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(context.programIcons.Big(dpi)));
}

}  // namespace pw
