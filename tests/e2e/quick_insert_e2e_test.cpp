// The QuickInsert window, started by -QI or from the simple main form, driven
// from this process against real settings and source files.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

constexpr char kQuickInsert[] = "Promptwright - QuickInsert";

const std::string kAlpha = R"(MessageBox(NULL, "Alpha text", "Alpha title", MB_OK | MB_ICONWARNING);)";
const std::string kBeta = R"(MessageBox(NULL, "Beta text", "Beta title", MB_YESNO);)";
// A stored MessageBoxIndirect slot: longer than 259 characters, with the style
// and the language near its end.
const std::string kIndirect =
    "MSGBOXPARAMS mbp;mbp.cbSize= sizeof(MSGBOXPARAMS);mbp.hwndOwner= NULL;"
    "mbp.lpszText= \"Indirect text, long enough to need the whole slot value\";"
    "mbp.lpszCaption= \"Indirect title\";mbp.dwStyle= MB_YESNO | MB_ICONSTOP | MB_TOPMOST;"
    "mbp.dwLanguageId= 0x0407;MessageBoxIndirect(&mbp);";

std::string Settings(const std::string& extraSettings = "") {
    return "[Settings]\r\n" + extraSettings + "[QuickBox]\r\nAlpha=" + kAlpha + "\r\nBeta=" + kBeta +
           "\r\nIndirect=" + kIndirect + "\r\n";
}

void NextTab(HWND quickInsert) { PressKey(Control(quickInsert, IDC_QI_TABS), VK_RIGHT); }
void PreviousTab(HWND quickInsert) { PressKey(Control(quickInsert, IDC_QI_TABS), VK_LEFT); }

bool ActionsEnabled(HWND quickInsert, bool enabled) {
    return WaitFor(
        [&] {
            return Enabled(quickInsert, IDC_INSERT) == enabled && Enabled(quickInsert, IDC_COPY) == enabled &&
                   Enabled(quickInsert, IDC_QI_EDIT) == enabled;
        },
        3000);
}

TEST(QuickInsertE2E, WithoutQuickBoxSectionTheListIsEmptyAndActionsStayDisabled) {
    TempDir dir;
    App app(dir, {"-QI"}, "[Settings]\r\n");
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    EXPECT_EQ(ListBoxCount(qi, IDC_QI_LIST), 0);
    EXPECT_TRUE(Visible(qi, IDC_QI_LIST));
    EXPECT_FALSE(Visible(qi, IDC_QI_CODE));
    EXPECT_FALSE(Visible(qi, IDC_QI_TREE));
    for (int id : {IDC_INSERT, IDC_COPY, IDC_QI_EDIT}) {
        EXPECT_TRUE(Visible(qi, id)) << id;
        EXPECT_FALSE(Enabled(qi, id)) << id;
    }
    // Enter and Escape start nothing.
    SendCommand(qi, IDOK);
    SendCommand(qi, IDCANCEL);
    Sleep(200);
    EXPECT_TRUE(app.Running());
    SendCommand(qi, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickInsertE2E, ListsTheSlotsInFileOrder) {
    TempDir dir;
    App app(dir, {"-qi"}, Settings());
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    ASSERT_EQ(ListBoxCount(qi, IDC_QI_LIST), 3);
    EXPECT_EQ(ListBoxText(qi, IDC_QI_LIST, 0), "Alpha");
    EXPECT_EQ(ListBoxText(qi, IDC_QI_LIST, 1), "Beta");
    EXPECT_EQ(ListBoxText(qi, IDC_QI_LIST, 2), "Indirect");
    Close(qi);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickInsertE2E, InsertPutsTheSlotIntoEveryTargetAndEndsWithOne) {
    TempDir dir;
    dir.Write("a.c", "void a(void) { /*MB*/ }\n");
    dir.Write("b.c", "void b(void) {\n/*mb*/\n}\n");
    App app(dir, {"-QI", "a.c", "b.c"}, Settings());
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    ChooseListBoxEntry(qi, IDC_QI_LIST, 1);
    ASSERT_TRUE(ActionsEnabled(qi, true));
    Command(qi, IDC_INSERT);
    EXPECT_EQ(app.WaitExit(), 1) << "insertShutDown defaults to 1";
    EXPECT_EQ(dir.Read("a.c"), "void a(void) { " + kBeta + " }\n");
    EXPECT_EQ(dir.Read("b.c"), "void b(void) {\n" + kBeta + "\n}\n");
}

TEST(QuickInsertE2E, InsertWithoutShutDownKeepsTheWindowAndWithoutTargetsStillEnds) {
    {
        TempDir dir;
        dir.Write("a.c", "/*MB*/");
        App app(dir, {"-QI", "a.c"}, Settings("InsertShutDown=0\r\n"));
        HWND qi = app.WaitWindow(kQuickInsert);
        ASSERT_NE(qi, nullptr);
        ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
        SendCommand(qi, IDC_INSERT);
        EXPECT_EQ(dir.Read("a.c"), kAlpha);
        EXPECT_TRUE(app.Running());
        SendCommand(qi, IDC_EXIT);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    {
        TempDir dir;
        App app(dir, {"-QI"}, Settings());
        HWND qi = app.WaitWindow(kQuickInsert);
        ASSERT_NE(qi, nullptr);
        ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
        Command(qi, IDC_INSERT);
        EXPECT_EQ(app.WaitExit(), 1);
    }
}

TEST(QuickInsertE2E, CopyPutsTheCurrentPagesCodeOnTheClipboard) {
    TempDir dir;
    App app(dir, {"-QI"}, Settings());
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    SetClipboardText("before");
    ChooseListBoxEntry(qi, IDC_QI_LIST, 2);
    SendCommand(qi, IDC_COPY);
    EXPECT_EQ(ClipboardText(), kIndirect) << "the whole slot, used as read";

    NextTab(qi);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_CODE); }));
    TypeText(Control(qi, IDC_QI_CODE), "typed\rcode");  // Enter types CR LF
    SendCommand(qi, IDC_COPY);
    EXPECT_EQ(ClipboardText(), "typed\r\ncode");
    EXPECT_TRUE(app.Running());
    SendCommand(qi, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickInsertE2E, EnablingFollowsTheCodeBoxAndThePage) {
    TempDir dir;
    App app(dir, {"-QI"}, Settings());
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);

    // Code page: one character enables the three buttons, deleting it disables them.
    NextTab(qi);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_CODE) && !Visible(qi, IDC_QI_LIST); }));
    EXPECT_TRUE(ActionsEnabled(qi, false));
    TypeText(Control(qi, IDC_QI_CODE), "x");
    EXPECT_TRUE(ActionsEnabled(qi, true));
    TypeText(Control(qi, IDC_QI_CODE), "\b");
    EXPECT_TRUE(ActionsEnabled(qi, false));

    // Back to the list: nothing selected yet.
    PreviousTab(qi);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_LIST) && !Visible(qi, IDC_QI_CODE); }));
    EXPECT_TRUE(ActionsEnabled(qi, false));
    ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
    EXPECT_TRUE(ActionsEnabled(qi, true));

    // The empty code page disables; returning enables without a new selection.
    NextTab(qi);
    EXPECT_TRUE(ActionsEnabled(qi, false));
    PreviousTab(qi);
    EXPECT_TRUE(ActionsEnabled(qi, true));
    Close(qi);
    EXPECT_EQ(app.WaitExit(), 0);
}

// Edit under -QI: the main form opens with the code loaded; closing it in any
// way ends the program (result 0: the main form was not the first window).
TEST(QuickInsertE2E, EditOpensTheMainFormWhoseClosingEndsTheProgram) {
    enum class Ending { kExit, kCloseBox, kInsert };
    for (const bool advanced : {false, true}) {
        for (const Ending ending : {Ending::kExit, Ending::kCloseBox, Ending::kInsert}) {
            SCOPED_TRACE(testing::Message() << "advanced " << advanced << ", ending " << static_cast<int>(ending));
            TempDir dir;
            dir.Write("a.c", "/*MB*/");
            App app(dir, {"-QI", "a.c"}, Settings(advanced ? "advanced=1\r\n" : ""));
            HWND qi = app.WaitWindow(kQuickInsert);
            ASSERT_NE(qi, nullptr);
            ChooseListBoxEntry(qi, IDC_QI_LIST, 2);
            Command(qi, IDC_QI_EDIT);
            HWND form = app.MainForm();
            ASSERT_NE(form, nullptr);
            EXPECT_FALSE(IsWindowVisible(qi));
            EXPECT_EQ(Text(form, IDC_TITLE), "Indirect title");
            EXPECT_EQ(Text(form, IDC_TEXT), "Indirect text, long enough to need the whole slot value");
            EXPECT_EQ(ListText(form, IDC_BUTTONS, ListPosition(form, IDC_BUTTONS)), "Yes, No");
            EXPECT_EQ(ListPosition(form, IDC_ICON), 4) << "the style near the end of the slot";
            EXPECT_TRUE(Checked(form, IDC_TOPMOST));
            if (advanced) {
                EXPECT_EQ(Text(form, IDC_CODE), kIndirect);
                EXPECT_TRUE(Checked(form, IDC_TYPE_INDIRECT));
                EXPECT_EQ(ListText(form, IDC_LANGUAGE, ListPosition(form, IDC_LANGUAGE)), "German (Standard)");
            }
            switch (ending) {
            case Ending::kExit: Command(form, IDC_EXIT); break;
            case Ending::kCloseBox: Close(form); break;
            case Ending::kInsert:
                SetText(form, IDC_TITLE, "From the form");
                // Advanced: the Indirect form runs its options dialog first.
                Command(form, IDC_INSERT);
                if (advanced) {
                    HWND params = app.WaitWindow("MessageBoxIndirect", 5000);
                    ASSERT_NE(params, nullptr);
                    SetText(params, IDC_PARAMS_NAME, "mbp");
                    Command(params, IDC_OK);
                }
                break;
            }
            EXPECT_EQ(app.WaitExit(5000), 0);
            if (ending == Ending::kInsert)
                EXPECT_NE(dir.Read("a.c").find("\"From the form\""), std::string::npos) << dir.Read("a.c");
            else
                EXPECT_EQ(dir.Read("a.c"), "/*MB*/");
        }
    }
}

TEST(QuickInsertE2E, EditTakesTheCodePageText) {
    TempDir dir;
    App app(dir, {"-QI"}, Settings("advanced=1\r\n"));
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    NextTab(qi);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_CODE); }));
    const std::string typed = "MessageBoxEx(hWnd, \"Typed\", \"Here\",\r\nMB_OKCANCEL, 0x0409);";
    TypeText(Control(qi, IDC_QI_CODE), "MessageBoxEx(hWnd, \"Typed\", \"Here\",\rMB_OKCANCEL, 0x0409);");
    Command(qi, IDC_QI_EDIT);
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Text(form, IDC_CODE), typed);
    EXPECT_EQ(Text(form, IDC_TITLE), "Here");
    EXPECT_EQ(Text(form, IDC_PARENT), "hWnd");
    EXPECT_TRUE(Checked(form, IDC_TYPE_BOXEX));
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickInsertE2E, FromTheSimpleMainFormOnlyEditAndExitShowAndEditLoadsTheSlot) {
    TempDir dir;
    dir.Write("a.c", "/*MB*/");
    App app(dir, {"a.c"}, Settings());
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    Command(form, IDC_LOADCODE);
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    EXPECT_FALSE(Visible(qi, IDC_INSERT));
    EXPECT_FALSE(Visible(qi, IDC_COPY));
    EXPECT_TRUE(Visible(qi, IDC_QI_EDIT));
    EXPECT_TRUE(Visible(qi, IDC_EXIT));
    ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
    Command(qi, IDC_QI_EDIT);
    EXPECT_TRUE(WaitGone(qi));
    EXPECT_TRUE(WaitFor([&] { return Text(form, IDC_TITLE) == "Alpha title"; }));
    EXPECT_EQ(Text(form, IDC_TEXT), "Alpha text");
    EXPECT_EQ(ListPosition(form, IDC_ICON), 1);
    EXPECT_TRUE(app.Running());

    // Exit of a second opening loads nothing; the form then inserts and ends with 1.
    Command(form, IDC_LOADCODE);
    qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    Command(qi, IDC_EXIT);
    EXPECT_TRUE(WaitGone(qi));
    EXPECT_EQ(Text(form, IDC_TITLE), "Alpha title");
    Command(form, IDC_INSERT);
    EXPECT_EQ(app.WaitExit(), 1);
    EXPECT_EQ(dir.Read("a.c"), "MessageBox(NULL, \"Alpha text\", \"Alpha title\", MB_OK | MB_ICONWARNING);");
}

// -QI in the simple layout: the main form of Edit opens a second QuickInsert;
// closing the main form afterwards must still end the hidden first one.
TEST(QuickInsertE2E, SecondQuickInsertDoesNotKeepTheProgramAlive) {
    for (const bool editInSecond : {false, true}) {
        SCOPED_TRACE(editInSecond ? "second window ends by Edit" : "second window ends by Exit");
        TempDir dir;
        App app(dir, {"-QI"}, Settings());
        HWND first = app.WaitWindow(kQuickInsert);
        ASSERT_NE(first, nullptr);
        ChooseListBoxEntry(first, IDC_QI_LIST, 0);
        Command(first, IDC_QI_EDIT);
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(WaitGone(first));

        Command(form, IDC_LOADCODE);
        HWND second = app.WaitWindow(kQuickInsert);
        ASSERT_NE(second, nullptr);
        ASSERT_NE(second, first);
        EXPECT_FALSE(Visible(second, IDC_INSERT)) << "opened from the simple main form";
        if (editInSecond) {
            ChooseListBoxEntry(second, IDC_QI_LIST, 1);
            Command(second, IDC_QI_EDIT);
            EXPECT_TRUE(WaitFor([&] { return Text(form, IDC_TITLE) == "Beta title"; }));
        } else {
            Command(second, IDC_EXIT);
        }
        ASSERT_TRUE(WaitGone(second));
        EXPECT_TRUE(app.Running());
        Command(form, IDC_EXIT);
        EXPECT_EQ(app.WaitExit(5000), 0);
    }
}

// The main form that Edit makes under -QI runs in QuickInsert's hidden modal
// loop; Tab still moves between its controls.
TEST(QuickInsertE2E, TabMovesThroughTheModelessMainForm) {
    TempDir dir;
    App app(dir, {"-QI"}, Settings());
    HWND qi = app.WaitWindow(kQuickInsert);
    ASSERT_NE(qi, nullptr);
    ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
    Command(qi, IDC_QI_EDIT);
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    const DWORD thread = GetWindowThreadProcessId(form, nullptr);
    auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    };
    HWND title = Control(form, IDC_TITLE);
    ASSERT_TRUE(WaitFor([&] { return focus() == title; })) << "the title field starts with the focus";
    PressKey(title, VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == Control(form, IDC_TITLEVAR); }));
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
