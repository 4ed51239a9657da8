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
    EXPECT_EQ(c.title.text, "a\rb\r\ncd\xe2\x82\xac");
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
        "TaskDialog(NULL, hInstance, L\"T\", NULL, NULL, 0, NULL, NULL);",
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
        replaced(indirect, "TDF_USE_COMMAND_LINKS", "TDF_USE_COMMAND_LINKS_NO_ICON"),
        replaced(indirect, "TD_WARNING_ICON", "TD_QUESTION_ICON"),
        replaced(indirect, "config.pszFooter =", "config.pfCallback = Callback;\nconfig.pszFooter ="),
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

TEST(TaskDialogReader, TellsTaskDialogsFromMessageBoxes) {
    for (const char* text :
         {"TaskDialog(NULL, NULL, NULL, NULL, NULL, 0, NULL, NULL);", " /* x */\r\nTASKDIALOGCONFIG c;",
          "TASKDIALOG_BUTTON b[] = {", "int nButton = 0;\nTaskDialog(", "BOOL f; int n;TaskDialogIndirect("})
        EXPECT_TRUE(IsTaskDialogStatement(text)) << text;
    for (const char* text : {"", "MessageBox(NULL, \"\", \"\", MB_OK);", "if (MessageBoxW(", "MSGBOXPARAMS mbp;",
                             "int x = 0;\nMessageBox(", "TaskDialogX(", "int", "switch (TaskDialog"})
        EXPECT_FALSE(IsTaskDialogStatement(text)) << text;
}

}  // namespace
}  // namespace pw
