// The main form's commands end to end: what the user gets in the code box, on
// the clipboard, in the source files and on the screen.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

constexpr char kAdvanced[] = "[Settings]\r\nadvanced=1\r\n";

class AdvancedForm : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& args = {}, const std::string& settings = kAdvanced) {
        app_ = std::make_unique<App>(dir_, args, settings);
        form_ = app_->MainForm();
        ASSERT_NE(form_, nullptr);
    }
    void TearDown() override {
        if (app_ && app_->Running() && form_ != nullptr) Close(form_);
        if (app_) app_->WaitExit(5000);
    }
    void Fill(const std::string& title, const std::string& text, const std::string& parent = "NULL") {
        SetText(form_, IDC_TITLE, title);
        SetText(form_, IDC_TEXT, text);
        SetText(form_, IDC_PARENT, parent);
    }
    std::string Generate() {
        SendCommand(form_, IDC_GENERATE);
        return Text(form_, IDC_CODE);
    }
    HWND WaitParamsDialog() { return app_->WaitWindow("MessageBoxIndirect", 10000); }

    TempDir dir_;
    std::unique_ptr<App> app_;
    HWND form_ = nullptr;
};

TEST_F(AdvancedForm, GenerateWritesEachCallForm) {
    Start();
    Fill("Greeting", "Hello");
    EXPECT_EQ(Generate(), "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);");

    Click(form_, IDC_TYPE_BOXEX);
    ChooseListPosition(form_, IDC_BUTTONS, 5);
    ChooseListPosition(form_, IDC_DEFBUTTON, 2);
    ChooseListPosition(form_, IDC_ICON, 3);
    Click(form_, IDC_TOPMOST);
    EXPECT_EQ(Generate(),
              "MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_YESNOCANCEL | MB_DEFBUTTON3 | "
              "MB_ICONQUESTION | MB_TOPMOST, 0x0400);");
}

TEST_F(AdvancedForm, TypedTextReachesTheStatementAsTyped) {
    Start();
    Fill("It's 100%", "Saved %d files\r\nSay \"hi\"\t50%");
    Click(form_, IDC_TITLEVAR);
    EXPECT_EQ(Generate(), "MessageBox(NULL, \"Saved %d files\\nSay \\\"hi\\\"\\t50%\", It's 100%, MB_OK);");
}

TEST_F(AdvancedForm, IndirectAsksForTheStructureNameAndWritesOneStatementPerLine) {
    Start();
    Fill("Greeting", "Hello");
    Click(form_, IDC_TYPE_INDIRECT);
    Command(form_, IDC_GENERATE);
    HWND params = WaitParamsDialog();
    ASSERT_NE(params, nullptr);
    EXPECT_FALSE(Enabled(params, IDC_PARAMS_ICONID)) << "no user icon chosen";
    EXPECT_FALSE(Enabled(params, IDC_PARAMS_CALLBACK)) << "no help button";

    // OK with no name and Escape both leave the dialog open.
    SendCommand(params, IDC_OK);
    SendCommand(params, IDCANCEL);
    Sleep(200);
    ASSERT_TRUE(IsWindowVisible(params));

    SetText(params, IDC_PARAMS_NAME, "mbp");
    SendCommand(params, IDC_OK);
    ASSERT_TRUE(WaitGone(params));
    const std::string expected =
        "MSGBOXPARAMS mbp;\r\n"
        "mbp.cbSize= sizeof(MSGBOXPARAMS);\r\n"
        "mbp.hwndOwner= NULL;\r\n"
        "mbp.lpszText= \"Hello\";\r\n"
        "mbp.lpszCaption= \"Greeting\";\r\n"
        "mbp.dwStyle= MB_OK;\r\n"
        "mbp.dwLanguageId= 0x0400;\r\n"
        "MessageBoxIndirect(&mbp);";
    ASSERT_TRUE(WaitFor([&] { return Text(form_, IDC_CODE) == expected; })) << Text(form_, IDC_CODE);

    // The next generation opens the dialog empty again; its close box keeps
    // the name of the last OK.
    SetText(form_, IDC_CODE, "");
    Command(form_, IDC_GENERATE);
    params = WaitParamsDialog();
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(Text(params, IDC_PARAMS_NAME), "");
    Close(params);
    ASSERT_TRUE(WaitGone(params));
    EXPECT_TRUE(WaitFor([&] { return Text(form_, IDC_CODE) == expected; }));
}

// Without a structure name the statement would not compile: closing before
// the first OK writes nothing.
TEST_F(AdvancedForm, IndirectClosedWithoutOkAtFirstUseWritesNothing) {
    Start();
    Click(form_, IDC_TYPE_INDIRECT);
    ChooseListPosition(form_, IDC_ICON, 5);
    Click(form_, IDC_HELPBUTTON);
    Command(form_, IDC_GENERATE);
    HWND params = WaitParamsDialog();
    ASSERT_NE(params, nullptr);
    EXPECT_TRUE(Enabled(params, IDC_PARAMS_ICONID));
    EXPECT_TRUE(Enabled(params, IDC_PARAMS_HELPID));
    Close(params);
    ASSERT_TRUE(WaitGone(params));
    Sleep(300);  // time for a statement to arrive, were one written
    EXPECT_EQ(Text(form_, IDC_CODE), "");
    EXPECT_TRUE(IsWindowVisible(form_));
}

TEST_F(AdvancedForm, HugeTextsAreWrittenWhole) {
    Start();
    std::string text, escaped;
    for (int i = 0; i < 20000; ++i) {  // about 200 KB
        text += "line " + std::to_string(i) + "\r\n";
        escaped += "line " + std::to_string(i) + "\\n";
    }
    const std::string title(5000, 'T');
    Fill(title, text);
    SendCommand(form_, IDC_COPY);
    EXPECT_EQ(ClipboardText(), "MessageBox(NULL, \"" + escaped + "\", \"" + title + "\", MB_OK);");
}

TEST_F(AdvancedForm, CopyPutsTheStatementOnTheClipboard) {
    Start();
    SetClipboardText("before");
    Fill("Title", "Line one\r\nLine two");
    SendCommand(form_, IDC_COPY);
    EXPECT_EQ(ClipboardText(), "MessageBox(NULL, \"Line one\\nLine two\", \"Title\", MB_OK);");
}

TEST_F(AdvancedForm, LoadCodeSetsTheFormFromTheCodeBox) {
    Start();
    SetText(form_, IDC_CODE,
            "MessageBoxEx(hWnd, szText, \"It\\'s, done\", MB_YESNO | MB_ICONHAND | MB_SYSTEMMODAL, 0x0c0a);");
    SendCommand(form_, IDC_LOADCODE);
    EXPECT_EQ(Text(form_, IDC_PARENT), "hWnd");
    EXPECT_EQ(Text(form_, IDC_TEXT), "szText");
    EXPECT_TRUE(Checked(form_, IDC_TEXTVAR));
    EXPECT_EQ(Text(form_, IDC_TITLE), "It's, done");
    EXPECT_FALSE(Checked(form_, IDC_TITLEVAR));
    EXPECT_EQ(ListPosition(form_, IDC_BUTTONS), 4);
    EXPECT_EQ(ListPosition(form_, IDC_ICON), 4);
    EXPECT_NE(ShownIcon(form_, IDC_ICONPREVIEW), nullptr);
    EXPECT_TRUE(Checked(form_, IDC_SYSTEMMODAL));
    EXPECT_TRUE(Checked(form_, IDC_TYPE_BOXEX));
    EXPECT_EQ(ListPosition(form_, IDC_LANGUAGE), 45);
}

TEST_F(AdvancedForm, LoadCodeReadsThePlainCallWithCommentsAndLineBreaks) {
    Start();
    SetText(form_, IDC_CODE,
            "// shown when the file is saved\r\nMessageBox( GetActiveWindow(),\r\n    \"See http://x.example/a, b\",  "
            "/* text */\r\n"
            "    \"Saved\", MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONASTERISK | MB_TOPMOST );");
    SendCommand(form_, IDC_LOADCODE);
    EXPECT_TRUE(Checked(form_, IDC_TYPE_BOX));
    EXPECT_EQ(Text(form_, IDC_PARENT), "GetActiveWindow()");
    EXPECT_EQ(Text(form_, IDC_TEXT), "See http://x.example/a, b");
    EXPECT_EQ(Text(form_, IDC_TITLE), "Saved");
    EXPECT_EQ(ListPosition(form_, IDC_BUTTONS), 2);
    EXPECT_EQ(ListPosition(form_, IDC_DEFBUTTON), 1);
    EXPECT_EQ(ListPosition(form_, IDC_ICON), 2);
    EXPECT_TRUE(Checked(form_, IDC_TOPMOST));
    EXPECT_EQ(ListPosition(form_, IDC_LANGUAGE), 1);
}

TEST_F(AdvancedForm, LoadCodeReadsTheIndirectFormBack) {
    Start();
    SetText(form_, IDC_CODE,
            "MSGBOXPARAMS mbp;\r\nmbp.cbSize= sizeof(MSGBOXPARAMS);\r\nmbp.hwndOwner= NULL;\r\n"
            "mbp.lpszText= \"Two\\nlines\";\r\nmbp.lpszCaption= \"T\";\r\n"
            "mbp.dwStyle= MB_OKCANCEL | MB_HELP;\r\nmbp.dwLanguageId= 0x0407;\r\nMessageBoxIndirect(&mbp);");
    SendCommand(form_, IDC_LOADCODE);
    EXPECT_TRUE(Checked(form_, IDC_TYPE_INDIRECT));
    EXPECT_EQ(Text(form_, IDC_TEXT), "Two\r\nlines");
    EXPECT_EQ(ListPosition(form_, IDC_BUTTONS), 2);
    EXPECT_TRUE(Checked(form_, IDC_HELPBUTTON));
    EXPECT_EQ(ListPosition(form_, IDC_LANGUAGE), 26);

    // The options dialog shows what the statement carried.
    Command(form_, IDC_GENERATE);
    HWND params = WaitParamsDialog();
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(Text(params, IDC_PARAMS_NAME), "mbp");
    Close(params);
    ASSERT_TRUE(WaitGone(params));
}

TEST_F(AdvancedForm, TextThatIsNoStatementIsReportedAndLeavesTheFormAsItWas) {
    Start();
    SetText(form_, IDC_TITLE, "stays");
    SetText(form_, IDC_CODE, "printf(\"hello\");");
    Command(form_, IDC_LOADCODE);
    const MessageBoxInfo box = app_->WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, "Unrecognised code");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    SendCommand(box.window, IDOK);
    ASSERT_TRUE(WaitGone(box.window));
    EXPECT_EQ(Text(form_, IDC_TITLE), "stays");
    EXPECT_EQ(Text(form_, IDC_CODE), "printf(\"hello\");");
}

TEST_F(AdvancedForm, PreviewShowsTheDescribedBox) {
    Start();
    Fill("Preview title", "Preview text");
    ChooseListPosition(form_, IDC_BUTTONS, 5);
    ChooseListPosition(form_, IDC_ICON, 3);
    Command(form_, IDC_PREVIEW);
    const MessageBoxInfo box = app_->WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Preview title");
    EXPECT_EQ(box.text, "Preview text");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    EXPECT_TRUE(box.hasIcon);
    SendCommand(box.window, IDYES);
    EXPECT_TRUE(WaitGone(box.window));
    EXPECT_TRUE(app_->Running());
}

TEST_F(AdvancedForm, InsertReplacesTheMarkerAndEndsWithResultOne) {
    dir_.Write("a.c", "int f(void)\r\n{\r\n    /*MB*/\r\n}\r\n");
    Start({"a.c"});
    Fill("T", "Done");
    Command(form_, IDC_INSERT);
    EXPECT_EQ(app_->WaitExit(), 1);
    EXPECT_EQ(dir_.Read("a.c"), "int f(void)\r\n{\r\n    MessageBox(NULL, \"Done\", \"T\", MB_OK);\r\n}\r\n");
}

TEST_F(AdvancedForm, InsertIntoThreeFilesAsksOnlyForTheFirst) {
    dir_.Write("a.c", "no marker here\r\n");
    dir_.Write("b.c", "also none\r\n");
    dir_.Write("c.c", "x = /*mb*/;\r\n");
    Start({"a.c", "b.c", "c.c"}, "[Settings]\r\nadvanced=1\r\nInsertShutDown=0\r\n");
    Fill("T", "X");
    SetClipboardText("before");
    Command(form_, IDC_INSERT);
    const MessageBoxInfo question = app_->WaitMessageBox();
    ASSERT_NE(question.window, nullptr);
    EXPECT_EQ(question.caption, "Copy to clipboard?");
    EXPECT_EQ(question.text, "There is no MessageBox insertion code found\nCopy the code to the clipboard?");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    SendCommand(question.window, IDYES);
    ASSERT_TRUE(WaitGone(question.window));
    EXPECT_TRUE(app_->NoMessageBoxWithin(500)) << "later files are inserted without asking";
    EXPECT_TRUE(WaitFor([&] { return dir_.Read("c.c") == "x = MessageBox(NULL, \"X\", \"T\", MB_OK);;\r\n"; }));
    EXPECT_EQ(ClipboardText(), "MessageBox(NULL, \"X\", \"T\", MB_OK);");
    EXPECT_EQ(dir_.Read("a.c"), "no marker here\r\n");
    EXPECT_EQ(dir_.Read("b.c"), "also none\r\n");
    EXPECT_TRUE(app_->Running()) << "InsertShutDown=0 keeps the form open";
}

TEST(MainFormCommandsE2E, SimpleLayoutWritesTheMessageBoxForm) {
    TempDir dir;
    dir.Write("a.c", "/*MB*/");
    App app(dir, {"a.c"}, "[Settings]\r\nInsertShutDown=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SetText(form, IDC_TEXT, "Simple");
    ChooseListPosition(form, IDC_ICON, 1);
    Click(form, IDC_RIGHT);
    Command(form, IDC_INSERT);
    EXPECT_EQ(app.WaitExit(), 1);
    EXPECT_EQ(dir.Read("a.c"), "MessageBox(GetActiveWindow(), \"Simple\", \"\", MB_OK | MB_ICONWARNING | MB_RIGHT);");
}

}  // namespace
}  // namespace e2e
