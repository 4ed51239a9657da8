#include "dialogs/help_window_win32.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "core/help/help_topics.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/guard_win32.h"
#include "win32/dpi_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// The help window open over a window, a property of that window; and the mark
// by which the key filter knows a help window.
constexpr wchar_t kOpenHelpWindow[] = L"Promptwright.HelpWindow";
constexpr wchar_t kHelpWindowMark[] = L"Promptwright.IsHelpWindow";
// Set while the filter hands a message to the help window: IsDialogMessage
// calls the filters itself, which must then let the message pass.
constexpr wchar_t kFiltering[] = L"Promptwright.HelpWindow.Filtering";

// Owned by the window (DWLP_USER), freed with it.
struct HelpWindow {
    HWND owner = nullptr;
    std::vector<HelpTopic> topics;
    UniqueFont textFont;  // the message font at the window's DPI
    SizedIcon smallIcon;
    SizedIcon bigIcon;
    UniqueHook keyFilter;
};

HelpWindow* Data(HWND window) { return reinterpret_cast<HelpWindow*>(GetWindowLongPtrW(window, DWLP_USER)); }

std::string_view HelpText(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_HELP_TEXT), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (found == nullptr) return {};
    const void* text = LockResource(LoadResource(instance, found));
    return text != nullptr ? std::string_view(static_cast<const char*>(text), SizeofResource(instance, found))
                           : std::string_view{};
}

// The help window's owner runs the modal loop of a dialog, which gives dialog
// keys (Tab, Escape) to that dialog only. This filter gives a help window's
// keys to the help window. Stateless: it knows a help window by its mark.
LRESULT CALLBACK HelpKeysFilter(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg != nullptr && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HWND root = GetAncestor(msg->hwnd, GA_ROOT);
        if (root != nullptr && GetPropW(root, kHelpWindowMark) != nullptr && GetPropW(root, kFiltering) == nullptr) {
            SetPropW(root, kFiltering, root);
            const BOOL handled = IsDialogMessageW(root, msg);
            RemovePropW(root, kFiltering);
            if (handled) return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowTopic(HWND window, const HelpWindow& data, LRESULT index) {
    if (index < 0 || static_cast<std::size_t>(index) >= data.topics.size()) return;
    SetDlgItemTextW(window, IDC_HELP_TEXT, Utf16(data.topics[static_cast<std::size_t>(index)].text).c_str());
}

// The text's font and the window's icons, made for `dpi`; the old ones go
// once the window no longer uses them.
void ApplyDpi(HWND window, HelpWindow& data, UINT dpi) {
    const LOGFONTW logical = MessageFontForDpi(dpi);
    UniqueFont font(CreateFontIndirectW(&logical));
    SendDlgItemMessageW(window, IDC_HELP_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    data.textFont = std::move(font);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    SizedIcon small = LoadIconForDpi(instance, MAKEINTRESOURCEW(IDI_PROGRAM), SM_CXSMICON, dpi);
    SizedIcon big = LoadIconForDpi(instance, MAKEINTRESOURCEW(IDI_PROGRAM), SM_CXICON, dpi);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    data.smallIcon = std::move(small);
    data.bigIcon = std::move(big);
}

// The topics on the left, at most two fifths of the width; the text beside.
void Layout(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    RECT units{7, 0, 100, 0};  // margin and topic list width, in dialog units
    MapDialogRect(window, &units);
    const int margin = units.left;
    const int listWidth = std::min<int>(units.right, client.right * 2 / 5);
    const int height = std::max<int>(0, client.bottom - 2 * margin);
    const int textLeft = 2 * margin + listWidth;
    MoveWindow(GetDlgItem(window, IDC_HELP_TOPICS), margin, margin, listWidth, height, TRUE);
    MoveWindow(GetDlgItem(window, IDC_HELP_TEXT), textLeft, margin, std::max<int>(0, client.right - textLeft - margin),
               height, TRUE);
}

// At most nine tenths of the work area of its monitor, in its middle: the
// template's size may not fit a small screen at a high scale.
void FitToMonitor(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(rect.right - rect.left, (work.right - work.left) * 9 / 10);
    const int height = std::min<int>(rect.bottom - rect.top, (work.bottom - work.top) * 9 / 10);
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInitDialog(HWND window, HWND owner) {
    auto* data = new HelpWindow;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
    data->owner = owner;
    data->topics = SplitHelpTopics(HelpText(GetModuleHandleW(nullptr)));
    HWND list = GetDlgItem(window, IDC_HELP_TOPICS);
    for (const HelpTopic& topic : data->topics)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(topic.title).c_str()));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    ShowTopic(window, *data, 0);
    // The window has no labels.
    NameControl(window, IDC_HELP_TOPICS, "Help topics");
    NameControl(window, IDC_HELP_TEXT, "Help text");
    ApplyDpi(window, *data, WindowDpi(window));
    SetPropW(window, kHelpWindowMark, window);
    if (owner != nullptr) SetPropW(owner, kOpenHelpWindow, window);
    data->keyFilter.Reset(SetWindowsHookExW(WH_MSGFILTER, HelpKeysFilter, nullptr, GetCurrentThreadId()));
    FitToMonitor(window);
    Layout(window);
}

void OnDestroy(HWND window, HelpWindow& data) {
    data.keyFilter.Reset();
    RemovePropW(window, kHelpWindowMark);
    if (data.owner != nullptr && GetPropW(data.owner, kOpenHelpWindow) == window)
        RemovePropW(data.owner, kOpenHelpWindow);
}

INT_PTR CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AnswerScreenReaders(window, message);
    if (message == WM_INITDIALOG) {
        OnInitDialog(window, reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    HelpWindow* data = Data(window);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_HELP_TOPICS && HIWORD(wParam) == LBN_SELCHANGE)
            ShowTopic(window, *data, SendDlgItemMessageW(window, IDC_HELP_TOPICS, LB_GETCURSEL, 0, 0));
        else if (LOWORD(wParam) == IDCANCEL)  // Escape
            DestroyWindow(window);
        return TRUE;
    case WM_CLOSE: DestroyWindow(window); return TRUE;
    case WM_SIZE: Layout(window); return TRUE;
    case WM_GETMINMAXINFO: {
        RECT least{0, 0, 200, 120};
        MapDialogRect(window, &least);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {least.right, least.bottom};
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        // The text reads better on the window colour than on a read-only grey.
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window, IDC_HELP_TEXT)) return FALSE;
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DPICHANGED: {
        ApplyDpi(window, *data, DpiOfDpiChanged(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return FALSE;  // the dialog manager rescales the template's font and controls
    }
    case WM_DESTROY: OnDestroy(window, *data); return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, DWLP_USER, 0);
        delete data;
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

HWND OpenHelpWindow(HWND owner) {
    if (owner != nullptr) {
        HWND open = static_cast<HWND>(GetPropW(owner, kOpenHelpWindow));
        if (open != nullptr && IsWindow(open)) {
            if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
            SetActiveWindow(open);
            return open;
        }
    }
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_HELP), owner,
                                     GuardedDialogProc<HelpWindowProc>, reinterpret_cast<LPARAM>(owner));
    if (window != nullptr) ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace pw
