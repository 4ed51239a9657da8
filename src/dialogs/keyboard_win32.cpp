#include "dialogs/keyboard_win32.h"

#include <commctrl.h>

namespace pw {
namespace {

constexpr UINT_PTR kEscapeSubclass = 1;
constexpr wchar_t kSavedFocus[] = L"Promptwright.SavedFocus";
constexpr wchar_t kPageTabs[] = L"Promptwright.PageTabs";

bool IsEscape(const MSG* msg) {
    return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_ESCAPE;
}

LRESULT CALLBACK EscapeToDialogProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE:
        // Not wanted: IsDialogMessage then turns it into IDCANCEL.
        if (IsEscape(reinterpret_cast<const MSG*>(lParam)))
            return DefSubclassProc(edit, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        break;
    case WM_KEYDOWN:
    case WM_CHAR:
        // Reaches the edit only outside a dialog loop (a modeless form whose
        // keys nobody filters): dropped rather than closing the window.
        if (wParam == VK_ESCAPE) return 0;
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, EscapeToDialogProc, kEscapeSubclass); break;
    default: break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

void Notify(HWND tabs, UINT code) {
    NMHDR header{};
    header.hwndFrom = tabs;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(tabs));
    header.code = code;
    SendMessageW(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void StepPage(HWND tabs, bool back) {
    const LRESULT count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    if (count <= 1) return;
    const LRESULT current = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
    const LRESULT next = ((current < 0 ? 0 : current) + (back ? count - 1 : 1)) % count;
    Notify(tabs, static_cast<UINT>(TCN_SELCHANGING));
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    Notify(tabs, static_cast<UINT>(TCN_SELCHANGE));
}

// Stateless: the dialog names its tab control in a property.
LRESULT CALLBACK CtrlTabFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
        (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
        HWND dialog = GetAncestor(msg->hwnd, GA_ROOT);
        const auto id = reinterpret_cast<INT_PTR>(dialog != nullptr ? GetPropW(dialog, kPageTabs) : nullptr);
        if (HWND tabs = id != 0 ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr) {
            StepPage(tabs, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void LeaveEscapeToDialog(HWND dialog, int id) {
    if (HWND edit = GetDlgItem(dialog, id)) SetWindowSubclass(edit, EscapeToDialogProc, kEscapeSubclass, 0);
}

void KeepFocusAcrossActivation(HWND dialog, WPARAM activateWParam) {
    if (LOWORD(activateWParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(dialog, focus)) SetPropW(dialog, kSavedFocus, focus);
        return;
    }
    if (HIWORD(activateWParam) != 0) return;  // minimized: no focus to give
    HWND saved = static_cast<HWND>(GetPropW(dialog, kSavedFocus));
    if (saved != nullptr && IsChild(dialog, saved) && IsWindowVisible(saved) && IsWindowEnabled(saved))
        SetFocus(saved);  // not WM_NEXTDLGCTL, which would select an edit's whole text
}

UniqueHook SwitchPagesWithCtrlTab(HWND dialog, int tabsId) {
    SetPropW(dialog, kPageTabs, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(tabsId)));
    return UniqueHook(SetWindowsHookExW(WH_MSGFILTER, CtrlTabFilter, nullptr, GetCurrentThreadId()));
}

void ForgetKeyboardState(HWND dialog) {
    RemovePropW(dialog, kSavedFocus);
    RemovePropW(dialog, kPageTabs);
}

}  // namespace pw
