#include "dialogs/quick_insert_win32.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "win32/dialog_form_win32.h"
#include "dialogs/globals_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quickbox_win32.h"
#include "win32/settings_win32.h"
#include "dialogs/load_code_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/insert_source_win32.h"
#include "res/resource.h"

namespace pw {
namespace {

enum Page { kQuickBoxPage = 0, kCodePage = 1 };

bool MainFormExists() { return mainFormWindow != nullptr && IsWindow(mainFormWindow); }

// The list-selected flag, one per window (a second QuickInsert starts with
// nothing selected): set once the list reported a selection, never cleared.
bool ListSelected(HWND dialog) { return GetWindowLongPtrA(dialog, DWLP_USER) != 0; }
void SetListSelected(HWND dialog) { SetWindowLongPtrA(dialog, DWLP_USER, 1); }

int CurrentPage(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_QI_TABS, TCM_GETCURSEL, 0, 0));
}

bool CodeBoxEmpty(HWND dialog) { return GetWindowTextLengthA(GetDlgItem(dialog, IDC_QI_CODE)) == 0; }

void ShowQuickBoxPage(HWND dialog) {
    ShowQuickInsertPage(dialog, SW_SHOW, SW_HIDE, SW_HIDE, ListSelected(dialog));
}

void ShowCodePage(HWND dialog) {
    ShowQuickInsertPage(dialog, SW_HIDE, SW_HIDE, SW_SHOW, !CodeBoxEmpty(dialog));
}

void AddTab(HWND tabs, int index, const char* text) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(text);
    item.iImage = -1;
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void FillSlotList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_QI_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (const std::string& slot : ReadProfileKeys(appSettings.settingsPath, kQuickBoxSection))
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(slot.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void OnInitDialog(HWND dialog) {
    QuickInsertWindowOpened(dialog);
    HWND tabs = GetDlgItem(dialog, IDC_QI_TABS);
    AddTab(tabs, kQuickBoxPage, "QuickBox");
    AddTab(tabs, kCodePage, "Code");
    // The pages lie inside the tab control; below them in the z-order it does
    // not paint over them. It never takes the focus, so tab order is unchanged.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FillSlotList(dialog);
    ShowWindow(GetDlgItem(dialog, IDC_QI_TREE), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_QI_CODE), SW_HIDE);
    // Opened from the simple main form, only Edit and Exit are offered.
    if (!AdvancedLayout() && MainFormExists()) {
        ShowWindow(GetDlgItem(dialog, IDC_INSERT), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_COPY), SW_HIDE);
    }
}

std::optional<std::string> SelectedSlot(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_QI_LIST);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return std::nullopt;
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == LB_ERR) return std::nullopt;
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected),
                                     reinterpret_cast<LPARAM>(name.data()));
    if (got == LB_ERR) return std::nullopt;
    name.resize(static_cast<std::size_t>(got));
    return name;
}

// The code the current page offers, whole; none when the page has nothing to
// act on (the buttons are disabled then, but a posted command may still come).
// A slot whose key has gone from the file gives empty code.
std::optional<std::string> CurrentCode(HWND dialog) {
    switch (CurrentPage(dialog)) {
    case kQuickBoxPage: {
        const std::optional<std::string> slot = SelectedSlot(dialog);
        if (!slot) return std::nullopt;
        return ReadQuickBoxSlot(appSettings.settingsPath, *slot, "");
    }
    case kCodePage: {
        std::string text = WindowText(GetDlgItem(dialog, IDC_QI_CODE));
        if (text.empty()) return std::nullopt;
        return text;
    }
    default: return std::nullopt;
    }
}

void OnInsert(HWND dialog) {
    const std::optional<std::string> code = CurrentCode(dialog);
    if (!code) return;
    int clipboardMode = appSettings.insertCopy;
    for (const std::string& path : appSettings.targetFiles) {
        InsertInSource(dialog, *code, path, clipboardMode, appSettings.markers);
        clipboardMode = kClipboardNone;  // the clipboard offer goes with the first file only
    }
    if (appSettings.insertShutDown != 0) EndDialog(dialog, 1);
}

void OnCopy(HWND dialog) {
    if (const std::optional<std::string> code = CurrentCode(dialog)) CopyToClipboard(dialog, *code);
}

// The modeless main form runs inside this window's modal loop, which gives
// only this window dialog keys. A message filter hands the main form's
// keyboard messages to IsDialogMessage, so Tab, arrows and access keys work
// there too. Installed while such a form exists.
HHOOK modelessFormHook = nullptr;

LRESULT CALLBACK ModelessFormFilter(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST && mainFormWindow != nullptr && IsWindow(mainFormWindow) &&
        (msg->hwnd == mainFormWindow || IsChild(mainFormWindow, msg->hwnd)) &&
        IsDialogMessageA(mainFormWindow, msg))
        return TRUE;
    return CallNextHookEx(modelessFormHook, code, wParam, lParam);
}

void InstallModelessFormFilter() {
    if (modelessFormHook == nullptr)
        modelessFormHook = SetWindowsHookExA(WH_MSGFILTER, ModelessFormFilter, nullptr, GetCurrentThreadId());
}

void RemoveModelessFormFilter() {
    if (modelessFormHook != nullptr) UnhookWindowsHookEx(modelessFormHook);
    modelessFormHook = nullptr;
}

// Takes the code into the main form: the one already open (QuickInsert then
// ends), or a new modeless one that runs inside this hidden window's modal
// loop and ends it, and with it the program, when it closes.
void OnEdit(HWND dialog) {
    const std::optional<std::string> code = CurrentCode(dialog);
    if (!code) return;
    HWND form = nullptr;
    if (MainFormExists()) {
        EndDialog(dialog, 0);
        form = mainFormWindow;
    } else {
        ShowWindow(dialog, SW_HIDE);
        form = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(MainFormTemplate()),
                                  nullptr, MainFormProc, 0);
        if (form == nullptr) {
            ShowWindow(dialog, SW_SHOW);  // nothing to hand over to: stay usable
            return;
        }
        InstallModelessFormFilter();
    }
    if (AdvancedLayout()) SetDlgItemTextA(form, IDC_CODE, code->c_str());
    LoadCodeIntoForm(form, *code);
    ShowWindow(dialog, SW_HIDE);
}

bool OnCommand(HWND dialog, int command, int notification) {
    switch (command) {
    case IDC_QI_LIST:
        if (notification != LBN_SELCHANGE) return false;
        SetListSelected(dialog);
        ShowQuickBoxPage(dialog);
        return true;
    case IDC_QI_CODE:
        if (notification != EN_CHANGE) return false;
        ShowCodePage(dialog);
        return true;
    case IDC_INSERT: OnInsert(dialog); return true;
    case IDC_COPY: OnCopy(dialog); return true;
    case IDC_QI_EDIT: OnEdit(dialog); return true;
    case IDC_EXIT: EndDialog(dialog, 0); return true;
    default: return false;  // IDOK and IDCANCEL included: Enter and Escape start nothing
    }
}

bool OnNotify(HWND dialog, const NMHDR* header) {
    if (header->idFrom != IDC_QI_TABS || header->code != static_cast<UINT>(TCN_SELCHANGE))
        return false;
    if (CurrentPage(dialog) == kQuickBoxPage)
        ShowQuickBoxPage(dialog);
    else if (CurrentPage(dialog) == kCodePage)
        ShowCodePage(dialog);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
    return true;
}

void OnDestroyed(HWND dialog) {
    // The hidden first window outlives the modeless form it made; its end is
    // the program's.
    if (GetWindow(dialog, GW_OWNER) == nullptr) RemoveModelessFormFilter();
    QuickInsertWindowClosed(dialog);
    if (quickInsertWindow == dialog) quickInsertWindow = nullptr;
}

}  // namespace

void ShowQuickInsertPage(HWND dialog, int listShow, int treeShow, int codeShow, bool enable) {
    ShowWindow(GetDlgItem(dialog, IDC_QI_LIST), listShow);
    ShowWindow(GetDlgItem(dialog, IDC_QI_TREE), treeShow);
    ShowWindow(GetDlgItem(dialog, IDC_QI_CODE), codeShow);
    for (int id : {IDC_INSERT, IDC_COPY, IDC_QI_EDIT}) EnableWindow(GetDlgItem(dialog, id), enable);
}

INT_PTR CALLBACK QuickInsertProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        OnDestroyed(dialog);
        return FALSE;
    }
    quickInsertWindow = dialog;
    bool handled = true;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); break;
    case WM_COMMAND: handled = OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_NOTIFY: handled = OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_CLOSE: EndDialog(dialog, 0); break;
    default: handled = false; break;
    }
    if (!handled) return FALSE;
    SetDialogIcons(dialog, false);
    return TRUE;
}

INT_PTR RunQuickInsert(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUICKINSERT), owner,
                           QuickInsertProc, 0);
}

}  // namespace pw
