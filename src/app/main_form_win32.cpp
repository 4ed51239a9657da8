#include "app/main_form_win32.h"

#include <string>

#include "app/dialog_form_win32.h"
#include "app/globals_win32.h"
#include "model/clear_form.h"
#include "model/option_lists_win32.h"
#include "res/resource.h"

namespace pw {
namespace {

// Help contexts of the main form's controls, ended by a zero pair.
const DWORD kMainHelpTable[] = {
    IDC_PARENT, 2, IDC_TITLE, 3, IDC_TEXT, 4, IDC_BUTTONS, 5, IDC_DEFBUTTON, 6, IDC_ICON, 7,
    IDC_APPLMODAL, 8, IDC_SYSTEMMODAL, 9, IDC_TASKMODAL, 10, IDC_HELPBUTTON, 11, IDC_RIGHT, 12,
    IDC_RTLREADING, 13, IDC_SETFOREGROUND, 14, IDC_LANGUAGE, 15, IDC_DEFAULTDESKTOP, 21,
    IDC_TOPMOST, 22, IDC_SERVICE, 23, IDC_SERVICE_NT3X, 24, 0, 0,
};

bool Advanced() { return appSettings.advancedLayout > 0; }

void OnInitDialog(HWND form) {
    HMENU menu = GetMenu(form);
    if (!Advanced()) DeleteMenu(menu, IDC_GENERATE, MF_BYCOMMAND);
    DrawMenuBar(form);

    FillOptionLists(form, appSettings.advancedLayout);
    DialogForm dialog(form);
    ClearForm(dialog);

    if (appSettings.targetFiles.empty()) {
        EnableWindow(GetDlgItem(form, IDC_INSERT), FALSE);
        EnableMenuItem(menu, IDC_INSERT, MF_BYCOMMAND | MF_GRAYED);
        SetDlgItemTextA(form, IDC_SAVEWARN1, "");
        SetDlgItemTextA(form, IDC_SAVEWARN2, "");
    }
}

void EndMainForm(HWND form, INT_PTR result) {
    EndQuickInsertWindow();
    EndDialog(form, result);
}

void OnClear(HWND form) {
    DialogForm dialog(form);
    ClearForm(dialog);
}

void OnHelpContents(HWND form) { WinHelpA(form, kHelpFile, HELP_CONTENTS, 0); }

void OnHelpRequest(const HELPINFO* info) {
    WinHelpA(static_cast<HWND>(info->hItemHandle), kHelpFile, HELP_WM_HELP,
             reinterpret_cast<ULONG_PTR>(kMainHelpTable));
}

void OnCommand(HWND form, int command, int notification) {
    switch (command) {
    case IDC_EXIT: EndMainForm(form, 0); break;
    case IDM_CLEAR: OnClear(form); break;
    case IDM_HELP: OnHelpContents(form); break;
    default: break;  // includes IDOK and IDCANCEL: Enter and Escape do nothing
    }
    if (notification == CBN_SELCHANGE && command == IDC_ICON) UpdateIconPreview(form);
}

}  // namespace

int MainFormTemplate() { return Advanced() ? IDD_MAIN_ADVANCED : IDD_MAIN_SIMPLE; }

void UpdateIconPreview(HWND form) {
    static const LPCSTR kIcons[] = {nullptr, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION, IDI_HAND,
                                    IDI_APPLICATION};
    const LRESULT position = SendDlgItemMessageA(form, IDC_ICON, CB_GETCURSEL, 0, 0);
    HICON icon = nullptr;
    if (position > 0 && position < static_cast<LRESULT>(std::size(kIcons)))
        icon = LoadIconA(nullptr, kIcons[position]);
    SendDlgItemMessageA(form, IDC_ICONPREVIEW, STM_SETICON, 0, 0);
    SendDlgItemMessageA(form, IDC_ICONPREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

INT_PTR CALLBACK MainFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    mainFormWindow = form;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(form); break;
    case WM_COMMAND: OnCommand(form, LOWORD(wParam), HIWORD(wParam)); return FALSE;
    case WM_ACTIVATE: UpdateIconPreview(form); break;
    case WM_HELP: OnHelpRequest(reinterpret_cast<const HELPINFO*>(lParam)); break;
    case WM_CLOSE: EndMainForm(form, 0); break;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: return FALSE;
    }
    SetDialogIcons(form, true);
    return TRUE;
}

}  // namespace pw
