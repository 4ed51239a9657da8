// The task dialog designer made here: every field of a configuration goes
// through the window and comes back, the button lists are edited as a user
// edits them, and what cannot be written is refused with the reason.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/help_win32.h"
#include "dialogs/shown_boxes_win32.h"
#include "dialogs/task_dialog_designer_testing_win32.h"
#include "dialogs/task_dialog_preview_win32.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

TaskDialogConfig Full() {
    TaskDialogConfig config;
    config.owner = "hWnd";
    config.title = {"szTitle", true};
    config.mainInstruction = {"Save changes to \"report.txt\"?", false};
    config.content = {"Line one\r\nLine two \u00E9\u00E8", false};
    config.mainIcon = TaskIcon::Shield;
    config.commonButtons = kTaskOk | kTaskYes | kTaskNo | kTaskCancel | kTaskRetry | kTaskClose;
    config.buttons = {{"IDC_SAVE", "&Save\r\nWrites the file"}, {"1002", "Do&n't save"}, {"IDCANCEL + 100", "Later"}};
    config.commandLinks = true;
    config.defaultButton = "1002";
    config.radioButtons = {{"IDC_ONCE", "Only this time"}, {"0x7D2", "Always"}};
    config.defaultRadioButton = "0x7D2";
    config.noDefaultRadioButton = true;
    config.verification = {"Do not ask again", false};
    config.verificationChecked = true;
    config.expandedInformation = {"Details\r\nmore details", false};
    config.expandedByDefault = true;
    config.expandFooterArea = true;
    config.expandedControlText = {"Hide details", false};
    config.footer = {"szFooter", true};
    config.collapsedControlText = {"szMore", true};  // no check box for it: the mark is kept as read
    config.footerIcon = TaskIcon::Information;
    config.allowCancellation = true;
    config.enableHyperlinks = true;
    config.canBeMinimized = true;
    config.positionRelativeToWindow = true;
    config.rtlLayout = true;
    config.sizeToContent = true;
    config.width = 320;
    return config;
}

class TaskDialogDesigner : public ::testing::Test {
protected:
    void SetUp() override {
        // Writable: Load code stores the answer handling it puts in force.
        context_.settings.settingsPath = temp_.File("promptwright.ini");
        context_.settings.parents = {"GetActiveWindow()", "NULL"};
        designer_ = CreateTaskDialogDesignerForTesting(nullptr, context_, "");
        ASSERT_NE(designer_, nullptr);
    }
    void TearDown() override {
        if (designer_ != nullptr) DestroyWindow(designer_);
    }

    void Command(int id, int notification = 0) {
        SendMessageA(designer_, WM_COMMAND, MAKEWPARAM(id, notification),
                     reinterpret_cast<LPARAM>(GetDlgItem(designer_, id)));
    }
    // WM_SETTEXT: a single-line edit tells its dialog (EN_CHANGE), as typing does.
    void Type(int id, const std::string& text) { SetDlgItemTextW(designer_, id, Utf16(text).c_str()); }
    std::string Field(int id) const { return WindowText(GetDlgItem(designer_, id)); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(designer_, id)) != FALSE; }
    int Selected(int list) const { return static_cast<int>(SendDlgItemMessageA(designer_, list, LB_GETCURSEL, 0, 0)); }
    // The entries of a list box (LB_ messages) or a combo box (CB_ messages).
    std::vector<std::string> Entries(int id, UINT getCount, UINT getLength, UINT getText) const {
        std::vector<std::string> entries;
        const auto count = SendDlgItemMessageW(designer_, id, getCount, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
            std::wstring entry(static_cast<std::size_t>(SendDlgItemMessageW(designer_, id, getLength, i, 0)) + 1,
                               L'\0');
            entry.resize(static_cast<std::size_t>(
                SendDlgItemMessageW(designer_, id, getText, i, reinterpret_cast<LPARAM>(entry.data()))));
            entries.push_back(Utf8(entry));
        }
        return entries;
    }
    std::vector<std::string> Lines(int list) const { return Entries(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }
    std::vector<std::string> Offered(int combo) const {
        return Entries(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    }
    TaskDialogConfig Read() const { return ReadTaskDialogFields(designer_).config; }

    test::TempDir temp_;
    AppContext context_;
    HWND designer_ = nullptr;
};

TEST_F(TaskDialogDesigner, OpensWithANewTaskDialogOwnedByTheFirstParent) {
    TaskDialogConfig expected;
    expected.owner = "GetActiveWindow()";
    EXPECT_EQ(Read(), expected);
    EXPECT_FALSE(Enabled(IDC_TD_INSERT)) << "no target files";
    EXPECT_FALSE(Enabled(IDC_TD_BUTTONREMOVE));
    EXPECT_FALSE(Enabled(IDC_TD_BUTTONID));
}

// Every field, set one way and then the other, comes back as it was shown.
TEST_F(TaskDialogDesigner, EveryFieldRoundTripsThroughTheWindow) {
    const TaskDialogConfig full = Full();
    ShowTaskDialogFields(designer_, full);
    EXPECT_EQ(Read(), full);
    EXPECT_EQ(Field(IDC_TD_BUTTONTEXT), "&Save") << "the note has a field of its own";
    EXPECT_EQ(Field(IDC_TD_BUTTONNOTE), "Writes the file");

    TaskDialogConfig other;
    other.owner = "NULL";
    other.title = {"Plain", false};
    other.mainIcon = TaskIcon::Error;
    other.footerIcon = TaskIcon::Warning;
    other.commonButtons = kTaskCancel;
    other.buttons = {{"7", "Seven"}};
    ShowTaskDialogFields(designer_, other);
    EXPECT_EQ(Read(), other);

    ShowTaskDialogFields(designer_, TaskDialogConfig{});
    EXPECT_EQ(Read(), TaskDialogConfig{});
}

// Generate code writes what Load code reads back into the same fields, with
// the answer handling in force; anything else is no task dialog.
TEST_F(TaskDialogDesigner, GenerateCodeAndLoadCodeMirrorEachOther) {
    TaskDialogConfig config = Full();
    config.buttons.back().id = "IDC_LATER";  // white space in an expression is not kept
    context_.codeOptions.answer = AnswerHandling::Switch;
    ShowTaskDialogFields(designer_, config);
    Command(IDC_TD_GENERATE);
    const std::string code = Field(IDC_TD_CODE);
    EXPECT_NE(code.find("\r\nswitch (nButton)\r\n"), std::string::npos) << "CR LF lines, the answer handling in force";
    for (std::size_t i = 0; i < code.size(); ++i)
        if (code[i] == '\n') {
            ASSERT_TRUE(i > 0 && code[i - 1] == '\r') << "a bare line feed at " << i;
        }

    ShowTaskDialogFields(designer_, TaskDialogConfig{});
    context_.codeOptions.answer = AnswerHandling::None;
    Command(IDC_TD_LOADCODE);
    EXPECT_EQ(Read(), config);
    EXPECT_EQ(context_.codeOptions.answer, AnswerHandling::Switch) << "Load code puts the answer handling in force";
}

TEST_F(TaskDialogDesigner, ListsAreEditedByAddRemoveUpDownAndTheirFields) {
    Command(IDC_TD_BUTTONADD);
    Command(IDC_TD_BUTTONADD);
    Command(IDC_TD_BUTTONADD);
    EXPECT_EQ(Read().buttons,
              (std::vector<TaskButton>{{"1001", "Button 1"}, {"1002", "Button 2"}, {"1003", "Button 3"}}));
    EXPECT_EQ(Selected(IDC_TD_BUTTONLIST), 2) << "a new entry is selected";
    EXPECT_FALSE(Enabled(IDC_TD_BUTTONDOWN));
    EXPECT_TRUE(Enabled(IDC_TD_BUTTONUP));

    Type(IDC_TD_BUTTONID, "IDC_SAVE");
    Type(IDC_TD_BUTTONTEXT, "&Save");
    EXPECT_FALSE(Enabled(IDC_TD_BUTTONNOTE)) << "notes belong to command links";
    SendDlgItemMessageA(designer_, IDC_TD_COMMANDLINKS, BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(IDC_TD_BUTTONNOTE));
    Type(IDC_TD_BUTTONNOTE, "Keeps your changes");
    EXPECT_EQ(Lines(IDC_TD_BUTTONLIST).back(), "IDC_SAVE  -  &Save  (Keeps your changes)");

    Command(IDC_TD_BUTTONUP);
    Command(IDC_TD_BUTTONUP);
    EXPECT_EQ(Selected(IDC_TD_BUTTONLIST), 0);
    EXPECT_FALSE(Enabled(IDC_TD_BUTTONUP));
    EXPECT_EQ(Field(IDC_TD_BUTTONID), "IDC_SAVE") << "the fields follow the selection";
    Command(IDC_TD_BUTTONDOWN);
    EXPECT_EQ(Read().buttons,
              (std::vector<TaskButton>{
                  {"1001", "Button 1"}, {"IDC_SAVE", "&Save\r\nKeeps your changes"}, {"1002", "Button 2"}}));

    // Choosing an entry in the list puts it into the fields.
    SendDlgItemMessageA(designer_, IDC_TD_BUTTONLIST, LB_SETCURSEL, 2, 0);
    Command(IDC_TD_BUTTONLIST, LBN_SELCHANGE);
    EXPECT_EQ(Field(IDC_TD_BUTTONTEXT), "Button 2");
    Command(IDC_TD_BUTTONREMOVE);
    EXPECT_EQ(Selected(IDC_TD_BUTTONLIST), 1) << "after the last, the one before it";
    SendDlgItemMessageA(designer_, IDC_TD_BUTTONLIST, LB_SETCURSEL, 0, 0);
    Command(IDC_TD_BUTTONLIST, LBN_SELCHANGE);
    Command(IDC_TD_BUTTONREMOVE);
    EXPECT_EQ(Selected(IDC_TD_BUTTONLIST), 0) << "the next takes the removed one's place";
    EXPECT_EQ(Read().buttons, (std::vector<TaskButton>{{"IDC_SAVE", "&Save\r\nKeeps your changes"}}));

    // The default lists offer what there is: common buttons, then custom ones.
    SendDlgItemMessageA(designer_, IDC_TD_COMMON_CANCEL, BM_CLICK, 0, 0);
    EXPECT_EQ(Offered(IDC_TD_DEFBUTTON), (std::vector<std::string>{"IDCANCEL", "IDC_SAVE"}));

    // A new radio button takes a number no entry of either list has.
    Type(IDC_TD_BUTTONID, "2001");
    Command(IDC_TD_RADIOADD);
    Command(IDC_TD_RADIOADD);
    EXPECT_EQ(Read().radioButtons, (std::vector<TaskButton>{{"2002", "Option 1"}, {"2003", "Option 2"}}));
    EXPECT_EQ(Offered(IDC_TD_DEFRADIO), (std::vector<std::string>{"2002", "2003"}));
    Command(IDC_TD_RADIOREMOVE);
    Command(IDC_TD_RADIOREMOVE);
    EXPECT_TRUE(Read().radioButtons.empty());
    EXPECT_FALSE(Enabled(IDC_TD_RADIOREMOVE));
    EXPECT_FALSE(Enabled(IDC_TD_RADIOTEXT));
}

TEST_F(TaskDialogDesigner, WhatCannotBeWrittenIsRefusedWithTheReason) {
    ShowTaskDialogFields(designer_, Full());
    // The width box takes digits only as typed; a paste brings anything.
    for (const char* width : {"12x", "-1", "4294967296", "99999999999", "0x10"}) {
        Type(IDC_TD_WIDTH, width);
        const DesignerReading reading = ReadTaskDialogFields(designer_);
        ASSERT_TRUE(reading.problem.has_value()) << width;
        EXPECT_EQ(*reading.problem, "The width must be a whole number of dialog units (0: the system's choice)");
    }
    Type(IDC_TD_WIDTH, " 4294967295 ");
    EXPECT_FALSE(ReadTaskDialogFields(designer_).problem.has_value());
    EXPECT_EQ(Read().width, 4294967295u);
    Type(IDC_TD_WIDTH, "");
    EXPECT_EQ(Read().width, 0u) << "an empty width is the system's choice";

    Type(IDC_TD_OWNER, "  ");
    ASSERT_TRUE(ReadTaskDialogFields(designer_).problem.has_value());
    EXPECT_EQ(*ReadTaskDialogFields(designer_).problem, "The owner window is empty: write NULL for none");
    Type(IDC_TD_OWNER, "NULL");

    // The writer's own refusals come through as it words them.
    Type(IDC_TD_BUTTONID, "");
    EXPECT_TRUE(ReadTaskDialogFields(designer_).problem.has_value()) << "a button without an identifier";
    Type(IDC_TD_BUTTONID, "1002");
    EXPECT_TRUE(ReadTaskDialogFields(designer_).problem.has_value()) << "two buttons with one identifier";
}

// Runs `action`, which shows one message box on this thread, and gives the
// box's text.
std::string MessageShownBy(const std::function<void()>& action) {
    const std::vector<test::ShownBox> shown = test::BoxesShownBy(action);
    return shown.size() == 1 ? shown[0].text : "<" + std::to_string(shown.size()) + " boxes>";
}

// A refused Generate code says why and writes nothing.
TEST_F(TaskDialogDesigner, ARefusedGenerateLeavesTheCodeBoxAsItWas) {
    Type(IDC_TD_CODE, "kept");
    Type(IDC_TD_WIDTH, "wide");
    EXPECT_EQ(MessageShownBy([&] { Command(IDC_TD_GENERATE); }),
              "The width must be a whole number of dialog units (0: the system's choice)");
    EXPECT_EQ(Field(IDC_TD_CODE), "kept");
}

// What the preview hands the system, seen by a stand-in for TaskDialogIndirect.
struct SeenTaskDialog {
    HWND owner = nullptr;
    TASKDIALOG_FLAGS flags = 0;
    TASKDIALOG_COMMON_BUTTON_FLAGS commonButtons = 0;
    std::vector<std::wstring>
        texts;  // title, main instruction, content, verification, expanded, the two control texts, footer
    PCWSTR mainIcon = nullptr, footerIcon = nullptr;
    std::vector<std::pair<int, std::wstring>> buttons, radioButtons;
    int defaultButton = 0, defaultRadioButton = 0;
    UINT width = 0;
    HRESULT linkClicked = E_FAIL;
};
SeenTaskDialog* seenTaskDialog = nullptr;  // the test's, while it runs

HRESULT WINAPI RecordTaskDialog(const TASKDIALOGCONFIG* c, int*, int*, BOOL*) {
    SeenTaskDialog& seen = *seenTaskDialog;
    const auto text = [](PCWSTR s) { return std::wstring(s != nullptr ? s : L"<null>"); };
    const auto list = [](const TASKDIALOG_BUTTON* items, UINT count) {
        std::vector<std::pair<int, std::wstring>> out;
        for (UINT i = 0; i < count; ++i) out.emplace_back(items[i].nButtonID, items[i].pszButtonText);
        return out;
    };
    seen.owner = c->hwndParent;
    seen.flags = c->dwFlags;
    seen.commonButtons = c->dwCommonButtons;
    seen.texts = {text(c->pszWindowTitle),
                  text(c->pszMainInstruction),
                  text(c->pszContent),
                  text(c->pszVerificationText),
                  text(c->pszExpandedInformation),
                  text(c->pszExpandedControlText),
                  text(c->pszCollapsedControlText),
                  text(c->pszFooter)};
    seen.mainIcon = c->pszMainIcon;
    seen.footerIcon = c->pszFooterIcon;
    seen.buttons = list(c->pButtons, c->cButtons);
    seen.radioButtons = list(c->pRadioButtons, c->cRadioButtons);
    seen.defaultButton = c->nDefaultButton;
    seen.defaultRadioButton = c->nDefaultRadioButton;
    seen.width = c->cxWidth;
    seen.linkClicked = c->pfCallback != nullptr ? c->pfCallback(nullptr, TDN_HYPERLINK_CLICKED, 0,
                                                                reinterpret_cast<LPARAM>(L"https://example.com"), 0)
                                                : E_FAIL;
    return S_OK;
}

TEST_F(TaskDialogDesigner, PreviewHandsTheSystemEveryFieldAndSaysSoWhereItHasNoTaskDialogs) {
    SeenTaskDialog seen;
    seenTaskDialog = &seen;
    TaskDialogConfig config = Full();
    config.buttons.back().id = "IDC_SAVE";  // the same expression, the same stand-in
    config.title = {"\u2713 Saved \u2192 Gr\u00FC\u00DFe \u65E5\u672C\u8A9E \U0001F600", true};
    config.buttons.back().text = "\U0001F600";
    PreviewTaskDialog(designer_, config, RecordTaskDialog);
    seenTaskDialog = nullptr;

    EXPECT_EQ(seen.owner, designer_);
    EXPECT_EQ(seen.flags, static_cast<TASKDIALOG_FLAGS>(
                              TDF_USE_COMMAND_LINKS | TDF_NO_DEFAULT_RADIO_BUTTON | TDF_VERIFICATION_FLAG_CHECKED |
                              TDF_EXPANDED_BY_DEFAULT | TDF_EXPAND_FOOTER_AREA | TDF_ALLOW_DIALOG_CANCELLATION |
                              TDF_ENABLE_HYPERLINKS | TDF_CAN_BE_MINIMIZED | TDF_POSITION_RELATIVE_TO_WINDOW |
                              TDF_RTL_LAYOUT | TDF_SIZE_TO_CONTENT));
    EXPECT_EQ(seen.commonButtons, 0x3Fu);
    EXPECT_EQ(seen.texts,
              (std::vector<std::wstring>{L"\u2713 Saved \u2192 Gr\u00FC\u00DFe \u65E5\u672C\u8A9E \U0001F600",
                                         L"Save changes to \"report.txt\"?", L"Line one\r\nLine two \u00E9\u00E8",
                                         L"Do not ask again", L"Details\r\nmore details", L"Hide details", L"szMore",
                                         L"szFooter"}))
        << "every character; a variable's name as its text";
    EXPECT_EQ(seen.mainIcon, TD_SHIELD_ICON);
    EXPECT_EQ(seen.footerIcon, TD_INFORMATION_ICON);
    EXPECT_EQ(seen.buttons, (std::vector<std::pair<int, std::wstring>>{
                                {20000, L"&Save\nWrites the file"}, {1002, L"Do&n't save"}, {20000, L"\U0001F600"}}))
        << "the note after a bare line feed";
    EXPECT_EQ(seen.radioButtons,
              (std::vector<std::pair<int, std::wstring>>{{20001, L"Only this time"}, {2002, L"Always"}}));
    EXPECT_EQ(seen.defaultButton, 1002);
    EXPECT_EQ(seen.defaultRadioButton, 2002);
    EXPECT_EQ(seen.width, 320u);
    EXPECT_EQ(seen.linkClicked, S_OK) << "a link click is answered and does nothing";

    EXPECT_EQ(MessageShownBy([&] { PreviewTaskDialog(designer_, config, nullptr); }),
              "This system cannot show task dialogs (they need Windows Vista or later), so there is no preview");
}

// F1 on any control the user can reach gives a note on that control, and
// Enter means Preview.
TEST_F(TaskDialogDesigner, EveryControlTheUserReachesHasAHelpNote) {
    int reachable = 0;
    for (HWND child = GetWindow(designer_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) == 0) continue;
        ++reachable;
        EXPECT_FALSE(ControlHelpText(GetDlgCtrlID(child)).empty()) << GetDlgCtrlID(child);
    }
    EXPECT_EQ(reachable, 59);
    EXPECT_EQ(LOWORD(SendMessageA(designer_, DM_GETDEFID, 0, 0)), IDC_TD_PREVIEW);
}

TEST(TaskDialogPreview, IdentifiersGetTheirValuesOrDistinctStandIns) {
    int value = 0;
    EXPECT_TRUE(KnownIdentifierValue(" IDCANCEL ", value));
    EXPECT_EQ(value, IDCANCEL);
    EXPECT_TRUE(KnownIdentifierValue("0x7D2", value));
    EXPECT_EQ(value, 2002);
    EXPECT_TRUE(KnownIdentifierValue("1001u", value));
    EXPECT_EQ(value, 1001);
    for (const char* other : {"IDC_SAVE", "1001 + 1", "", "0x", "99999999999", "IDOKAY"})
        EXPECT_FALSE(KnownIdentifierValue(other, value)) << other;

    TaskDialogConfig config;
    config.buttons = {{"IDC_SAVE", "a"}, {"20000", "b"}, {"IDOK", "c"}, {"IDC_LATER", "d"}};
    config.radioButtons = {{"IDC_SAVE", "e"}, {"20001", "f"}};
    config.defaultButton = "IDC_LATER";
    const PreviewIdentifiers ids(config);
    EXPECT_EQ(ids.Of("IDOK"), IDOK);
    EXPECT_EQ(ids.Of("20000"), 20000);
    // Stand-ins avoid every number the configuration names.
    EXPECT_EQ(ids.Of("IDC_SAVE"), 20002);
    EXPECT_EQ(ids.Of("IDC_LATER"), 20003);
    EXPECT_EQ(ids.Of(" IDC_SAVE"), 20002) << "the same expression, the same number";
    EXPECT_EQ(ids.Of(""), 0);
}

}  // namespace
}  // namespace pw
