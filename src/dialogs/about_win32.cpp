#include "dialogs/about_win32.h"

#include "dialogs/app_context_win32.h"
#include "dialogs/labels_win32.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/guard_win32.h"
#include "win32/dialog_data_win32.h"
#include "win32/dpi_win32.h"

namespace pw {
namespace {

// OK and the close box end the box; there is no cancel command, so Escape
// does nothing.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AnswerScreenReaders(dialog, message);
    const AppContext* context = DialogDataFor<const AppContext>(dialog, message, lParam);
    if (context == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        InstallLinkLabel(dialog, IDC_ABOUT_LINK, kWebAddress, 0);
        // The link comes first in tab order, but Enter on opening must close
        // the box, not open the web site.
        SetFocus(GetDlgItem(dialog, IDC_OK));
        SetDialogIcons(dialog, *context, false);
        return FALSE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: RepaintLabels(dialog); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_OK) EndDialog(dialog, 0);
        return FALSE;
    case WM_CLOSE:
        FreeLabelResources(dialog);
        EndDialog(dialog, 0);
        break;
    case WM_DPICHANGED:
        SetLabelDpi(dialog, DpiOfDpiChanged(wParam));
        return FALSE;  // the dialog manager rescales the controls and the window
    default: return FALSE;
    }
    SetDialogIcons(dialog, *context, false);
    return TRUE;
}

}  // namespace

void RunAboutBox(HWND owner, const AppContext& context) {
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, GuardedDialogProc<AboutDialogProc>,
                    reinterpret_cast<LPARAM>(&context));
}

}  // namespace pw
