#include "dialogs/quick_insert_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/app_settings.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/insert_targets_win32.h"
#include "dialogs/keyboard_win32.h"
#include "dialogs/load_code_win32.h"
#include "dialogs/quickbox_win32.h"
#include "dialogs/warning_win32.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/guard_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/dialog_data_win32.h"
#include "win32/dialog_form_win32.h"
#include "win32/quickbox_store_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

enum Page { kQuickBoxPage = 0, kCodePage = 1 };

// Set on the modeless main form while the filter below hands it a message:
// IsDialogMessage calls the filters itself, which must then let it pass.
constexpr wchar_t kFiltering[] = L"Promptwright.QuickInsert.Filtering";

// A message hook of this thread, removed when the owner goes.
class UniqueHook {
public:
    UniqueHook() = default;
    ~UniqueHook() { Reset(); }
    UniqueHook(const UniqueHook&) = delete;
    UniqueHook& operator=(const UniqueHook&) = delete;
    bool Installed() const { return hook_ != nullptr; }
    void Install(HHOOK hook) {
        Reset();
        hook_ = hook;
    }
    void Reset() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }

private:
    HHOOK hook_ = nullptr;
};

// One QuickInsert window's state, alive for its modal loop.
struct QuickInsertData {
    explicit QuickInsertData(AppContext& c) : context(c) {}
    AppContext& context;
    // Set once the list reported a selection, never cleared (a second
    // QuickInsert starts with nothing selected).
    bool listSelected = false;
    // Installed while a modeless main form this window opened may exist.
    UniqueHook modelessFormFilter;
    // Ctrl+Tab between the pages, for the window's modal loop.
    pw::UniqueHook pageKeys;
};

bool ListSelected(HWND dialog) { return DialogData<QuickInsertData>(dialog)->listSelected; }

int CurrentPage(HWND dialog) { return static_cast<int>(SendDlgItemMessageW(dialog, IDC_QI_TABS, TCM_GETCURSEL, 0, 0)); }

bool CodeBoxEmpty(HWND dialog) { return GetWindowTextLengthW(GetDlgItem(dialog, IDC_QI_CODE)) == 0; }

void ShowQuickBoxPage(HWND dialog) { ShowQuickInsertPage(dialog, SW_SHOW, SW_HIDE, SW_HIDE, ListSelected(dialog)); }

void ShowCodePage(HWND dialog) { ShowQuickInsertPage(dialog, SW_HIDE, SW_HIDE, SW_SHOW, !CodeBoxEmpty(dialog)); }

void AddTab(HWND tabs, int index, const wchar_t* text) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(text);
    item.iImage = -1;
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void FillSlotList(HWND dialog, const std::string& settingsPath) {
    HWND list = GetDlgItem(dialog, IDC_QI_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& slot : QuickBoxSlotNames(settingsPath))
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(slot).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void OnInitDialog(HWND dialog, QuickInsertData& data) {
    AppContext& context = data.context;
    context.quickInsertWindows.push_back(dialog);
    LeaveEscapeToDialog(dialog, IDC_QI_CODE);
    data.pageKeys = SwitchPagesWithCtrlTab(dialog, IDC_QI_TABS);
    // The pages have no labels of their own, only the tab names.
    NameControl(dialog, IDC_QI_LIST, "QuickBox slots");
    NameControl(dialog, IDC_QI_CODE, "Code to insert");
    HWND tabs = GetDlgItem(dialog, IDC_QI_TABS);
    AddTab(tabs, kQuickBoxPage, L"QuickBox");
    AddTab(tabs, kCodePage, L"Code");
    // The pages lie inside the tab control; below them in the z-order it does
    // not paint over them. That makes it the last tab stop: the focus starts
    // in the slot list, where a keyboard user of -QI begins.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FillSlotList(dialog, context.settings.settingsPath);
    ShowWindow(GetDlgItem(dialog, IDC_QI_TREE), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_QI_CODE), SW_HIDE);
    // Opened from the simple main form, only Edit and Exit are offered.
    if (!context.Advanced() && context.MainFormExists()) {
        ShowWindow(GetDlgItem(dialog, IDC_INSERT), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_COPY), SW_HIDE);
    }
}

std::optional<std::string> SelectedSlot(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_QI_LIST);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return std::nullopt;
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == LB_ERR) return std::nullopt;
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(name.data()));
    if (got == LB_ERR) return std::nullopt;
    name.resize(static_cast<std::size_t>(got));
    return Utf8(name);
}

// The code the current page offers, whole; none when the page has nothing to
// act on (the buttons are disabled then, but a posted command may still come).
// A slot gone from the file (or stored as "NOT FOUND") gives none: the user
// is told and the list read again, without it. One too long to be read whole
// gives none either (the user is told), so nothing is inserted cut.
std::optional<std::string> CurrentCode(HWND dialog, const AppContext& context) {
    switch (CurrentPage(dialog)) {
    case kQuickBoxPage: {
        const std::optional<std::string> slot = SelectedSlot(dialog);
        if (!slot) return std::nullopt;
        SlotValue value = ReadQuickBoxSlot(context.settings.settingsPath, *slot);
        if (value.state == SlotState::TooLong) {
            ReportTooLongSlot(dialog, *slot);
            return std::nullopt;
        }
        if (value.state == SlotState::Missing) {
            ShowWarning(dialog, "QuickBox slot '" + *slot + "' is not in the settings file any more");
            FillSlotList(dialog, context.settings.settingsPath);
            DialogData<QuickInsertData>(dialog)->listSelected = false;  // nothing is selected now
            ShowQuickBoxPage(dialog);
            return std::nullopt;
        }
        return std::move(value.statement);
    }
    case kCodePage: {
        std::string text = WindowText(GetDlgItem(dialog, IDC_QI_CODE));
        if (text.empty()) return std::nullopt;
        return text;
    }
    default: return std::nullopt;
    }
}

void OnInsert(HWND dialog, const AppContext& context) {
    const std::optional<std::string> code = CurrentCode(dialog, context);
    if (!code) return;
    const bool copied = InsertIntoTargets(dialog, context, *code);
    if (copied && context.settings.insertShutDown) EndDialog(dialog, 1);
}

void OnCopy(HWND dialog, const AppContext& context) {
    if (const std::optional<std::string> code = CurrentCode(dialog, context)) CopyOrWarn(dialog, *code);
}

// The modeless main form runs inside this window's modal loop, which gives
// only this window dialog keys. A message filter hands the main form's
// keyboard messages to IsDialogMessage, so Tab, arrows and access keys work
// there too. Installed while such a form exists.
LRESULT CALLBACK ModelessFormFilter(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HWND form = GetAncestor(msg->hwnd, GA_ROOT);
        if (form != nullptr && GetPropW(form, kModelessMainForm) != nullptr && GetPropW(form, kFiltering) == nullptr) {
            SetPropW(form, kFiltering, form);
            const BOOL handled = IsDialogMessageW(form, msg);
            RemovePropW(form, kFiltering);
            if (handled) return TRUE;
        }
    }
    // The hook handle is ignored here since Windows 2000.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Takes the code into the main form: the one already open (QuickInsert then
// ends), or a new modeless one that runs inside this hidden window's modal
// loop and ends it, and with it the program, when it closes.
void OnEdit(HWND dialog, QuickInsertData& data) {
    AppContext& context = data.context;
    const std::optional<std::string> code = CurrentCode(dialog, context);
    if (!code) return;
    HWND form = nullptr;
    // Out of sight before the code is loaded: a task dialog opens the
    // designer, modal over the form, from inside the load.
    ShowWindow(dialog, SW_HIDE);
    if (context.MainFormExists()) {
        EndDialog(dialog, 0);
        form = context.mainFormWindow;
    } else {
        form = context.createMainForm ? context.createMainForm() : nullptr;
        if (form == nullptr) {
            ShowWindow(dialog, SW_SHOW);  // nothing to hand over to: stay usable
            return;
        }
        if (!data.modelessFormFilter.Installed())
            data.modelessFormFilter.Install(
                SetWindowsHookExW(WH_MSGFILTER, ModelessFormFilter, nullptr, GetCurrentThreadId()));
    }
    if (context.Advanced()) DialogForm(form).SetText(IDC_CODE, *code);
    LoadCodeIntoForm(form, *code, context);
    ShowWindow(dialog, SW_HIDE);
}

bool OnCommand(HWND dialog, QuickInsertData& data, int command, int notification) {
    switch (command) {
    case IDC_QI_LIST:
        if (notification != LBN_SELCHANGE) return false;
        data.listSelected = true;
        ShowQuickBoxPage(dialog);
        return true;
    case IDC_QI_CODE:
        if (notification != EN_CHANGE) return false;
        ShowCodePage(dialog);
        return true;
    case IDC_INSERT: OnInsert(dialog, data.context); return true;
    case IDC_COPY: OnCopy(dialog, data.context); return true;
    case IDC_QI_EDIT: OnEdit(dialog, data); return true;
    case IDC_EXIT: EndDialog(dialog, 0); return true;
    default: return false;  // IDOK and IDCANCEL included: Enter and Escape start nothing
    }
}

bool OnNotify(HWND dialog, const NMHDR* header) {
    if (header->idFrom != IDC_QI_TABS || header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    if (CurrentPage(dialog) == kQuickBoxPage)
        ShowQuickBoxPage(dialog);
    else if (CurrentPage(dialog) == kCodePage)
        ShowCodePage(dialog);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    return true;
}

void OnDestroyed(HWND dialog, QuickInsertData& data) {
    // The filter goes with the window that installed it: the hidden first
    // window outlives the modeless form it made, and its end is the program's.
    data.modelessFormFilter.Reset();
    data.pageKeys.Reset();
    ForgetKeyboardState(dialog);
    std::vector<HWND>& windows = data.context.quickInsertWindows;
    windows.erase(std::remove(windows.begin(), windows.end(), dialog), windows.end());
}

}  // namespace

void ShowQuickInsertPage(HWND dialog, int listShow, int treeShow, int codeShow, bool enable) {
    ShowWindow(GetDlgItem(dialog, IDC_QI_LIST), listShow);
    ShowWindow(GetDlgItem(dialog, IDC_QI_TREE), treeShow);
    ShowWindow(GetDlgItem(dialog, IDC_QI_CODE), codeShow);
    for (int id : {IDC_INSERT, IDC_COPY, IDC_QI_EDIT}) EnableWindow(GetDlgItem(dialog, id), enable);
}

namespace {
INT_PTR CALLBACK QuickInsertProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AnswerScreenReaders(dialog, message);
    QuickInsertData* data = DialogDataFor<QuickInsertData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        OnDestroyed(dialog, *data);
        return FALSE;
    }
    bool handled = true;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, *data); break;
    case WM_COMMAND: handled = OnCommand(dialog, *data, LOWORD(wParam), HIWORD(wParam)); break;
    case WM_NOTIFY: handled = OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_CLOSE: EndDialog(dialog, 0); break;
    default: handled = false; break;
    }
    if (!handled) return FALSE;
    SetDialogIcons(dialog, data->context, false);
    return TRUE;
}
}  // namespace

INT_PTR RunQuickInsert(HWND owner, AppContext& context) {
    QuickInsertData data(context);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_QUICKINSERT), owner,
                           GuardedDialogProc<QuickInsertProc>, reinterpret_cast<LPARAM>(&data));
}

}  // namespace pw
