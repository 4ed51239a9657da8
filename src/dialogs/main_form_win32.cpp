#include "dialogs/main_form_win32.h"

#include <string>

#include "win32/dialog_form_win32.h"
#include "dialogs/globals_win32.h"
#include "dialogs/quickbox_win32.h"
#include "core/codegen/expansion.h"
#include "dialogs/params_dialog_win32.h"
#include "dialogs/preview_win32.h"
#include "dialogs/load_code_win32.h"
#include "core/model/clear_form.h"
#include "win32/option_lists_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/insert_source_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "res/resource.h"
#include "dialogs/about_win32.h"
#include "dialogs/labels_win32.h"

namespace pw {
namespace {

// Help contexts of the main form's controls, ended by a zero pair.
const DWORD kMainHelpTable[] = {
    IDC_PARENT, 2, IDC_TITLE, 3, IDC_TEXT, 4, IDC_BUTTONS, 5, IDC_DEFBUTTON, 6, IDC_ICON, 7,
    IDC_APPLMODAL, 8, IDC_SYSTEMMODAL, 9, IDC_TASKMODAL, 10, IDC_HELPBUTTON, 11, IDC_RIGHT, 12,
    IDC_RTLREADING, 13, IDC_SETFOREGROUND, 14, IDC_LANGUAGE, 15, IDC_DEFAULTDESKTOP, 21,
    IDC_TOPMOST, 22, IDC_SERVICE, 23, IDC_SERVICE_NT3X, 24, 0, 0,
};

void OnInitDialog(HWND form) {
    HMENU menu = GetMenu(form);
    BuildQuickBoxMenu(form);
    if (!AdvancedLayout()) DeleteMenu(menu, IDC_GENERATE, MF_BYCOMMAND);
    DrawMenuBar(form);

    FillOptionLists(form, appSettings.advancedLayout);
    // Clears the form first, so it opens in the Clear state with the start-up
    // slot (if it exists) over it.
    LoadQuickBox(form, appSettings.startupQuickBox, appSettings.settingsPath);

    if (!appSettings.targetFiles.empty()) {
        InstallWarningLabel(form, IDC_SAVEWARN1);
        InstallWarningLabel(form, IDC_SAVEWARN2);
    } else {
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

// The statement for the form with line feeds made CR LF, as the code box, the
// clipboard and source files take it.
std::string ExpandedStatement(HWND form) { return ExpandLineFeeds(GenerateFromDialog(form)); }

void OnInsert(HWND form) {
    const std::string code = ExpandedStatement(form);
    int clipboardMode = appSettings.insertCopy;
    for (const std::string& path : appSettings.targetFiles) {
        InsertInSource(form, code, path, clipboardMode, appSettings.markers);
        clipboardMode = 0;  // the clipboard offer goes with the first file only
    }
    if (appSettings.insertShutDown != 0) EndMainForm(form, 1);
}

void OnGenerate(HWND form) { SetDlgItemTextA(form, IDC_CODE, ExpandedStatement(form).c_str()); }

void OnCopy(HWND form) { CopyToClipboard(form, ExpandedStatement(form)); }

void OnLoadCode(HWND form) {
    if (!AdvancedLayout()) {
        RunQuickInsert(form);
        return;
    }
    LoadCodeIntoForm(form, WindowText(GetDlgItem(form, IDC_CODE)));
}

void OnQuickBoxLoad(HWND form, int command) {
    LoadQuickBox(form, QuickBoxSlotName(form, command), appSettings.settingsPath);
}

void OnQuickBoxSet(HWND form, int command) {
    StoreQuickBox(form, QuickBoxSlotName(form, command), appSettings.settingsPath);
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
    case IDC_INSERT: OnInsert(form); break;
    case IDC_EXIT: EndMainForm(form, 0); break;
    case IDC_PREVIEW: PreviewMessageBox(form); break;
    case IDC_GENERATE: OnGenerate(form); break;
    case IDC_COPY: OnCopy(form); break;
    case IDC_LOADCODE: OnLoadCode(form); break;
    case IDM_CLEAR: OnClear(form); break;
    case IDM_HELP: OnHelpContents(form); break;
    case IDM_ABOUT: RunAboutBox(form); break;
    default:
        if (IsQuickBoxLoadCommand(command))
            OnQuickBoxLoad(form, command);
        else if (IsQuickBoxSetCommand(command))
            OnQuickBoxSet(form, command);
        break;  // anything else, IDOK and IDCANCEL included: Enter and Escape do nothing
    }
    if (notification == CBN_SELCHANGE && command == IDC_ICON) UpdateIconPreview(form);
}

}  // namespace

int MainFormTemplate() { return AdvancedLayout() ? IDD_MAIN_ADVANCED : IDD_MAIN_SIMPLE; }

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
    case WM_DESTROY:
        FreeLabelResources();
        PostQuitMessage(0);
        break;
    default: return FALSE;
    }
    SetDialogIcons(form, true);
    return TRUE;
}

}  // namespace pw
