// QuickBox slots through the main form's menu commands, against real settings
// files. (Menu contents cannot be read across processes; the in-process tests
// check them.)
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

const std::string kAlpha = R"(MessageBox(NULL, "Alpha text", "Alpha title", MB_OK | MB_ICONWARNING);)";
const std::string kBeta = R"(MessageBox(NULL, "Beta text", "Beta title", MB_YESNO | MB_TOPMOST);)";

std::string TwoSlots(const std::string& settings = "") {
    return "[Settings]\r\n" + settings + "[QuickBox]\r\nAlpha=" + kAlpha + "\r\nBeta=" + kBeta + "\r\n";
}

void ExpectClearState(HWND form) {
    EXPECT_EQ(Text(form, IDC_TITLE), "");
    EXPECT_EQ(Text(form, IDC_TEXT), "");
    EXPECT_EQ(ListPosition(form, IDC_BUTTONS), 1);
    EXPECT_EQ(ListPosition(form, IDC_ICON), 0);
    EXPECT_FALSE(Checked(form, IDC_TOPMOST));
}

TEST(QuickBoxE2E, WithoutSectionTheFormOpensClearAndSlotCommandsWriteNothing) {
    TempDir dir;
    const std::string settings = "[Settings]\r\nStartupQuickBox=Alpha\r\n";
    App app(dir, {}, settings);
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    ExpectClearState(form);
    SetText(form, IDC_TITLE, "typed");
    SendCommand(form, 4201);
    SendCommand(form, 4101);
    EXPECT_TRUE(app.NoMessageBoxWithin(300));
    EXPECT_EQ(Text(form, IDC_TITLE), "") << "a Load of no slot only clears";
    EXPECT_EQ(dir.Read("promptwright.ini"), settings) << "no Set item exists";
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickBoxE2E, SlotsTakeIdentifiersInFileOrder) {
    TempDir dir;
    App app(dir, {}, TwoSlots());
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SendCommand(form, 4102);
    EXPECT_EQ(Text(form, IDC_TITLE), "Beta title");
    EXPECT_TRUE(Checked(form, IDC_TOPMOST));
    SendCommand(form, 4101);
    EXPECT_EQ(Text(form, IDC_TITLE), "Alpha title");
    EXPECT_FALSE(Checked(form, IDC_TOPMOST)) << "Load clears first";
    EXPECT_EQ(ListPosition(form, IDC_ICON), 1);

    SetText(form, IDC_TITLE, "Now Beta");
    SendCommand(form, 4202);
    const std::string file = dir.Read("promptwright.ini");
    EXPECT_EQ(ValueLine(file, "Alpha"), kAlpha);
    EXPECT_NE(ValueLine(file, "Beta").find("\"Now Beta\""), std::string::npos) << ValueLine(file, "Beta");
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

// A slot too long to be read whole is never loaded or inserted cut, and a
// statement too long to be stored is refused: each time the user is told, and
// the form and the files stay as they were.
TEST(QuickBoxE2E, TooLongSlotsAreReportedAndNothingIsCut) {
    TempDir dir;
    const std::string settings =
        TwoSlots() + "Long=MessageBox(NULL, \"" + std::string(70000, 'L') + "\", \"t\", MB_OK);\r\n";
    dir.Write("source.c", "/*MB*/");
    {
        App app(dir, {"source.c"}, settings);
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        SetText(form, IDC_TITLE, "typed");
        PostMessageA(form, WM_COMMAND, MAKEWPARAM(4103, 0), 0);
        MessageBoxInfo box = app.WaitMessageBox();
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text,
                  "QuickBox slot 'Long' is too long to be read whole (more than 65532 characters); it was not loaded");
        EXPECT_TRUE(box.hasIcon);
        Close(box.window);
        ASSERT_TRUE(WaitGone(box.window)) << "else the next wait could find this box again";
        EXPECT_EQ(Text(form, IDC_TITLE), "typed") << "the form is kept";

        SetText(form, IDC_TEXT, std::string(40000, 'x'));
        PostMessageA(form, WM_COMMAND, MAKEWPARAM(4201, 0), 0);
        box = app.WaitMessageBox();
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text,
                  "The statement is too long for a QuickBox slot (a slot holds at most 32758 characters); 'Alpha' "
                  "was not changed");
        Close(box.window);
        EXPECT_EQ(dir.Read("promptwright.ini"), settings);
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    {
        App app(dir, {"-QI", "source.c"}, settings);
        HWND quickInsert = app.WaitWindow("Promptwright - QuickInsert");
        ASSERT_NE(quickInsert, nullptr);
        ChooseListBoxEntry(quickInsert, IDC_QI_LIST, 2);
        PostMessageA(quickInsert, WM_COMMAND, MAKEWPARAM(IDC_INSERT, 0), 0);
        const MessageBoxInfo box = app.WaitMessageBox();
        ASSERT_NE(box.window, nullptr);
        EXPECT_NE(box.text.find("'Long' is too long"), std::string::npos) << box.text;
        Close(box.window);
        EXPECT_EQ(dir.Read("source.c"), "/*MB*/") << "nothing inserted";
        Close(quickInsert);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

TEST(QuickBoxE2E, NotFoundValueLoadsAsAMissingSlot) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nStartupQuickBox=Gone\r\n[QuickBox]\r\nGone=NOT FOUND\r\nAlpha=" + kAlpha + "\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(app.NoMessageBoxWithin(300));
    ExpectClearState(form);
    SendCommand(form, 4102);
    ASSERT_EQ(Text(form, IDC_TITLE), "Alpha title");
    SendCommand(form, 4101);
    EXPECT_TRUE(app.NoMessageBoxWithin(300)) << "nothing is reported";
    ExpectClearState(form);
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(QuickBoxE2E, StartupSlotIsLoadedWhenItExists) {
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "present" : "missing");
        TempDir dir;
        App app(dir, {}, TwoSlots(present ? "StartupQuickBox=Beta\r\n" : "StartupQuickBox=Gamma\r\n"));
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        if (present) {
            EXPECT_EQ(Text(form, IDC_TITLE), "Beta title");
            EXPECT_EQ(Text(form, IDC_TEXT), "Beta text");
            EXPECT_TRUE(Checked(form, IDC_TOPMOST));
        } else {
            EXPECT_TRUE(app.NoMessageBoxWithin(300));
            ExpectClearState(form);
        }
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

TEST(QuickBoxE2E, LoadReadsTheFileAgainEachTime) {
    TempDir dir;
    App app(dir, {}, TwoSlots());
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SendCommand(form, 4101);
    ASSERT_EQ(Text(form, IDC_TITLE), "Alpha title");
    Sleep(50);  // a new modification time for the file
    dir.Write("promptwright.ini",
              "[QuickBox]\r\nAlpha=MessageBox(NULL, \"x\", \"Edited by hand\", MB_OK);\r\nBeta=" + kBeta + "\r\n");
    SendCommand(form, 4101);
    EXPECT_EQ(Text(form, IDC_TITLE), "Edited by hand");
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

// Set stores the statement on one line; Load gives the form back, for each
// call form of the advanced layout.
TEST(QuickBoxE2E, SetThenLoadRoundTripsEachCallForm) {
    for (const int type : {IDC_TYPE_BOX, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT}) {
        SCOPED_TRACE(type);
        TempDir dir;
        App app(dir, {}, TwoSlots("advanced=1\r\n"));
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        SetText(form, IDC_TITLE, "Round \"trip\"");
        SetText(form, IDC_TEXT, "Line one\r\nLine two");
        SetText(form, IDC_PARENT, "hWnd");
        ChooseListPosition(form, IDC_BUTTONS, 4);
        ChooseListPosition(form, IDC_DEFBUTTON, 1);
        ChooseListPosition(form, IDC_ICON, 2);
        ChooseListPosition(form, IDC_LANGUAGE, 12);
        Click(form, IDC_SYSTEMMODAL);
        Click(form, IDC_RIGHT);
        Click(form, type);

        Command(form, 4202);
        if (type == IDC_TYPE_INDIRECT) {
            HWND params = app.WaitWindow("MessageBoxIndirect", 5000);
            ASSERT_NE(params, nullptr);
            SetText(params, IDC_PARAMS_NAME, "box");
            Command(params, IDC_OK);
        }
        std::string stored;
        // The file may be read while it is being written: wait for a whole new value.
        auto complete = [](const std::string& value) {
            return value.size() >= 3 && value.compare(value.size() - 3, 3, ");\"") == 0;
        };
        ASSERT_TRUE(WaitFor([&] {
            stored = ValueLine(dir.Read("promptwright.ini"), "Beta");
            return stored != kBeta && complete(stored);
        }));
        EXPECT_EQ(stored.find('\r'), std::string::npos);
        EXPECT_EQ(stored.find('\n'), std::string::npos);
        if (type == IDC_TYPE_INDIRECT) {
            EXPECT_NE(stored.find("MSGBOXPARAMS box;box.cbSize= sizeof(MSGBOXPARAMS);box.hwndOwner= hWnd;"),
                      std::string::npos)
                << stored;
        }
        EXPECT_EQ(ValueLine(dir.Read("promptwright.ini"), "Alpha"), kAlpha);

        SendCommand(form, IDM_CLEAR);
        ASSERT_EQ(Text(form, IDC_TITLE), "");
        SendCommand(form, 4102);
        EXPECT_TRUE(app.NoMessageBoxWithin(200));
        EXPECT_EQ(Text(form, IDC_TITLE), "Round \"trip\"");
        EXPECT_EQ(Text(form, IDC_TEXT), "Line one\r\nLine two");
        EXPECT_EQ(Text(form, IDC_PARENT), "hWnd");
        EXPECT_EQ(ListPosition(form, IDC_BUTTONS), 4);
        EXPECT_EQ(ListPosition(form, IDC_DEFBUTTON), 1);
        EXPECT_EQ(ListPosition(form, IDC_ICON), 2);
        EXPECT_EQ(ListPosition(form, IDC_LANGUAGE), type == IDC_TYPE_BOX ? 1 : 12) << "MessageBox has no language";
        EXPECT_TRUE(Checked(form, IDC_SYSTEMMODAL));
        EXPECT_TRUE(Checked(form, IDC_RIGHT));
        EXPECT_TRUE(Checked(form, type));
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

// A variable text holding a line break: the stored line keeps the file
// readable (no stray line, no lost key) and loads back as stored.
TEST(QuickBoxE2E, SetOfAVariableTextWithALineBreakKeepsTheFileReadable) {
    TempDir dir;
    App app(dir, {}, TwoSlots());
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SetText(form, IDC_TEXT, "szFirst\r\nszSecond");
    Click(form, IDC_TEXTVAR);
    SetText(form, IDC_TITLE, "  padded  ");
    SendCommand(form, 4201);
    const std::string file = dir.Read("promptwright.ini");
    EXPECT_EQ(ValueLine(file, "Beta"), kBeta);
    SendCommand(form, IDM_CLEAR);
    SendCommand(form, 4101);
    EXPECT_TRUE(app.NoMessageBoxWithin(200));
    EXPECT_EQ(Text(form, IDC_TEXT), "szFirstszSecond");
    EXPECT_TRUE(Checked(form, IDC_TEXTVAR));
    EXPECT_EQ(Text(form, IDC_TITLE), "  padded  ");
    SendCommand(form, 4102);
    EXPECT_EQ(Text(form, IDC_TITLE), "Beta title") << "the next key was not disturbed";
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
