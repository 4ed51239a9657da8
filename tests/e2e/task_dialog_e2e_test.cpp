// The task dialog designer driven in the real program: opened from the Code
// menu in both layouts, its preview read control by control and closed by a
// custom button, the statements it writes, and the paths a task-dialog
// statement takes: Insert in source, QuickBox Set and Load, Load code and
// QuickInsert's Edit.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

constexpr char kDesigner[] = "Promptwright - Task dialog";
const std::string kTaskSlot =
    "TaskDialog(NULL, NULL, L\"Editor\", L\"Save changes?\", NULL, TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, "
    "TD_WARNING_ICON, NULL);";
const std::string kBoxSlot = R"(MessageBox(NULL, "Box text", "Box title", MB_OK);)";

std::string Settings(const std::string& settings = "") {
    return "[Settings]\r\n" + settings + "[QuickBox]\r\nAlpha=" + kBoxSlot + "\r\nTask=" + kTaskSlot + "\r\n";
}

// The texts of every control of a window (the task dialog's labels have no
// identifiers of their own).
std::set<std::string> ChildTexts(HWND window) {
    std::set<std::string> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        texts.insert(WindowTextOf(child));
    return texts;
}

HWND OpenDesigner(const App& app, HWND form) {
    Command(form, IDM_TASKDIALOG);
    return app.WaitWindow(kDesigner);
}

void AddEntry(HWND designer, int addButton, const std::string& id, const std::string& text) {
    SendCommand(designer, addButton);
    // Single-line fields tell the designer of WM_SETTEXT as of typing.
    SetText(designer, addButton == IDC_TD_BUTTONADD ? IDC_TD_BUTTONID : IDC_TD_RADIOID, id);
    SetText(designer, addButton == IDC_TD_BUTTONADD ? IDC_TD_BUTTONTEXT : IDC_TD_RADIOTEXT, text);
}

TEST(TaskDialogE2E, OpensFromTheCodeMenuInBothLayoutsAndPreviewsWhatTheFieldsSay) {
    TempDir dir;
    {
        App app(dir, {}, "[Settings]\r\nadvanced=0\r\n");
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        HWND designer = OpenDesigner(app, form);
        ASSERT_NE(designer, nullptr) << "simple layout";
        EXPECT_FALSE(IsWindowEnabled(form)) << "modal over the main form";
        EXPECT_EQ(Text(designer, IDC_TD_OWNER), "GetActiveWindow()") << "the first Parent entry";
        // F1 on a control shows its note.
        SendMessageW(designer, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(designer, IDC_TD_COMMANDLINKS)), TRUE);
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        HWND note = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (note = FindWindowA("PromptwrightHelpNote", nullptr)) != nullptr; }));
        if (note != nullptr) {
            EXPECT_NE(WindowTextOf(note).find("TDF_USE_COMMAND_LINKS"), std::string::npos) << WindowTextOf(note);
            PressKey(note, VK_ESCAPE);
            EXPECT_TRUE(WaitGone(note));
        }
        PressKey(designer, VK_ESCAPE);
        EXPECT_TRUE(WaitGone(designer)) << "Escape closes the designer";
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(form) != FALSE; }));
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    HWND designer = OpenDesigner(app, form);
    ASSERT_NE(designer, nullptr) << "advanced layout";
    SetText(designer, IDC_TD_TITLE, "Preview title");
    SetText(designer, IDC_TD_MAININSTR, "The main instruction");
    SetText(designer, IDC_TD_CONTENT, "The content");
    AddEntry(designer, IDC_TD_BUTTONADD, "1001", "First");
    AddEntry(designer, IDC_TD_BUTTONADD, "IDC_SECOND", "Second");
    AddEntry(designer, IDC_TD_RADIOADD, "2001", "Radio one");
    AddEntry(designer, IDC_TD_RADIOADD, "2002", "Radio two");
    SetText(designer, IDC_TD_DEFRADIO, "2002");
    SetText(designer, IDC_TD_VERIFY, "Do not ask again");
    SetText(designer, IDC_TD_FOOTER, "The footer");
    ChooseListPosition(designer, IDC_TD_FOOTERICON, 3);

    // Enter in a single-line field previews.
    SendMessageW(designer, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(designer, IDC_TD_FOOTER)), TRUE);
    PressKey(Control(designer, IDC_TD_FOOTER), VK_RETURN);
    HWND preview = app.WaitWindow("Preview title");
    ASSERT_NE(preview, nullptr);
    const std::set<std::string> texts = ChildTexts(preview);
    for (const char* expected : {"The main instruction", "The content", "First", "Second", "Radio one", "Radio two",
                                 "Do not ask again", "The footer"})
        EXPECT_EQ(texts.count(expected), 1u) << expected;
    EXPECT_EQ(Text(preview, 1001), "First") << "a number is its own identifier";
    EXPECT_EQ(Text(preview, 2001), "Radio one");
    EXPECT_FALSE(Checked(preview, 2001));
    EXPECT_TRUE(Checked(preview, 2002)) << "the default radio button";
    EXPECT_FALSE(IsWindowEnabled(designer)) << "owned by the designer";

    SendMessageW(Control(preview, 1001), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(preview)) << "a custom button closes the preview";
    EXPECT_TRUE(app.NoMessageBoxWithin(300));
    EXPECT_TRUE(IsWindow(designer));
    SendCommand(designer, IDC_TD_CLOSE);
    EXPECT_TRUE(WaitGone(designer));
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(TaskDialogE2E, GenerateCodeWritesTheStatementOrSaysWhyNot) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\nAnswerHandling=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    HWND designer = OpenDesigner(app, form);
    ASSERT_NE(designer, nullptr);

    // The short form, with the answer handling of the Code menu.
    SetText(designer, IDC_TD_OWNER, "NULL");
    SetText(designer, IDC_TD_TITLE, "Editor");
    SetText(designer, IDC_TD_MAININSTR, "Save changes?");
    SetText(designer, IDC_TD_CONTENT, "Your changes\r\nwill be lost.");
    ChooseListPosition(designer, IDC_TD_MAINICON, 1);
    for (int id : {IDC_TD_COMMON_YES, IDC_TD_COMMON_NO, IDC_TD_COMMON_CANCEL}) Click(designer, id);
    SendCommand(designer, IDC_TD_GENERATE);
    EXPECT_EQ(Text(designer, IDC_TD_CODE),
              "int nButton = 0;\r\nTaskDialog(NULL, NULL, L\"Editor\", L\"Save changes?\", L\"Your changes\\nwill be "
              "lost.\", TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON, TD_WARNING_ICON, &nButton);\r\n"
              "if (nButton == IDYES)\r\n{\r\n}");

    // A variable title, a custom button and a verification box: the structure.
    Click(designer, IDC_TD_TITLEVAR);
    SetText(designer, IDC_TD_TITLE, "szTitle");
    AddEntry(designer, IDC_TD_BUTTONADD, "IDC_SAVE", "&Save");
    SetText(designer, IDC_TD_DEFBUTTON, "IDC_SAVE");
    SetText(designer, IDC_TD_VERIFY, "Again");
    SendCommand(designer, IDC_TD_GENERATE);
    const std::string code = Text(designer, IDC_TD_CODE);
    EXPECT_EQ(code.rfind("TASKDIALOG_BUTTON buttons[] = {\r\n    { IDC_SAVE, L\"&Save\" }\r\n};\r\n", 0), 0u) << code;
    for (const char* line : {"config.pszWindowTitle = szTitle;\r\n", "config.nDefaultButton = IDC_SAVE;\r\n",
                             "config.pszVerificationText = L\"Again\";\r\n", "if (nButton == IDC_SAVE)\r\n{\r\n}"})
        EXPECT_NE(code.find(line), std::string::npos) << line << " in\n" << code;

    // Two buttons of one identifier are refused with the writer's reason.
    AddEntry(designer, IDC_TD_BUTTONADD, "IDC_SAVE", "Save again");
    Command(designer, IDC_TD_GENERATE);
    MessageBoxInfo box = app.WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "Custom buttons 1 and 2 have the same identifier (IDC_SAVE)");
    EXPECT_TRUE(box.hasIcon);
    Close(box.window);
    EXPECT_TRUE(WaitGone(box.window));
    EXPECT_EQ(Text(designer, IDC_TD_CODE), code) << "nothing written";

    // Load code reads the designer's statements, and nothing else.
    SetText(designer, IDC_TD_CODE, "MessageBox(NULL, \"a\", \"b\", MB_OK);");
    Command(designer, IDC_TD_LOADCODE);
    box = app.WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "Unrecognised code: the text has no TaskDialog or TaskDialogIndirect call");
    Close(box.window);
    EXPECT_TRUE(WaitGone(box.window));
    SetText(designer, IDC_TD_CODE, code);
    SendCommand(designer, IDC_TD_LOADCODE);
    EXPECT_EQ(ListBoxCount(designer, IDC_TD_BUTTONLIST), 1);
    EXPECT_EQ(Text(designer, IDC_TD_TITLE), "szTitle");
    EXPECT_TRUE(Checked(designer, IDC_TD_TITLEVAR));

    SendCommand(designer, IDC_TD_CLOSE);
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

// A task-dialog slot opens the designer from the main form's QuickBox menu;
// the designer stores into slots, loads them, and inserts into the source
// files, closing the program as the main form's insertion does.
TEST(TaskDialogE2E, QuickBoxSetAndLoadAndInsertInSource) {
    TempDir dir;
    dir.Write("source.c", "void f(void)\r\n{\r\n    /*MB*/\r\n}\r\n");
    App app(dir, {"source.c"}, Settings("advanced=1\r\n"));
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SetText(form, IDC_TITLE, "kept");
    Command(form, 4102);  // QuickBox > Load > Task
    HWND designer = app.WaitWindow(kDesigner);
    ASSERT_NE(designer, nullptr);
    EXPECT_EQ(Text(designer, IDC_TD_TITLE), "Editor");
    EXPECT_EQ(Text(designer, IDC_TD_MAININSTR), "Save changes?");
    EXPECT_TRUE(Checked(designer, IDC_TD_COMMON_YES));
    EXPECT_EQ(ListPosition(designer, IDC_TD_MAINICON), 1);
    EXPECT_EQ(Text(form, IDC_TITLE), "kept") << "the main form is not cleared for a task dialog";

    SetText(designer, IDC_TD_MAININSTR, "Discard changes?");
    SendCommand(designer, 4201);  // QuickBox > Set > Alpha
    const std::string stored = ValueLine(dir.Read("promptwright.ini"), "Alpha");
    EXPECT_EQ(stored.rfind("\"TaskDialog(NULL, NULL, L\"Editor\", L\"Discard changes?\"", 0), 0u) << stored;
    EXPECT_EQ(stored.find('\n'), std::string::npos);
    EXPECT_EQ(ValueLine(dir.Read("promptwright.ini"), "Task"), kTaskSlot);

    SendCommand(designer, 4102);
    EXPECT_EQ(Text(designer, IDC_TD_MAININSTR), "Save changes?");
    SendCommand(designer, 4101);
    EXPECT_EQ(Text(designer, IDC_TD_MAININSTR), "Discard changes?") << "the slot just set";

    Command(designer, IDC_TD_INSERT);
    EXPECT_EQ(app.WaitExit(), 1) << "InsertShutDown ends the designer and the main form";
    EXPECT_EQ(dir.Read("source.c"),
              "void f(void)\r\n{\r\n    TaskDialog(NULL, NULL, L\"Editor\", L\"Discard changes?\", NULL, "
              "TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, TD_WARNING_ICON, NULL);\r\n}\r\n");
}

// Load code in the main form, the start-up slot and QuickInsert's Edit hand a
// task dialog over.
TEST(TaskDialogE2E, LoadCodeAndQuickInsertEditOpenTheDesigner) {
    TempDir dir;
    {
        App app(dir, {}, Settings("advanced=1\r\n"));
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        SetText(form, IDC_CODE, kTaskSlot);
        Command(form, IDC_LOADCODE);
        HWND designer = app.WaitWindow(kDesigner);
        ASSERT_NE(designer, nullptr);
        EXPECT_EQ(Text(designer, IDC_TD_TITLE), "Editor");
        EXPECT_EQ(Text(designer, IDC_TD_CODE), kTaskSlot) << "the statement read shows in the designer's code box";
        // The designer hands a message box back to the form.
        Command(designer, 4101);  // QuickBox > Load > Alpha
        EXPECT_TRUE(WaitGone(designer));
        EXPECT_TRUE(WaitFor([&] { return Text(form, IDC_TITLE) == "Box title"; })) << Text(form, IDC_TITLE);
        EXPECT_TRUE(app.NoMessageBoxWithin(300));
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    {
        // A task-dialog start-up slot opens the designer over the form once it shows.
        App app(dir, {}, Settings("StartupQuickBox=Task\r\n"));
        HWND designer = app.WaitWindow(kDesigner);
        ASSERT_NE(designer, nullptr);
        EXPECT_EQ(Text(designer, IDC_TD_TITLE), "Editor");
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(IsWindowVisible(form));
        SendCommand(designer, IDC_TD_CLOSE);
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    App app(dir, {"-QI"}, Settings());
    HWND quickInsert = app.WaitWindow("Promptwright - QuickInsert");
    ASSERT_NE(quickInsert, nullptr);
    ChooseListBoxEntry(quickInsert, IDC_QI_LIST, 1);
    Command(quickInsert, IDC_QI_EDIT);
    HWND designer = app.WaitWindow(kDesigner);
    ASSERT_NE(designer, nullptr);
    EXPECT_EQ(Text(designer, IDC_TD_MAININSTR), "Save changes?");
    EXPECT_FALSE(IsWindowVisible(quickInsert));
    SendCommand(designer, IDC_TD_CLOSE);
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr) << "the main form Edit opened stays";
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
