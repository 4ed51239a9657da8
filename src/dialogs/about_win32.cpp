#include "dialogs/about_win32.h"

#include <string>

#include "dialogs/globals_win32.h"
#include "res/resource.h"
#include "dialogs/labels_win32.h"

namespace pw {
namespace {

// PW_ABOUT_URL, when set, replaces the link's target (not its text), so that
// end-to-end tests can point it at a harmless local file.
std::string LinkTarget() {
    const DWORD size = GetEnvironmentVariableA("PW_ABOUT_URL", nullptr, 0);
    if (size <= 1) return kWebAddress;
    std::string target(size, '\0');
    const DWORD got = GetEnvironmentVariableA("PW_ABOUT_URL", target.data(), size);
    if (got == 0 || got >= size) return kWebAddress;
    target.resize(got);
    return target;
}

}  // namespace

// OK and the close box end the box; there is no cancel command, so Escape
// does nothing.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: InstallLinkLabel(dialog, IDC_ABOUT_LINK, LinkTarget().c_str(), 0); break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_OK) EndDialog(dialog, 0);
        return FALSE;
    case WM_CLOSE:
        FreeLabelResources();
        EndDialog(dialog, 0);
        break;
    default: return FALSE;
    }
    SetDialogIcons(dialog, false);
    return TRUE;
}

void RunAboutBox(HWND owner) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}

}  // namespace pw
