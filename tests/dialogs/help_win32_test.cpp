// The help choice (help file or own help) and the help window, on dialogs
// made here from the program's own templates. The notes on each control are
// tested end to end (tests/e2e/dpi_help_e2e_test.cpp).
#include "dialogs/help_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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

struct WinHelpCall {
    HWND window;
    std::string file;
    UINT command;
    ULONG_PTR data;
};

TEST_F(HelpTest, WithTheHelpFileBesideTheProgramWinHelpIsCalledAsAlways) {
    std::vector<WinHelpCall> calls;
    int others = 0;
    help_.helpFileExists = [] { return true; };
    help_.winHelp = [&](HWND window, const char* file, UINT command, ULONG_PTR data) {
        calls.push_back({window, file, command, data});
        return TRUE;
    };
    help_.openHelpWindow = [&](HWND) { return ++others, HWND{}; };
    help_.showNote = [&](HWND, const std::string&) { return ++others, HWND{}; };
    HWND form = Open(IDD_MAIN_ADVANCED);
    ShowHelpContents(help_, form);
    Request(GetDlgItem(form, IDC_TITLE));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].window, form);
    EXPECT_EQ(calls[0].file, "PROMPTWRIGHT HELP.HLP");
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(calls[0].data, 0u);
    EXPECT_EQ(calls[1].window, GetDlgItem(form, IDC_TITLE));
    EXPECT_EQ(calls[1].file, "PROMPTWRIGHT HELP.HLP");
    EXPECT_EQ(calls[1].command, static_cast<UINT>(HELP_WM_HELP));
    EXPECT_EQ(calls[1].data, reinterpret_cast<ULONG_PTR>(kTable));
    EXPECT_EQ(others, 0);
}

TEST_F(HelpTest, WithoutItTheOwnHelpAnswersForTheDialogsOwnControlsOnly) {
    std::vector<std::string> answers;
    help_.helpFileExists = [] { return false; };
    help_.winHelp = [&](HWND, const char*, UINT, ULONG_PTR) { return answers.push_back("WinHelpA"), TRUE; };
    help_.openHelpWindow = [&](HWND) { return answers.push_back("window"), HWND{}; };
    help_.showNote = [&](HWND control, const std::string&) {
        return answers.push_back("note " + std::to_string(GetDlgCtrlID(control))), HWND{};
    };
    HWND form = Open(IDD_MAIN_ADVANCED);
    HWND outside = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ShowHelpContents(help_, form);
    Request(GetDlgItem(form, IDC_TOPMOST));
    // F1 in the combo box's edit field is help on the combo box.
    Request(GetWindow(GetDlgItem(form, IDC_PARENT), GW_CHILD));
    Request(GetMenu(form), HELPINFO_MENUITEM);
    Request(outside);
    Request(GetDlgItem(form, IDC_LABEL));  // a group box: no note
    EXPECT_EQ(answers, (std::vector<std::string>{"window", "note " + std::to_string(IDC_TOPMOST),
                                                 "note " + std::to_string(IDC_PARENT), "window"}));
    DestroyWindow(outside);
}

TEST_F(HelpTest, HelpFileIsLookedForBesideTheProgram) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + "pw-help-" + std::to_string(GetCurrentProcessId());
    const std::string file = folder + "\\PROMPTWRIGHT HELP.HLP";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string program = folder + "\\promptwright.exe";
    EXPECT_FALSE(HelpFileBeside(program));
    CreateDirectoryA(file.c_str(), nullptr);
    EXPECT_FALSE(HelpFileBeside(program)) << "a folder of that name";
    RemoveDirectoryA(file.c_str());
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(HelpFileBeside(program));
    EXPECT_FALSE(HelpFileBeside(std::string(base) + "elsewhere\\promptwright.exe"));
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
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
