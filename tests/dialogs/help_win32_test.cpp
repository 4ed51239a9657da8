// The help choice (help file or own help) and the help window, on dialogs
// made here from the program's own templates. The notes on each control are
// tested end to end (tests/e2e/dpi_help_e2e_test.cpp).
#include "dialogs/help_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "dialogs/help_window_win32.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "win32/dpi_win32.h"

namespace pw {
namespace {

const DWORD kTable[] = {IDC_TITLE, 3, 0, 0};

// A dialog from one of the program's templates whose WM_HELP goes to the
// help system under test.
class HelpTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
    }

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (message != WM_HELP) return FALSE;
        auto* self = reinterpret_cast<HelpTest*>(GetWindowLongPtrA(dialog, DWLP_USER));
        ShowContextHelp(self->help_, dialog, *reinterpret_cast<const HELPINFO*>(lParam), kTable);
        return TRUE;
    }

    HWND Open(int templateId) {
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
        ShowWindow(dialog_, SW_SHOW);
        return dialog_;
    }

    // WM_HELP as F1 on the control sends it to the dialog.
    void Request(HANDLE item, int type = HELPINFO_WINDOW) {
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = type;
        info.hItemHandle = item;
        SendMessageA(dialog_, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
    // The dialog's message loop, until `done` or a while has passed.
    template <typename Done>
    void Pump(Done done) {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (IsDialogMessageA(dialog_, &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (done()) return;
            Sleep(2);
        } while (GetTickCount() - start < 300);
    }

    // The help system with the platform's notes and window, and the help
    // file's presence and WinHelpA replaced.
    HelpSystem help_ = HelpSystem::ForProgram();
    HWND dialog_ = nullptr;
};

// The same requests with and without the help file beside the program: with
// it, WinHelpA exactly as the program always called it; without it, the own
// help, for the dialog's own controls only.
TEST_F(HelpTest, HelpFileGetsTheCallsItAlwaysGotElseTheOwnHelpAnswers) {
    HWND form = Open(IDD_MAIN_ADVANCED);
    HWND outside = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND comboEdit = GetWindow(GetDlgItem(form, IDC_PARENT), GW_CHILD);
    const auto name = [&](HANDLE item) {
        if (item == form) return std::string("form");
        if (item == GetMenu(form)) return std::string("menu");
        if (item == outside) return std::string("outside");
        return std::to_string(GetDlgCtrlID(static_cast<HWND>(item)));
    };
    std::vector<std::string> calls;
    help_.winHelp = [&](HWND window, const char* file, UINT command, ULONG_PTR data) {
        const char* table = data == 0 ? "0" : data == reinterpret_cast<ULONG_PTR>(kTable) ? "table" : "?";
        calls.push_back("WinHelpA " + name(window) + " " + file + " " + std::to_string(command) + " " + table);
        return TRUE;
    };
    help_.openHelpWindow = [&](HWND owner) { return calls.push_back("window " + name(owner)), HWND{}; };
    help_.showNote = [&](HWND control, const std::string& text) {
        const bool right = text == ControlHelpText(GetDlgCtrlID(control));
        return calls.push_back("note " + name(control) + (right ? "" : " with another's text")), HWND{};
    };
    const std::string contents = " PROMPTWRIGHT HELP.HLP " + std::to_string(HELP_CONTENTS) + " 0";
    const std::string context = " PROMPTWRIGHT HELP.HLP " + std::to_string(HELP_WM_HELP) + " table";
    const std::string topmost = std::to_string(IDC_TOPMOST), parent = std::to_string(IDC_PARENT);
    for (const bool fileThere : {true, false}) {
        SCOPED_TRACE(fileThere);
        help_.helpFileUsable = [fileThere] { return fileThere; };
        calls.clear();
        ShowHelpContents(help_, form);
        Request(GetDlgItem(form, IDC_TOPMOST));
        Request(comboEdit);  // F1 in a combo box's edit field is help on the combo box
        Request(GetMenu(form), HELPINFO_MENUITEM);
        Request(outside);                      // passed up from a window the dialog owns
        Request(GetDlgItem(form, IDC_LABEL));  // a group box has no note
        const std::vector<std::string> expected =
            fileThere ? std::vector<std::string>{"WinHelpA form" + contents,
                                                 "WinHelpA " + topmost + context,
                                                 "WinHelpA " + name(comboEdit) + context,
                                                 "WinHelpA menu" + context,
                                                 "WinHelpA outside" + context,
                                                 "WinHelpA " + std::to_string(IDC_LABEL) + context}
                      : std::vector<std::string>{"window form", "note " + topmost, "note " + parent, "window form"};
        EXPECT_EQ(calls, expected);
    }
    DestroyWindow(outside);
}

TEST_F(HelpTest, HelpFileIsLookedForBesideTheProgram) {
    const test::TempDir dir, elsewhere;
    const std::string program = dir.File("promptwright.exe");
    EXPECT_FALSE(HelpFileBeside(program));
    CreateDirectoryA(dir.File("PROMPTWRIGHT HELP.HLP").c_str(), nullptr);
    EXPECT_FALSE(HelpFileBeside(program)) << "a folder of that name";
    RemoveDirectoryA(dir.File("PROMPTWRIGHT HELP.HLP").c_str());
    dir.Write("PROMPTWRIGHT HELP.HLP", "");
    EXPECT_TRUE(HelpFileBeside(program));
    EXPECT_FALSE(HelpFileBeside(elsewhere.File("promptwright.exe")));
}

// Windows 10 and 11 hold a stub winhlp32.exe that only says Windows Help
// is not supported; the .HLP is shown only where the viewer is.
TEST_F(HelpTest, HelpFileIsShownOnlyWhereTheWindowsFolderHoldsTheViewer) {
    const struct {
        const char* what;
        std::size_t size;  // of winhlp32.exe; 0: none
        bool folder;       // a folder of that name
        bool viewer;
    } cases[] = {
        {"none", 0, false, false},
        {"the stub", 9 * 1024, false, false},
        {"the viewer", 300 * 1024, false, true},
        {"a folder", 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::TempDir windows;
        if (c.size > 0) windows.Write("winhlp32.exe", std::string(c.size, 'x'));
        if (c.folder) CreateDirectoryA(windows.File("winhlp32.exe").c_str(), nullptr);
        EXPECT_EQ(WinHelpViewerIn(windows.path()), c.viewer);
    }
}

LONG FontHeight(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

TEST_F(HelpTest, HelpWindowShowsEachTopicResizesAndFollowsTheDpi) {
    HWND form = Open(IDD_MAIN_ADVANCED);
    HWND window = OpenHelpWindow(form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(OpenHelpWindow(form), window) << "one per owner";
    EXPECT_EQ(GetWindow(window, GW_OWNER), form);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME) << "resizable";
    HWND topics = GetDlgItem(window, IDC_HELP_TOPICS);
    HWND text = GetDlgItem(window, IDC_HELP_TEXT);
    const LRESULT count = SendMessageA(topics, LB_GETCOUNT, 0, 0);
    ASSERT_GE(count, 10);
    std::vector<std::string> shown;
    for (LRESULT i = 0; i < count; ++i) {
        SendMessageA(topics, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_HELP_TOPICS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(topics));
        shown.push_back(WindowText(text));
        EXPECT_GT(shown.back().size(), 100u) << i;
        if (i > 0) {
            EXPECT_NE(shown[static_cast<std::size_t>(i)], shown[static_cast<std::size_t>(i - 1)]);
        }
    }
    EXPECT_EQ(shown.front().rfind("Promptwright writes", 0), 0u);

    // The text takes the room the window is given.
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{}, textRect{};
    GetClientRect(window, &client);
    GetWindowRect(text, &textRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&textRect), 2);
    EXPECT_GT(textRect.right, client.right * 9 / 10);
    EXPECT_GT(textRect.bottom, client.bottom * 9 / 10);

    // Moved to a monitor of twice the scale: the text and the icons double.
    const UINT dpi = WindowDpi(window);
    const LONG height = FontHeight(text);
    const int icon = IconSize(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0))).cx;
    RECT suggested{0, 0, 800, 600};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(static_cast<double>(FontHeight(text)) / height, 2.0, 0.15);
    EXPECT_EQ(IconSize(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0))).cx, 2 * icon);

    // Escape closes it; the form's own destruction takes one still open.
    PostMessageA(text, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    window = OpenHelpWindow(form);
    ASSERT_NE(window, nullptr);
    DestroyWindow(form);
    dialog_ = nullptr;
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace pw
