// QuickInsert run as under -QI, driven from the watching thread: a slot gone
// from the settings file while the window is open, and Edit of a statement
// with a task-dialog start-up slot in the settings.
#include "dialogs/quick_insert_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "common/wide_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/shown_boxes_win32.h"
#include "res/resource.h"
#include "win32/clipboard_win32.h"
#include "win32/dialog_form_win32.h"

namespace pw {
namespace {

struct FoundDialogs {
    HWND except;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectVisibleDialog(HWND window, LPARAM param) {
    auto& found = *reinterpret_cast<FoundDialogs*>(param);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (window != found.except && std::wstring(name) == L"#32770" && IsWindowVisible(window))
        found.dialogs.push_back(window);
    return TRUE;
}

// The visible dialogs of `thread` but `except`.
std::vector<HWND> VisibleDialogs(DWORD thread, HWND except) {
    FoundDialogs found{except, {}};
    EnumThreadWindows(thread, CollectVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found.dialogs;
}

// Waits for a message box on `thread`, answers it with OK and gives its text.
std::string AnswerBox(DWORD thread, HWND quickInsert) {
    for (int tries = 0; tries < 250; ++tries, Sleep(20)) {
        for (HWND box : VisibleDialogs(thread, quickInsert)) {
            HWND message = GetDlgItem(box, 0xFFFF);
            if (message == nullptr) continue;
            const std::string text = test::WideWindowText(message);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box)) Sleep(10);
            return text;
        }
    }
    return "<no box>";
}

void Select(HWND quickInsert, const char* slot) {
    HWND list = GetDlgItem(quickInsert, IDC_QI_LIST);
    const std::wstring name(slot, slot + std::char_traits<char>::length(slot));
    SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(name.c_str())),
                 0);
    SendMessageW(quickInsert, WM_COMMAND, MAKEWPARAM(IDC_QI_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

class QuickInsertRun : public ::testing::Test {
protected:
    void SetUp() override {
        context_.settings.settingsPath = temp_.Write(
            "promptwright.ini", "[Settings]\r\nStartupQuickBox=Designed\r\n[QuickBox]\r\nDesigned=" + kTaskDialog +
                                    "\r\nA=" + kBox + "\r\nB=" + kBox + "\r\nC=NOT FOUND\r\n");
        context_.settings.startupQuickBox = "Designed";
        context_.settings.targetFiles = {temp_.Write("source.c", "a/*MB*/b")};
        context_.settings.markers = {"/*MB*/"};
        context_.settings.insertCopy = ClipboardMode::CopyCode;
        context_.settings.insertShutDown = true;
        context_.settings.parents = {"NULL"};
        context_.createMainForm = [this] { return CreateMainForm(context_, StartupSlot::Skip); };
        context_.openTaskDialog = [this](HWND, const std::string& statement) {
            designed_.push_back(statement);
            return INT_PTR{0};
        };
    }
    void TearDown() override {
        MSG quit;  // a destroyed main form posts one
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    const std::string kTaskDialog =
        "TaskDialog(NULL, NULL, L\"T\", L\"Main\", L\"Content\", TDCBF_OK_BUTTON, NULL, NULL);";
    const std::string kBox = "MessageBox(NULL, \"Chosen\", \"Title\", MB_OK);";
    test::TempDir temp_;
    AppContext context_;
    std::vector<std::string> designed_;  // what went to the designer
};

// Insert, Copy and Edit of a slot deleted meanwhile (or stored as NOT FOUND)
// are told and do nothing else; the window stays, the list read again.
TEST_F(QuickInsertRun, ASlotGoneFromTheSettingsFileIsToldAndNothingElseHappens) {
    ASSERT_TRUE(CopyToClipboard(nullptr, "before"));
    const DWORD thread = GetCurrentThreadId();
    const struct {
        const char* slot;
        bool deleted;  // else stored as NOT FOUND
        int command;
    } cases[] = {{"A", true, IDC_INSERT}, {"C", false, IDC_COPY}, {"B", true, IDC_QI_EDIT}};
    std::vector<std::string> seen;
    const auto visit = [&](HWND quickInsert) {
        if (!seen.empty()) return;
        for (const auto& c : cases) {
            Select(quickInsert, c.slot);
            if (c.deleted)
                WritePrivateProfileStringW(L"QuickBox", std::wstring(c.slot, c.slot + 1).c_str(), nullptr,
                                           test::Wide(context_.settings.settingsPath).c_str());
            PostMessageW(quickInsert, WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
            seen.push_back(AnswerBox(thread, quickInsert));
            HWND list = GetDlgItem(quickInsert, IDC_QI_LIST);
            const std::wstring name(c.slot, c.slot + 1);
            const LRESULT found = SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(name.c_str()));
            EXPECT_EQ(found == LB_ERR, c.deleted) << c.slot;  // a NOT FOUND key is still a key
            EXPECT_TRUE(IsWindowVisible(quickInsert)) << c.slot;
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(quickInsert, IDC_INSERT))) << "nothing selected";
        }
    };
    EXPECT_EQ(test::BoxesShownBy([&] { EXPECT_EQ(RunQuickInsert(nullptr, context_), 0); }, visit).size(), 1u);
    EXPECT_EQ(seen, (std::vector<std::string>{"QuickBox slot 'A' is not in the settings file any more",
                                              "QuickBox slot 'C' is not in the settings file any more",
                                              "QuickBox slot 'B' is not in the settings file any more"}));
    EXPECT_EQ(temp_.Read("source.c"), "a/*MB*/b");
    EXPECT_EQ(context_.mainFormWindow, nullptr);
    EXPECT_TRUE(designed_.empty());
}

// Edit opens the main form with the chosen statement alone: the start-up
// slot, a task dialog, neither opens the designer nor reaches the form.
TEST_F(QuickInsertRun, EditOpensTheChosenStatementWithoutTheStartupSlot) {
    const DWORD thread = GetCurrentThreadId();
    std::string formText = "<no form>";
    HWND form = nullptr;
    const auto visit = [&](HWND quickInsert) {
        if (formText != "<no form>") return;
        Select(quickInsert, "A");
        PostMessageW(quickInsert, WM_COMMAND, MAKEWPARAM(IDC_QI_EDIT, 0), 0);
        for (int tries = 0; tries < 100 && IsWindowVisible(quickInsert); ++tries) Sleep(20);
        Sleep(300);  // time for a posted start-up load to show itself
        const std::vector<HWND> open = VisibleDialogs(thread, quickInsert);
        ASSERT_EQ(open.size(), 1u);
        form = open[0];
        formText = test::WideWindowText(GetDlgItem(form, IDC_TEXT));
        PostMessageW(form, WM_CLOSE, 0, 0);  // ends QuickInsert too
    };
    test::BoxesShownBy([&] { RunQuickInsert(nullptr, context_); }, visit);
    EXPECT_EQ(formText, "Chosen");
    EXPECT_TRUE(designed_.empty());
    EXPECT_EQ(context_.mainFormWindow, nullptr) << "the form closed is destroyed";
    EXPECT_FALSE(IsWindow(form));
}

}  // namespace
}  // namespace pw
