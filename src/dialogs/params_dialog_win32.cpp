#include "dialogs/params_dialog_win32.h"

#include "win32/dialog_form_win32.h"
#include "dialogs/globals_win32.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {

ParamsOptions paramsOptions;

namespace {

const DWORD kParamsHelpTable[] = {
    IDC_PARAMS_NAME, 17, IDC_PARAMS_ICONID, 18, IDC_PARAMS_CALLBACK, 19, IDC_PARAMS_HELPID, 20, 0, 0,
};

// The main form, passed as the creation parameter, decides which fields apply:
// the same conditions under which the writer uses them. Every opening starts
// with empty fields.
void OnInitDialog(HWND dialog, HWND mainForm) {
    const DialogForm form(mainForm);
    if (form.ListPosition(IDC_ICON) != kUserIconPosition)
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_ICONID), FALSE);
    if (!form.IsChecked(IDC_HELPBUTTON)) {
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_CALLBACK), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_HELPID), FALSE);
    }
}

void ReadParamsFields(HWND dialog) {
    paramsOptions.structName = WindowText(GetDlgItem(dialog, IDC_PARAMS_NAME));
    paramsOptions.iconId = WindowText(GetDlgItem(dialog, IDC_PARAMS_ICONID));
    paramsOptions.callbackName = WindowText(GetDlgItem(dialog, IDC_PARAMS_CALLBACK));
    paramsOptions.contextHelpId = WindowText(GetDlgItem(dialog, IDC_PARAMS_HELPID));
}

void OnOk(HWND dialog) {
    // A statement needs a structure name: OK waits for one.
    if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_PARAMS_NAME)) == 0) return;
    ReadParamsFields(dialog);
    EndDialog(dialog, 0);
}

}  // namespace

INT_PTR CALLBACK ParamsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, reinterpret_cast<HWND>(lParam)); break;
    case WM_COMMAND:
        // Only OK (its click, access key or Enter); Escape's IDCANCEL does nothing.
        if (wParam == IDC_OK) OnOk(dialog);
        return FALSE;
    case WM_CLOSE: EndDialog(dialog, 0); break;  // keeps the options of the last OK
    case WM_HELP:
        WinHelpA(static_cast<HWND>(reinterpret_cast<HELPINFO*>(lParam)->hItemHandle), kHelpFile,
                 HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(kParamsHelpTable));
        break;
    default: return FALSE;
    }
    SetDialogIcons(dialog, false);
    return TRUE;
}

ParamsOptions ParamsDialogPrompt::Run() {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PARAMS), mainForm_,
                    ParamsDialogProc, reinterpret_cast<LPARAM>(mainForm_));
    return paramsOptions;
}

std::string GenerateFromDialog(HWND form) {
    const DialogForm dialog(form);
    ParamsDialogPrompt prompt(form);
    return GenerateStatement(dialog, prompt);
}

}  // namespace pw
