// Every window from the keyboard: what Tab reaches, access keys that do not
// clash (in the window with its menu bar, and in each menu), Escape in the
// multi-line boxes, QuickInsert without a mouse, and the focus after About.
#include "dialogs/keyboard_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "dialogs/about_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The access key of a text ("&&" is a literal ampersand); 0 for none.
char AccessKey(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

std::string MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return Utf8(text);
}

// Texts that share an access key, as "A: first / second"; empty when none do.
std::vector<std::string> Clashes(const std::vector<std::string>& texts) {
    std::map<char, std::string> seen;
    std::vector<std::string> clashes;
    for (const std::string& text : texts) {
        const char key = AccessKey(text);
        if (key == 0) continue;
        if (auto [it, added] = seen.emplace(key, text); !added) clashes.push_back(it->second + " / " + text);
    }
    return clashes;
}

void CheckMenu(HMENU menu, const std::string& name) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        texts.push_back(MenuText(menu, i));
        if (HMENU sub = GetSubMenu(menu, i)) CheckMenu(sub, name + " > " + texts.back());
    }
    EXPECT_EQ(Clashes(texts), std::vector<std::string>{}) << name;
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Utf8(name);
}

bool IsRadio(HWND control) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    return ClassOf(control) == "Button" &&
           ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON || (style & BS_TYPEMASK) == BS_RADIOBUTTON);
}

TEST(Keyboard, EveryWindowHasItsTabStopsRadioGroupsAndAccessKeysWithoutAClash) {
    const struct {
        int dialog;
        std::vector<int> reached;     // by Tab from the first tab stop
        std::vector<int> notReached;  // out of sight, or inside a group
        std::vector<int> checked = {};  // radio buttons checked before Tab, as ClearForm does
    } windows[] = {
        {IDD_MAIN_SIMPLE,
         {IDC_TITLE, IDC_TEXT, IDC_PARENT, IDC_BUTTONS, IDC_ICON, IDC_TOPMOST, IDC_EXIT},
         {IDC_TYPE_BOX}},
        // Checked, the out-of-sight radio button makes itself a tab stop.
        {IDD_MAIN_SIMPLE, {IDC_TITLE, IDC_EXIT}, {IDC_TYPE_BOX}, {IDC_TYPE_BOX}},
        {IDD_MAIN_ADVANCED,
         {IDC_PARENT, IDC_APPLMODAL, IDC_HELPBUTTON, IDC_LANGUAGE, IDC_TYPE_BOX, IDC_OTHERSTYLE, IDC_CODE, IDC_PREVIEW},
         {IDC_SYSTEMMODAL, IDC_TASKMODAL, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT}},
        {IDD_QUICKINSERT, {IDC_QI_TABS, IDC_QI_LIST, IDC_QI_CODE, IDC_EXIT}, {IDC_QI_TREE}},
        {IDD_ABOUT, {IDC_ABOUT_LINK, IDC_OK}, {}},
        {IDD_PARAMS, {IDC_PARAMS_NAME, IDC_PARAMS_HELPID, IDC_OK}, {}},
        {IDD_TASKDIALOG, {IDC_TD_TITLE, IDC_TD_EXPANDEDVAR, IDC_TD_CODE, IDC_TD_CLOSE}, {}},
        {IDD_HELP, {IDC_HELP_TOPICS, IDC_HELP_TEXT}, {}},
    };
    for (const auto& window : windows) {
        SCOPED_TRACE(window.dialog);
        HWND dialog =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(window.dialog), nullptr, InertProc, 0);
        ASSERT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOWNA);

        for (int id : window.checked) SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
        RECT client{};
        GetClientRect(dialog, &client);
        std::set<int> reached;
        // From the last control, as Tab wraps: Windows refuses a null start.
        HWND first = GetNextDlgTabItem(dialog, GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDLAST), FALSE);
        for (HWND at = first; at != nullptr && reached.insert(GetDlgCtrlID(at)).second;) {
            RECT rect{};
            GetWindowRect(at, &rect);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
            RECT seen{};
            EXPECT_TRUE(IntersectRect(&seen, &rect, &client)) << GetDlgCtrlID(at) << " is reached outside the window";
            at = GetNextDlgTabItem(dialog, at, FALSE);
        }
        for (int id : window.reached) EXPECT_TRUE(reached.count(id)) << id << " is not reached with Tab";
        for (int id : window.notReached) EXPECT_FALSE(reached.count(id)) << id << " is reached with Tab";

        // The window's controls with its menu bar share one set of keys; the
        // dialog manager's rules for radio groups hold.
        std::vector<std::string> texts;
        bool inGroup = false;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            texts.push_back(WindowText(child));
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            const int id = GetDlgCtrlID(child);
            // The template's styles, as long as no check has changed them.
            if (IsRadio(child) && window.checked.empty()) {
                EXPECT_EQ(
                    style & (WS_GROUP | WS_TABSTOP),
                    inGroup ? 0 : WS_GROUP | (id == IDC_TYPE_BOX && window.dialog == IDD_MAIN_SIMPLE ? 0 : WS_TABSTOP))
                    << "radio " << id;
                inGroup = true;
            } else if (inGroup) {
                EXPECT_TRUE(style & WS_GROUP) << id << " does not close the radio group before it";
                inGroup = false;
            }
        }
        if (HMENU bar = GetMenu(dialog)) {
            for (int i = 0; i < GetMenuItemCount(bar); ++i) texts.push_back(MenuText(bar, i));
            CheckMenu(bar, "menu bar");
        }
        EXPECT_EQ(Clashes(texts), std::vector<std::string>{});
        DestroyWindow(dialog);
    }
}

// Runs `modal` while `steps` run one per timer tick inside its modal loop.
class Ticks {
public:
    static void Run(std::vector<std::function<void()>> steps, const std::function<void()>& modal) {
        steps_ = std::move(steps);
        next_ = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, Tick);
        modal();
        KillTimer(nullptr, timer);
        steps_.clear();
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (next_ < steps_.size()) steps_[next_++]();
    }
    static inline std::vector<std::function<void()>> steps_;
    static inline std::size_t next_ = 0;
};

void PumpPending() {
    MSG msg;
    for (int i = 0; i < 5; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            if (root != nullptr && IsDialogMessageW(root, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

void PostKey(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 1 | (3u << 30));
}

// The main form in `layout`, with a settings file that is never there.
HWND FormWithoutSettings(AppContext& context, Layout layout) {
    context.settings.layout = layout;
    context.settings.settingsPath = "Z:\\nonexistent\\promptwright.ini";
    return CreateMainForm(context);
}

TEST(Keyboard, EscapeInTheFormsMultiLineBoxesLeavesTheFormOpenWithItsText) {
    AppContext context;
    HWND form = FormWithoutSettings(context, Layout::Advanced);
    ASSERT_NE(form, nullptr);
    for (int id : {IDC_TITLE, IDC_TEXT, IDC_CODE}) {
        SCOPED_TRACE(id);
        HWND box = GetDlgItem(form, id);
        SetWindowTextW(box, L"kept");
        SetFocus(box);
        PostKey(box, VK_ESCAPE);
        PumpPending();
        EXPECT_TRUE(IsWindowVisible(form));
        EXPECT_EQ(WindowText(box), "kept");
    }
    DestroyWindow(form);
    PumpPending();
}

HWND ActiveWithCaption(const wchar_t* caption) {
    HWND active = GetActiveWindow();
    wchar_t text[64] = {};
    GetWindowTextW(active, text, 64);
    return std::wstring(text) == caption ? active : nullptr;
}

// From -QI: Escape in the code box keeps the window; Ctrl+Tab turns the pages;
// an arrow key in the slot list chooses a slot as a click does.
TEST(Keyboard, QuickInsertIsUsableWithoutAMouse) {
    test::TempDir temp;
    AppContext context;
    context.settings.settingsPath =
        temp.Write("promptwright.ini", "[QuickBox]\r\nAlpha=MessageBox(NULL, \"a\", \"A\", MB_OK);\r\n");
    context.settings.quickInsertOnly = true;
    HWND window = nullptr;
    int pageAfterCtrlTab = -1, pageAfterCtrlShiftTab = -1;
    bool openAfterEscape = false, insertEnabled = false, copyEnabled = false;
    std::string codeAfterEscape;
    const auto ctrlTab = [&](bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE pressed[256];
        std::copy(std::begin(keys), std::end(keys), pressed);
        pressed[VK_CONTROL] = 0x80;
        pressed[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(pressed);
        MSG msg{GetDlgItem(window, IDC_QI_LIST), WM_KEYDOWN, VK_TAB, 1, 0, {}};
        CallMsgFilterW(&msg, MSGF_DIALOGBOX);
        SetKeyboardState(keys);
        return static_cast<int>(SendDlgItemMessageW(window, IDC_QI_TABS, TCM_GETCURSEL, 0, 0));
    };
    Ticks::Run(
        {[&] { window = ActiveWithCaption(L"Promptwright - QuickInsert"); }, [&] { pageAfterCtrlTab = ctrlTab(false); },
         [&] {
             SetDlgItemTextW(window, IDC_QI_CODE, L"typed");
             SetFocus(GetDlgItem(window, IDC_QI_CODE));
             PostKey(GetDlgItem(window, IDC_QI_CODE), VK_ESCAPE);
         },
         [&] {
             openAfterEscape = IsWindowVisible(window) != FALSE;
             codeAfterEscape = WindowText(GetDlgItem(window, IDC_QI_CODE));
             pageAfterCtrlShiftTab = ctrlTab(true);
             SetFocus(GetDlgItem(window, IDC_QI_LIST));
             PostKey(GetDlgItem(window, IDC_QI_LIST), VK_DOWN);
         },
         [&] {
             insertEnabled = IsWindowEnabled(GetDlgItem(window, IDC_INSERT)) != FALSE;
             copyEnabled = IsWindowEnabled(GetDlgItem(window, IDC_COPY)) != FALSE;
             PostMessageW(window, WM_COMMAND, IDC_EXIT, 0);
         }},
        [&] { RunQuickInsert(nullptr, context); });
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pageAfterCtrlTab, 1);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(codeAfterEscape, "typed");
    EXPECT_EQ(pageAfterCtrlShiftTab, 0);
    EXPECT_TRUE(insertEnabled);
    EXPECT_TRUE(copyEnabled);
}

TEST(Keyboard, FocusComesBackToDialogTextAfterAbout) {
    AppContext context;
    HWND form = FormWithoutSettings(context, Layout::Simple);
    ASSERT_NE(form, nullptr);
    SetActiveWindow(form);
    SetFocus(GetDlgItem(form, IDC_TEXT));
    ASSERT_EQ(GetFocus(), GetDlgItem(form, IDC_TEXT));
    HWND about = nullptr;
    Ticks::Run({[&] {
                   about = ActiveWithCaption(L"about");
                   PostMessageW(about, WM_COMMAND, IDC_OK, 0);
               }},
               [&] { RunAboutBox(form, context); });
    EXPECT_NE(about, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(form, IDC_TEXT));
    DestroyWindow(form);
    PumpPending();
}

}  // namespace
}  // namespace pw
