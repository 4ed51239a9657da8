// QuickBox slots on a main form created here, against real settings files and
// the real profile functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "win32/dialog_form_win32.h"
#include "common/temp_dir_win32.h"
#include "core/settings/quickbox_slots.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quickbox_win32.h"
#include "win32/quickbox_store_win32.h"
#include "win32/settings_win32.h"
#include "res/resource.h"

namespace pw {
namespace {

class QuickBoxSlots : public ::testing::Test {
protected:
    void SetUp() override {
        context_.settings.settingsPath = ini_;
        context_.settings.parents = {"GetActiveWindow()", "NULL"};
    }
    void TearDown() override { CloseForm(); }

    void WriteSettings(const std::string& content) { std::ofstream(ini_, std::ios::binary) << content; }
    std::string SettingsText() const {
        std::ifstream in(ini_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    HWND OpenForm(bool advanced) {
        context_.settings.layout = advanced ? Layout::Advanced : Layout::Simple;
        form_ = CreateMainForm(context_);
        return form_;
    }
    void CloseForm() {
        if (form_ == nullptr) return;
        DestroyWindow(form_);
        form_ = nullptr;
        // The form posts a quit message when destroyed; it must not end a
        // later test's modal loop.
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // The "&Load" and "&Set" submenus of the "&QuickBox" menu.
    HMENU SlotMenu(int which) const {
        HMENU bar = GetMenu(form_);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            char text[64] = {};
            GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            if (std::string(text) == "&QuickBox") return GetSubMenu(GetSubMenu(bar, i), which);
        }
        return nullptr;
    }
    struct Item {
        UINT id;
        std::string text;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> Items(HMENU menu) const {
        std::vector<Item> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[300] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            items.push_back({GetMenuItemID(menu, i), text});
        }
        return items;
    }

    test::TempDir temp_;
    const std::string ini_ = temp_.File("promptwright.ini");
    AppContext context_;
    HWND form_ = nullptr;
};

TEST_F(QuickBoxSlots, WithoutSectionBothSubmenusAreEmpty) {
    WriteSettings("[Settings]\r\nadvanced=0\r\n");
    ASSERT_NE(OpenForm(false), nullptr);
    ASSERT_NE(SlotMenu(0), nullptr);
    ASSERT_NE(SlotMenu(1), nullptr);
    EXPECT_EQ(GetMenuItemCount(SlotMenu(0)), 0);
    EXPECT_EQ(GetMenuItemCount(SlotMenu(1)), 0);
}

TEST_F(QuickBoxSlots, ItemsFollowTheFileOrderWithTheirIdentifiers) {
    WriteSettings(
        "[QuickBox]\r\nAlpha=MessageBox(NULL, \"a\", \"A\", MB_OK);\r\n"
        "Beta=MessageBox(NULL, \"b\", \"B\", MB_OK);\r\n");
    ASSERT_NE(OpenForm(false), nullptr);
    EXPECT_EQ(Items(SlotMenu(0)), (std::vector<Item>{{4101, "Alpha"}, {4102, "Beta"}}));
    EXPECT_EQ(Items(SlotMenu(1)), (std::vector<Item>{{4201, "Alpha"}, {4202, "Beta"}}));
    EXPECT_EQ(QuickBoxSlotName(form_, 4102), "Beta");
    EXPECT_EQ(QuickBoxSlotName(form_, 4201), "Alpha");
    EXPECT_EQ(QuickBoxSlotName(form_, 4103), "");
}

TEST_F(QuickBoxSlots, ThousandSlotsEachReachTheirOperation) {
    std::string ini = "[QuickBox]\r\n";
    std::vector<std::string> names;
    for (int n = 1; n <= 1000; ++n) {
        // Long names too: the whole key list is read, whatever its length.
        names.push_back("Slot " + std::to_string(n) + std::string(static_cast<std::size_t>(n % 7) * 40, 'x'));
        ini += names.back() + "=MessageBox(NULL, \"" + std::to_string(n) + "\", \"t\", MB_OK);\r\n";
    }
    WriteSettings(ini);
    ASSERT_NE(OpenForm(true), nullptr);
    const std::vector<Item> load = Items(SlotMenu(0));
    const std::vector<Item> set = Items(SlotMenu(1));
    ASSERT_EQ(load.size(), 1000u);
    ASSERT_EQ(set.size(), 1000u);
    std::set<UINT> seen;
    for (std::size_t i = 0; i < 1000; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(load[i].text, names[i]);
        EXPECT_EQ(set[i].text, names[i]);
        EXPECT_EQ(load[i].id, static_cast<UINT>(QuickBoxLoadCommand(static_cast<int>(i) + 1)));
        EXPECT_EQ(set[i].id, static_cast<UINT>(QuickBoxSetCommand(static_cast<int>(i) + 1)));
        EXPECT_EQ(QuickBoxSlotName(form_, static_cast<int>(load[i].id)), names[i]);
        EXPECT_EQ(QuickBoxSlotName(form_, static_cast<int>(set[i].id)), names[i]);
        EXPECT_TRUE(seen.insert(load[i].id).second);
        EXPECT_TRUE(seen.insert(set[i].id).second);
        EXPECT_LE(set[i].id, 0xFFFFu) << "WM_COMMAND carries 16 bits";
    }
    EXPECT_EQ(load[98].id, 4199u);
    EXPECT_EQ(set[98].id, 4299u);
    // No identifier of the program is taken for a slot.
    for (UINT id : {IDM_QUICKBOX_LOAD, IDM_QUICKBOX_SET, IDM_CLEAR, IDM_HELP, IDM_ABOUT, IDC_INSERT, IDC_QI_TABS,
                    IDD_QUICKINSERT})
        EXPECT_EQ(seen.count(id), 0u) << id;

    // The 1000th slot's Load item loads the 1000th statement.
    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(load[999].id, 0), 0);
    EXPECT_EQ(WindowText(GetDlgItem(form_, IDC_TEXT)), "1000");
}

// Set then Load through the menu commands, for the two call forms that run no
// options dialog; the file keeps one line per slot.
TEST_F(QuickBoxSlots, SetThenLoadGivesBackTheForm) {
    WriteSettings("[QuickBox]\r\nAlpha=MessageBox(NULL, \"old\", \"old\", MB_OK);\r\nBeta=keep\r\n");
    ASSERT_NE(OpenForm(true), nullptr);
    DialogForm form(form_);
    const std::string longText(20000, 'L');  // longer than any buffer the old limits allowed
    form.SetText(IDC_TITLE, "  spaced title  ");
    form.SetText(IDC_TEXT, "first line\r\nsecond \"line\"\r\n" + longText);
    form.SetText(IDC_PARENT, "hWnd");
    form.SetListPosition(IDC_BUTTONS, 4);
    form.SetListPosition(IDC_ICON, 3);
    form.SetListPosition(IDC_LANGUAGE, 30);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_TASKMODAL);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
    form.SetChecked(IDC_TOPMOST, true);
    form.SetChecked(IDC_SERVICE, true);

    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(4201, 0), 0);
    const std::string file = SettingsText();
    const std::size_t line = file.find("Alpha=");
    ASSERT_NE(line, std::string::npos) << file;
    const std::string stored = file.substr(line, file.find("\r\n", line) - line);
    EXPECT_EQ(stored.find('\n'), std::string::npos);
    EXPECT_EQ(stored.rfind("Alpha=\"MessageBoxEx(hWnd, \"first line\\nsecond \\\"line\\\"\\n", 0), 0u)
        << stored.substr(0, 200);
    EXPECT_NE(stored.find("\"  spaced title  \""), std::string::npos);
    EXPECT_NE(file.find("Beta=keep"), std::string::npos);
    EXPECT_EQ(ReadProfileKeys(ini_, kQuickBoxSection), (std::vector<std::string>{"Alpha", "Beta"}));

    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(IDM_CLEAR, 0), 0);
    ASSERT_EQ(form.Text(IDC_TITLE), "");
    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(4101, 0), 0);
    EXPECT_EQ(form.Text(IDC_TITLE), "  spaced title  ");
    EXPECT_EQ(form.Text(IDC_TEXT), "first line\r\nsecond \"line\"\r\n" + longText);
    EXPECT_EQ(form.Text(IDC_PARENT), "hWnd");
    EXPECT_EQ(form.ListPosition(IDC_BUTTONS), 4);
    EXPECT_EQ(form.ListPosition(IDC_ICON), 3);
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), 30);
    EXPECT_TRUE(form.IsChecked(IDC_TASKMODAL));
    EXPECT_TRUE(form.IsChecked(IDC_TYPE_BOXEX));
    EXPECT_TRUE(form.IsChecked(IDC_TOPMOST));
    EXPECT_TRUE(form.IsChecked(IDC_SERVICE));
    EXPECT_FALSE(form.IsChecked(IDC_RIGHT));
}

// Values the profile functions would trim, unquote or split come back as
// stored (line breaks dropped), and the file stays one key per line.
TEST_F(QuickBoxSlots, StoredValuesSurviveTheProfileFunctions) {
    const struct {
        std::string statement, expected;
    } cases[] = {
        {"  leading and trailing  ", "  leading and trailing  "},
        {"\"quoted\"", "\"quoted\""},
        {"'single'", "'single'"},
        {"\"", "\""},
        {"MessageBox(NULL, text\r\nvariable, \"t\", MB_OK);\n", "MessageBox(NULL, textvariable, \"t\", MB_OK);"},
        {"lone\rcarriage return", "lonecarriage return"},
        {"x=y; [Section] ;comment", "x=y; [Section] ;comment"},
        {std::string(30000, 'v'), std::string(30000, 'v')},
    };
    WriteSettings("[QuickBox]\r\nFirst=1\r\nLast=2\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement.substr(0, 40));
        ASSERT_TRUE(WriteProfileValue(ini_, kQuickBoxSection, "First", StoredSlotValue(c.statement)));
        EXPECT_EQ(ReadQuickBoxSlot(ini_, "First").statement, c.expected);
        EXPECT_EQ(ReadProfileKeys(ini_, kQuickBoxSection), (std::vector<std::string>{"First", "Last"}));
        EXPECT_EQ(ReadQuickBoxSlot(ini_, "Last").statement, "2");
    }
    EXPECT_EQ(ReadQuickBoxSlot(ini_, "").state, SlotState::Missing) << "an empty name is no slot";
    EXPECT_EQ(ReadQuickBoxSlot(ini_, "Absent").state, SlotState::Missing);
}

// Values up to the longest the profile functions give back whole are read and
// written; longer ones are never handed on cut, and never stored.
TEST_F(QuickBoxSlots, SlotsTooLongToReadWholeAreReportedNotCut) {
    const std::string longest(kLongestSlotValue, 'a');
    WriteSettings("[QuickBox]\r\nLongest=" + longest + "\r\nQuoted=\"" + longest +
                  "\"\r\nTooLong=" + std::string(kLongestSlotValue + 1, 'b') + "\r\nQuotedTooLong=\"" +
                  std::string(65534, 'q') + "\"\r\nHuge=" + std::string(200000, 'c') + "\r\nAfter=x\r\n");
    for (const char* whole : {"Longest", "Quoted"}) {
        EXPECT_EQ(ReadQuickBoxSlot(ini_, whole).state, SlotState::Found) << whole;
        EXPECT_EQ(ReadQuickBoxSlot(ini_, whole).statement, longest) << whole;
    }
    for (const char* cut : {"TooLong", "QuotedTooLong", "Huge"})
        EXPECT_EQ(ReadQuickBoxSlot(ini_, cut).state, SlotState::TooLong) << cut;
    EXPECT_EQ(ReadQuickBoxSlot(ini_, "After").statement, "x");
}

// Wine's profile writer crashes on long values: the program refuses them
// before the call, and the slot keeps its value.
TEST_F(QuickBoxSlots, StatementsTooLongToStoreAreRefused) {
    WriteSettings("[QuickBox]\r\nSlot=x\r\n");
    const std::string longest(kLongestSlotLine - 2 - 5, 'a');
    EXPECT_EQ(WriteQuickBoxSlot(ini_, "Slot", longest + "a"), SlotWrite::TooLong);
    EXPECT_EQ(ReadQuickBoxSlot(ini_, "Slot").statement, "x");
    EXPECT_EQ(WriteQuickBoxSlot(ini_, "Slot", longest + "\r\n"), SlotWrite::Written);
    EXPECT_EQ(ReadQuickBoxSlot(ini_, "Slot").statement, longest);
}

// A hand-written value longer than the old 7999-character read loads whole.
TEST_F(QuickBoxSlots, LoadReadsLongValuesWhole) {
    const std::string title(9000, 'T');
    WriteSettings("[Settings]\r\nStartupQuickBox=Big\r\n[QuickBox]\r\nBig=MessageBox(NULL, \"end\", \"" + title +
                  "\", MB_OK | MB_ICONSTOP);\r\n");
    context_.settings.startupQuickBox = "Big";
    ASSERT_NE(OpenForm(false), nullptr);
    DialogForm form(form_);
    EXPECT_EQ(form.Text(IDC_TITLE), title);
    EXPECT_EQ(form.ListPosition(IDC_ICON), 4);
    EXPECT_EQ(form.Text(IDC_TEXT), "end");
}

}  // namespace
}  // namespace pw
