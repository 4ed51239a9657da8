// Reading task-dialog statements back: every statement the writer writes, for
// a seeded spread of configurations in every answer option, as written, as a
// QuickBox slot stores it and with white space and comments changed; what the
// reader makes of what users change by hand; and the near-misses it refuses.
#include <gtest/gtest.h>

#include <string>

#include "core/codegen/task_dialog_fixtures.h"
#include "core/codegen/task_dialog_writer.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/settings/quickbox_slots.h"

namespace pw {
namespace {

constexpr AnswerHandling kAnswers[] = {AnswerHandling::None, AnswerHandling::If, AnswerHandling::Switch};

// The statement as a user might lay it out: other white space, comments,
// CR LF line breaks; tokens and literals untouched.
std::string Reformat(std::string_view s, test::TaskDialogMaker& m) {
    static const char* const kSpaces[] = {" ", "   ", "\t", " /* note */ ", "\r\n  "};
    static const char* const kBreaks[] = {"\n", "\r\n", "\n\n    ", " // note\n", "/**/\n"};
    static const char* const kAround[] = {"", " ", "/**/", "\t"};
    std::string out;
    bool literal = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (literal) {
            out += c;
            if (c == '\\') out += s[++i];
            if (c == '"') literal = false;
            continue;
        }
        if (c == '"') literal = true;
        if (c == ' ')
            out += kSpaces[m.Below(5)];
        else if (c == '\n')
            out += kBreaks[m.Below(5)];
        else
            out += c;
        if (std::string_view("(,{;&|").find(c) != std::string_view::npos) out += kAround[m.Below(4)];
    }
    return out;
}

TEST(TaskDialogReader, ReadsBackWhatTheWriterWrites) {
    test::TaskDialogMaker maker(20261208);
    int shortForms = 0, indirectForms = 0;
    for (int n = 0; n < 600; ++n) {
        const TaskDialogConfig config = n == 0 ? test::TypicalTaskDialog() : maker.Config();
        ASSERT_EQ(TaskDialogProblem(config), std::nullopt);
        for (AnswerHandling answer : kAnswers) {
            const std::string written = WriteTaskDialog(config, answer);
            (written.starts_with("TASK") ? indirectForms : shortForms) += 1;
            const std::string slot = StoredSlotValue(written);
            const std::string forms[] = {written, slot.substr(1, slot.size() - 2), Reformat(written, maker)};
            for (const std::string& form : forms) {
                TaskDialogConfig read;
                read.title = {"stale"};
                AnswerHandling answerRead = AnswerHandling::None;
                ASSERT_TRUE(ReadTaskDialog(form, read, &answerRead)) << form;
                ASSERT_EQ(read, config) << form;
                ASSERT_EQ(answerRead, answer) << form;
                ASSERT_TRUE(IsTaskDialogStatement(form)) << form;
            }
        }
    }
    EXPECT_GT(shortForms, 500);
    EXPECT_GT(indirectForms, 500);
}

TEST(TaskDialogReader, ReadsWhatUsersChange) {
    TaskDialogConfig c;
    ASSERT_TRUE(
        ReadTaskDialog("TaskDialog(hwnd, 0, L\"a\\rb\\nc\" L\"d\\u20AC\", GetText( IDS_A + 1 ), NULL, "
                       "TDCBF_OK_BUTTON, NULL, nullptr);",
                       c));
    EXPECT_EQ(c.owner, "hwnd");
    EXPECT_EQ(c.title.text, "a\\rb\r\ncd\xe2\x82\xac");  // \r stays the escape the writer writes back
    EXPECT_EQ(c.mainInstruction, (TaskText{"GetText(IDS_A+1)", true}));

    // Zeroed by its initialiser, counted by number or by sizeof, no cbSize.
    const char* const statement =
        "TASKDIALOG_BUTTON b[2] = { {1001, L\"A\"}, {sizeof x, L\"B\"}, };\n"
        "TASKDIALOGCONFIG tdc = {0};\n"
        "tdc.cButtons = sizeof(b) / sizeof(b[0]);\n"
        "tdc.pButtons = b;\n"
        "tdc.pRadioButtons = b; tdc.cRadioButtons = 2;\n"
        "TaskDialogIndirect(&tdc, NULL, NULL, NULL);";
    ASSERT_TRUE(ReadTaskDialog(statement, c));
    EXPECT_EQ(c.buttons, (std::vector<TaskButton>{{"1001", "A"}, {"sizeof x", "B"}}));
    EXPECT_EQ(c.radioButtons, c.buttons);
    EXPECT_EQ(c.owner, "NULL");

    // White space that keeps tokens apart stays, as one space.
    ASSERT_TRUE(ReadTaskDialog("TaskDialog(a - -b, NULL, x / / y, \xf4 \xf4 L\"a\", NULL, 0, NULL, NULL);", c));
    EXPECT_EQ(c.owner, "a- -b");
    EXPECT_EQ(c.title.text, "x/ /y");
    EXPECT_EQ(c.mainInstruction.text, "\xf4 \xf4 L\"a\"");
    ASSERT_TRUE(ReadTaskDialog("TASKDIALOGCONFIG c; c.nDefaultButton = -1; TaskDialogIndirect(&c, 0, 0, 0);", c));
    EXPECT_EQ(c.defaultButton, "-1");

    // The widest width there is.
    TaskDialogConfig wide;
    wide.width = 4294967295u;
    ASSERT_TRUE(ReadTaskDialog(WriteTaskDialog(wide), c));
    EXPECT_EQ(c, wide);
}

TEST(TaskDialogReader, RefusesNearMissesAndLeavesTheConfiguration) {
    const std::string indirect = WriteTaskDialog(test::TypicalTaskDialog(), AnswerHandling::Switch);
    const std::string plain = WriteTaskDialog(test::TypicalTaskDialog());
    const std::string shortCall = "TaskDialog(NULL, NULL, L\"T\", NULL, NULL, 0, NULL, NULL);";
    auto replaced = [](std::string s, std::string_view from, std::string_view to) {
        const std::size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    const std::string nearMisses[] = {
        "",
        "MessageBox(NULL, \"a\", \"b\", MB_OK);",
        "MSGBOXPARAMS mbp;\nmbp.cbSize= sizeof(MSGBOXPARAMS);\nMessageBoxIndirect(&mbp);",
        "TaskDialog(NULL, NULL, L\"T\", NULL, NULL, 0, NULL);",
        replaced(shortCall, "L\"T\"", "\"T\""),
        replaced(shortCall, "L\"T\"", "L\"T"),
        replaced(shortCall, "L\"T\"", "L\"T\nT\""),
        replaced(shortCall, "L\"T\"", "L\"T\\\r\nT\""),
        replaced(shortCall, "L\"T\"", "f(\"T\nT\")"),
        replaced(shortCall, ", 0,", ", TDCBF_HELP_BUTTON,"),
        replaced(shortCall, ";", "; x = 1;"),
        replaced(indirect, "sizeof(config);", "sizeof(buttons);"),
        replaced(indirect, "ARRAYSIZE(buttons)", "3"),
        replaced(indirect, "config.pButtons = buttons;\n", ""),
        replaced(indirect, "TD_WARNING_ICON", "TD_QUESTION_ICON"),
        replaced(indirect, "L\"&Save\"", "szSave"),
        replaced(indirect, "Indirect(&config,", "Indirect(&other,"),
        replaced(indirect, "ZeroMemory(&config,", "ZeroMemory(&other,"),
        replaced(indirect, "TaskDialogIndirect(", "ZeroMemory(&config, sizeof(config));\nTaskDialogIndirect("),
        replaced(indirect, "switch (nButton)", "switch (nRadioButton)"),
        replaced(indirect, "TASKDIALOGCONFIG config;", "TASKDIALOGCONFIG config"),
        replaced(plain, "TaskDialogIndirect(&config, NULL, NULL, NULL);", ""),
        replaced(plain, "NULL);", "NULL);\nMessageBox(NULL, \"a\", \"b\", MB_OK);"),
    };
    for (const std::string& text : nearMisses) {
        TaskDialogConfig c = test::TypicalTaskDialog();
        AnswerHandling answer = AnswerHandling::If;
        EXPECT_FALSE(ReadTaskDialog(text, c, &answer)) << text;
        EXPECT_EQ(c, test::TypicalTaskDialog());
        EXPECT_EQ(answer, AnswerHandling::If);
    }
}

// Statements as people write them, each with what it sets (a default
// configuration changed by `expect`).
TEST(TaskDialogReader, ReadsRealWorldShapes) {
    using C = TaskDialogConfig;
    struct Row {
        const char* text;
        void (*expect)(C&);
    };
    const Row rows[] = {
        {"hr = ::TaskDialog(hDlg, g_hInst, L\"Backup\", TEXT(\"Copy \") L\"done\", nullptr,\n"
         "    TDCBF_OK_BUTTON | 0x8, MAKEINTRESOURCE(IDI_BACKUP), &choice); // tell",
         [](C& c) {
             c.owner = "hDlg", c.instance = "g_hInst", c.title = {"Backup"}, c.mainInstruction = {"Copy done"};
             c.commonButtons = kTaskOk | kTaskCancel, c.mainIconSource = "MAKEINTRESOURCE(IDI_BACKUP)";
             c.resultButton = "&choice";
         }},
        {"if (SUCCEEDED(TaskDialog(0, 0, szTitle, NULL, L\"a\" \\\n L\"b\", uButtons, MAKEINTRESOURCEW(-3), 0)))",
         [](C& c) {
             c.owner = "0", c.title = {"szTitle", true}, c.content = {"ab"};
             c.otherCommonButtons = {"uButtons"}, c.mainIcon = TaskIcon::Information;
         }},
        {"TASKDIALOGCONFIG td = { sizeof(td) };\nLPCWSTR unused = L\"x\";\ntd.hwndParent = owner;\n"
         "td.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_CALLBACK_TIMER | (TASKDIALOG_FLAGS)extra;\n"
         "td.pfCallback = OnEvent; td.lpCallbackData = (LONG_PTR)this;\ntd.pszContent = L\"first\";\n"
         "Log(\"set\");\ntd.pszContent = L\"second\";\nreturn TaskDialogIndirect(&td, NULL, NULL, NULL);",
         [](C& c) {
             c.owner = "owner", c.allowCancellation = true;
             c.otherFlags = {"TDF_CALLBACK_TIMER", "(TASKDIALOG_FLAGS)extra"};
             c.callback = "OnEvent", c.callbackData = "(LONG_PTR)this", c.content = {"second"};
         }},
        {"static const TASKDIALOG_BUTTON kChoices[] = { { 10, L\"Keep\" }, { 11, _T(\"Drop\") }, };\n"
         "TASKDIALOGCONFIG cfg;\nSecureZeroMemory(&cfg, sizeof cfg);\nTASKDIALOGCONFIG *p = &cfg;\n"
         "p->cbSize = sizeof *p;\np->pButtons = kChoices;\np->cButtons = sizeof kChoices / sizeof *kChoices;\n"
         "p->dwFlags = 0x1010;\np->hMainIcon = hIcon; p->dwCommonButtons = 0x40;\n"
         "if (FAILED(TaskDialogIndirect(p, &n, nullptr, &checked))) return;",
         [](C& c) {
             c.buttons = {{"10", "Keep"}, {"11", "Drop"}}, c.positionRelativeToWindow = true, c.commandLinks = true;
             c.mainIconSource = "hIcon", c.mainIconHandle = true, c.otherCommonButtons = {"0x40"};
             c.resultButton = "&n", c.resultVerification = "&checked";
         }},
        {"TASKDIALOGCONFIG c = { sizeof c, hwnd, hInst, TDF_SIZE_TO_CONTENT, TDCBF_CLOSE_BUTTON, L\"T\",\n"
         "    TD_SHIELD_ICON };\nc.cxWidth = 0x40;\nTaskDialogIndirect(&c, NULL, NULL, NULL);",
         [](C& c) {
             c.owner = "hwnd", c.instance = "hInst", c.sizeToContent = true, c.commonButtons = kTaskClose;
             c.title = {"T"}, c.mainIcon = TaskIcon::Shield, c.width = 64;
         }},
        {"TASKDIALOGCONFIG c = { .cbSize = sizeof(TASKDIALOGCONFIG), .pszFooterIcon = MAKEINTRESOURCEW(IDI_NOTE),\n"
         "    .pszFooter = L\"f\" };\nTASKDIALOG_BUTTON own[3];\nown[0].nButtonID = 1;\n"
         "c.pRadioButtons = &own[0]; c.cRadioButtons = count;\nTaskDialogIndirect(&c, 0, &radio, 0);",
         [](C& c) {
             c.footerIconSource = "MAKEINTRESOURCEW(IDI_NOTE)", c.footer = {"f"};
             c.radioButtonsSource = "&own[0]", c.radioButtonCountSource = "count", c.resultRadioButton = "&radio";
         }},
        {"TASKDIALOGCONFIG c{};\nTASKDIALOG_BUTTON b[] = {{IDYES, L\"Y\"}};\nmemset(&c, 0, sizeof(c));\n"
         "c.pButtons = b; c.cButtons = _countof(b);\nc.dwFlags = TDF_USE_COMMAND_LINKS_NO_ICON;\n"
         "while (TaskDialogIndirect(&c, &n, NULL, NULL) == S_OK) {",
         [](C& c) {
             c.buttons = {{"IDYES", "Y"}}, c.otherFlags = {"TDF_USE_COMMAND_LINKS_NO_ICON"}, c.resultButton = "&n";
         }},
    };
    for (const Row& row : rows) {
        C want;
        row.expect(want);
        C read;
        std::string problem;
        ASSERT_TRUE(ReadTaskDialog(row.text, read, nullptr, &problem)) << row.text << "\n" << problem;
        EXPECT_EQ(read, want) << row.text;
        EXPECT_TRUE(IsTaskDialogStatement(row.text)) << row.text;
        // What is kept as written is written back and reads the same again.
        C again;
        ASSERT_TRUE(ReadTaskDialog(WriteTaskDialog(read), again)) << WriteTaskDialog(read);
        EXPECT_EQ(again, read) << WriteTaskDialog(read);
    }
}

TEST(TaskDialogReader, RefusalsSayWhatAndWhere) {
    const std::pair<const char*, const char*> rows[] = {
        {"hr = TaskDialogIndirect(&tdc, &n, NULL, NULL);",
         "TaskDialogIndirect(&tdc) needs the TASKDIALOGCONFIG set-up in the text"},
        {"TaskDialog(NULL, NULL, L\"T\", NULL, NULL, 0, NULL);", "this TaskDialog call has 7 arguments; TaskDialog takes 8"},
        {"TaskDialog(NULL, NULL,\n#if 1\nL\"T\",\n#endif\nNULL, NULL, 0, NULL, NULL);",
         "a preprocessor line stands inside brackets"},
        {"TASKDIALOGCONFIG c = {0};\nc.pszContent = (Log(), L\"a\"), L\"b\";\nTaskDialogIndirect(&c, 0, 0, 0);",
         "the value of the member pszContent holds a comma"},
        {"TaskDialog(NULL, NULL, \"T\", NULL, NULL, 0, NULL, NULL);",
         "the window title is a narrow literal; a task dialog takes wide strings (L\"...\")"},
        {"TASKDIALOGCONFIG c = {0};\nif (warn) c.pszMainIcon = TD_WARNING_ICON;\nTaskDialogIndirect(&c, 0, 0, 0);",
         "the member pszMainIcon is set only under a condition"},
        {"TASKDIALOGCONFIG c = {0};\n#ifdef BIG\nc.cxWidth = 300;\n#endif\nTaskDialogIndirect(&c, 0, 0, 0);",
         "the member cxWidth is set only under a condition"},
        {"TASKDIALOGCONFIG c = {0};\nc.dwFlags |= TDF_RTL_LAYOUT;\nTaskDialogIndirect(&c, 0, 0, 0);",
         "the member dwFlags is changed in a way the designer cannot follow"},
        {"TASKDIALOGCONFIG c = {0};\nFill(&c);\nTaskDialogIndirect(&c, 0, 0, 0);",
         "Fill(&c) uses c in a way the designer cannot follow"},
        {"TASKDIALOGCONFIG c = {0};\nc.cxWidth = width;\nTaskDialogIndirect(&c, 0, 0, 0);",
         "cxWidth is width, not a number of dialog units"},
        {"TASKDIALOGCONFIG c = {0};\nc.dwFlags = TDF_BIG;\nTaskDialogIndirect(&c, 0, 0, 0);",
         "TDF_BIG in dwFlags is not a name the headers define"},
        {"TASKDIALOG_BUTTON b[] = {{1, szOk}};\nTASKDIALOGCONFIG c = {0};\nc.pButtons = b; c.cButtons = 1;\n"
         "TaskDialogIndirect(&c, 0, 0, 0);",
         "the text of button 1 of b is no literal; the designer holds literal button texts"},
        {"TASKDIALOG_BUTTON b[] = {{1, L\"A\"}};\nTASKDIALOGCONFIG c = {0};\nc.pButtons = b; c.cButtons = 2;\n"
         "TaskDialogIndirect(&c, 0, 0, 0);",
         "the custom button count is 2, not the number of buttons in b"},
        {"TASKDIALOGCONFIG c = {0};\nc.pszWindowTitle = L\"T\";\nZeroMemory(&c, sizeof c);\nTaskDialogIndirect(&c, 0, 0, 0);",
         "ZeroMemory clears c after its members are set"},
        {"TaskDialog(NULL, NULL, L\"T\", NULL, NULL, 0, NULL, &n);\nShow(n);", "code follows the call: Show(n);"},
        {"TASKDIALOGCONFIG c;", "the text has no TaskDialogIndirect call"},
    };
    for (const auto& [text, message] : rows) {
        TaskDialogConfig c;
        std::string problem;
        EXPECT_FALSE(ReadTaskDialog(text, c, nullptr, &problem)) << text;
        EXPECT_EQ(problem, message) << text;
    }
}

TEST(TaskDialogReader, TellsTaskDialogsFromMessageBoxes) {
    for (const char* text :
         {"TaskDialog(NULL, NULL, NULL, NULL, NULL, 0, NULL, NULL);", " /* x */\r\nTASKDIALOGCONFIG c;",
          "TASKDIALOG_BUTTON b[] = {", "int nButton = 0;\nTaskDialog(", "BOOL f; int n;TaskDialogIndirect(",
          "if (SUCCEEDED(::TaskDialogIndirect(&tdc, &n, NULL, NULL)))", "hr = /* ask */ TaskDialog(hwnd, hInst,"})
        EXPECT_TRUE(IsTaskDialogStatement(text)) << text;
    for (const char* text : {"", "MessageBox(NULL, \"\", \"\", MB_OK);", "if (MessageBoxW(", "MSGBOXPARAMS mbp;",
                             "int x = 0;\nMessageBox(", "TaskDialogX(", "int", "switch (TaskDialog"})
        EXPECT_FALSE(IsTaskDialogStatement(text)) << text;
}

}  // namespace
}  // namespace pw
