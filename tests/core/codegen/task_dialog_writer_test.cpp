// The task-dialog statement character for character in both forms and every
// answer option; which configurations need the structure; what the switch
// lists; the problems refused before writing; and texts and lists of any size.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/codegen/statement_writer.h"
#include "core/codegen/task_dialog_fixtures.h"
#include "core/codegen/task_dialog_writer.h"

namespace pw {
namespace {

TaskDialogConfig SaveQuestion() {
    TaskDialogConfig c;
    c.title = {"Editor"};
    c.mainInstruction = {"Save changes?"};
    c.content = {"Your changes\r\nwill be lost. Caf\xc3\xa9 \xe2\x82\xac 5"};
    c.mainIcon = TaskIcon::Warning;
    c.commonButtons = kTaskYes | kTaskNo | kTaskCancel;
    return c;
}

TEST(TaskDialogWriter, ShortFormInEveryAnswerOption) {
    const std::string call =
        "TaskDialog(NULL, NULL, L\"Editor\", L\"Save changes?\", L\"Your changes\\nwill be lost. Caf\\u00E9 \\u20AC "
        "5\", TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON, TD_WARNING_ICON, ";
    EXPECT_EQ(WriteTaskDialog(SaveQuestion()), call + "NULL);");
    EXPECT_EQ(WriteTaskDialog(SaveQuestion(), AnswerHandling::If),
              "int nButton = 0;\n" + call + "&nButton);\nif (nButton == IDYES)\n{\n}");
    EXPECT_EQ(WriteTaskDialog(SaveQuestion(), AnswerHandling::Switch),
              "int nButton = 0;\n" + call +
                  "&nButton);\nswitch (nButton)\n{\ncase IDYES:\n    break;\ncase IDNO:\n    break;\ncase "
                  "IDCANCEL:\n    break;\n}");

    // Nothing but the defaults: the system's OK button, and IDOK to test.
    EXPECT_EQ(WriteTaskDialog(TaskDialogConfig{}, AnswerHandling::If),
              "int nButton = 0;\nTaskDialog(NULL, NULL, NULL, NULL, NULL, 0, NULL, &nButton);\n"
              "if (nButton == IDOK)\n{\n}");
}

TEST(TaskDialogWriter, IndirectFormInEveryAnswerOption) {
    TaskDialogConfig c = test::TypicalTaskDialog();
    c.radioButtons = {{"2001", "This file"}, {"2002", "All files"}};
    c.defaultRadioButton = "2002";
    c.width = 240;
    c.footer = {"szFooter", true};
    const std::string head =
        "TASKDIALOG_BUTTON buttons[] = {\n"
        "    { IDC_SAVE, L\"&Save\" },\n"
        "    { IDC_DONTSAVE, L\"Do&n\\'t save\\nClose without saving\" }\n"
        "};\n"
        "TASKDIALOG_BUTTON radioButtons[] = {\n"
        "    { 2001, L\"This file\" },\n"
        "    { 2002, L\"All files\" }\n"
        "};\n"
        "TASKDIALOGCONFIG config;\n";
    const std::string members =
        "ZeroMemory(&config, sizeof(config));\n"
        "config.cbSize = sizeof(config);\n"
        "config.hwndParent = hwnd;\n"
        "config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_USE_COMMAND_LINKS;\n"
        "config.dwCommonButtons = TDCBF_CANCEL_BUTTON;\n"
        "config.pszWindowTitle = L\"Editor\";\n"
        "config.pszMainIcon = TD_WARNING_ICON;\n"
        "config.pszMainInstruction = L\"Do you want to save the changes to \\\"report.txt\\\"?\";\n"
        "config.pszContent = L\"Your changes will be lost if you don\\'t save them.\\nAutosave is off.\";\n"
        "config.cButtons = ARRAYSIZE(buttons);\n"
        "config.pButtons = buttons;\n"
        "config.nDefaultButton = IDC_SAVE;\n"
        "config.cRadioButtons = ARRAYSIZE(radioButtons);\n"
        "config.pRadioButtons = radioButtons;\n"
        "config.nDefaultRadioButton = 2002;\n"
        "config.pszVerificationText = L\"Always save without asking\";\n"
        "config.pszFooterIcon = TD_INFORMATION_ICON;\n"
        "config.pszFooter = szFooter;\n"
        "config.cxWidth = 240;\n";
    const std::string received = "int nButton = 0;\nint nRadioButton = 0;\nBOOL fVerificationFlagChecked = FALSE;\n";
    const std::string call = "TaskDialogIndirect(&config, &nButton, &nRadioButton, &fVerificationFlagChecked);\n";

    EXPECT_EQ(WriteTaskDialog(c), head + members + "TaskDialogIndirect(&config, NULL, NULL, NULL);");
    EXPECT_EQ(WriteTaskDialog(c, AnswerHandling::If),
              head + received + members + call + "if (nButton == IDC_SAVE)\n{\n}");
    EXPECT_EQ(WriteTaskDialog(c, AnswerHandling::Switch),
              head + received + members + call +
                  "switch (nButton)\n{\ncase IDC_SAVE:\n    break;\ncase IDC_DONTSAVE:\n    break;\n"
                  "case IDCANCEL:\n    break;\n}");
}

TEST(TaskDialogWriter, EveryFieldBeyondTheShortCallNeedsTheStructure) {
    const auto& extras = test::FieldsBeyondTheShortCall();
    for (std::size_t k = 0; k < extras.size(); ++k) {
        TaskDialogConfig c = SaveQuestion();
        extras[k](c);
        EXPECT_TRUE(WriteTaskDialog(c).starts_with("TASK")) << "extra " << k;
    }
}

TEST(TaskDialogWriter, SwitchListsEveryValueOnce) {
    TaskDialogConfig c;
    c.buttons = {{"IDCANCEL", "Stop"}, {"1001", "Go"}};
    c.commonButtons = kTaskOk | kTaskClose;
    c.allowCancellation = true;  // IDCANCEL is listed already
    const std::string s = WriteTaskDialog(c, AnswerHandling::Switch);
    EXPECT_EQ(s.substr(s.find("switch")),
              "switch (nButton)\n{\ncase IDCANCEL:\n    break;\ncase 1001:\n    break;\ncase IDOK:\n    break;\n"
              "case IDCLOSE:\n    break;\n}");
}

TEST(TaskDialogWriter, ProblemsAreNamedBeforeWriting) {
    // clang-format off
    const std::pair<std::function<void(TaskDialogConfig&)>, std::string> cases[] = {
        {[](auto& c) { c.owner = " "; }, "The owner window is empty: write NULL for none"},
        {[](auto& c) { c.buttons = {{"1001", "A"}, {"", "B"}}; }, "Custom button 2 has no identifier"},
        {[](auto& c) { c.radioButtons = {{" \t", "A"}}; }, "Radio button 1 has no identifier"},
        {[](auto& c) { c.buttons = {{"IDC_A", "A"}, {"1001", "B"}, {" IDC_A", "C"}}; },
         "Custom buttons 1 and 3 have the same identifier ( IDC_A)"},
        {[](auto& c) { c.radioButtons = {{"0x7D1", "A"}, {"2001", "B"}}; },
         "Radio buttons 1 and 2 have the same identifier (2001)"},
        {[](auto& c) { c.buttons = {{"1", "Fine"}}; }, "Custom button 1 has the identifier of the OK button (1)"},
        {[](auto& c) { c.buttons = {{"IDNO", "No way"}}; },
         "Custom button 1 has the identifier of the No button (IDNO)"},
        {[](auto& c) { c.title = {"  ", true}; }, "The window title is a variable without a name"},
        {[](auto& c) { c.footer = {"C:\\"}; },
         "The footer has a backslash at its end or before a quote, a tab, a line break or a character outside ASCII: "
         "write \\\\ for a backslash"},
        {[](auto& c) { c.buttons = {{"1001", "Say \\\"hi\\\""}}; }, "The text of custom button 1 has a backslash"},
        {[](auto& c) { c.content = {"It\\'s"}; }, "The content has a backslash"},
        {[](auto& c) { c.verification = {"a\\\tb"}; }, "The verification text has a backslash"},
        {[](auto& c) { c.footer = {"a\\\r\nb"}; }, "The footer has a backslash"},
        {[](auto& c) { c.radioButtons = {{"1", "\\\xc3\xa9"}}; }, "The text of radio button 1 has a backslash"},
        {[](auto& c) { c.title = {"a\xed\xa0\xbd b \xed\xa0\xbd"}; },
         "The text holds characters that no string can hold: U+D83D (half"},
        {[](auto& c) { c.buttons = {{"1001", "\xed\xb8\x80"}}; }, "The text holds characters that no string can hold: U+DE00"},
    };
    // clang-format on
    for (const auto& [change, message] : cases) {
        TaskDialogConfig c;
        c.commonButtons = kTaskOk | kTaskNo;
        change(c);
        EXPECT_EQ(TaskDialogProblem(c).value_or("(none)").substr(0, message.size()), message);
    }

    // Fine: the same identifier among custom and radio buttons, a custom
    // IDCANCEL beside cancellation, unchecked common buttons' identifiers,
    // escaped backslashes and quotes, an empty variable (no text), a
    // variable with half a character.
    TaskDialogConfig fine;
    fine.commonButtons = kTaskOk;
    fine.buttons = {{"IDYES", "Yes!"}, {"IDCANCEL", "Stop"}, {"1001", "C:\\\\dir\\\\"}};
    fine.radioButtons = {{"1001", "One"}};
    fine.allowCancellation = true;
    fine.content = {"\"quoted\" \\\\\" \\\\\xc3\xa9 C:\\temp \\x41", false};
    fine.footer = {"", true};
    fine.verification = {"szCheck\xed\xa0\xbd", true};  // variables are written as typed
    EXPECT_EQ(TaskDialogProblem(fine), std::nullopt);
    EXPECT_EQ(TaskDialogProblem(test::TypicalTaskDialog()), std::nullopt);
}

TEST(TaskDialogWriter, WritesTextsAndListsOfAnySizeWhole) {
    TaskDialogConfig c;
    std::string longText;
    while (longText.size() < 100000) longText += "Say \"hi\", it's 100% \xc3\xa9;\r\n";
    c.content = {longText};
    for (int k = 0; k < 100; ++k) c.buttons.push_back({std::to_string(1000 + k), "Button " + std::to_string(k)});
    c.buttons.back().text = longText;
    const std::string s = WriteTaskDialog(c, AnswerHandling::Switch);
    EXPECT_NE(s.find("    { 1000, L\"Button 0\" },\n"), std::string::npos);
    EXPECT_NE(s.find("    { 1098, L\"Button 98\" },\n"), std::string::npos);
    EXPECT_NE(s.find("case 1099:\n    break;\n}"), std::string::npos);
    const std::string escaped = "L\"" + EscapeLiteral(longText, CharacterSet::Wide) + "\"";
    EXPECT_NE(s.find("    { 1099, " + escaped + " }\n};\n"), std::string::npos);
    EXPECT_NE(s.find("config.pszContent = " + escaped + ";\n"), std::string::npos);
}

}  // namespace
}  // namespace pw
