// A statement read and written again: every statement the writer writes comes
// back as it was in the options it was written in; hand-typed and converted
// statements come out as the writer writes them; text that is no statement
// gives nothing.
#include "core/convert/restate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codegen/codegen_fixtures.h"
#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/codegen/task_dialog_fixtures.h"
#include "core/codegen/task_dialog_writer.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw {
namespace {

using test::FakeParamsPrompt;

// Texts that survive the writer's escaping and the reader's unescaping
// (UTF-8, with characters Windows-1252 has, so that ANSI strings hold them).
// clang-format off
const std::vector<std::string> kLiterals = {
    "Save changes?", "", "Say \"hi\", it's \\\\ok\\\\.", "Line one\r\nLine two\tend", "50% done; (really)",
    "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac 5 caf\xc3\xa9",  "\xc2\x81" "1 \xc2\x9d" "F",
    "C:\\dir\\file.txt /* not a comment */",
};
// clang-format on
const std::vector<std::string> kVariables = {"szText", "GetText(1)", "p->title", "(LPCSTR)buf"};
const std::vector<std::string> kOwners = {"NULL", "GetActiveWindow()", "hWnd"};
const std::vector<ParamsOptions> kParams = {
    {"mbp", "IDI_APP", "MsgBoxCallback", "(DWORD)7"},
    {"Wnd", "1", "cb", "IDH_SAVE"},  // a name that starts like the W structure
};

// The form of sweep step `n`: every call form, button set, icon and answer
// mode with each string mode, texts and flags varied along.
PlainForm FormOf(int n, FakeParamsPrompt& prompt) {
    PlainForm form(Layout::Advanced);
    const auto pick = [n](const auto& list, int salt) {
        return list[static_cast<std::size_t>(n * 7 + salt) % list.size()];
    };
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX + n % 3);
    form.SetListPosition(IDC_BUTTONS, n / 3 % 6);
    form.SetListPosition(IDC_ICON, n / 18 % 6);
    form.SetListPosition(IDC_DEFBUTTON, n / 5 % 4);
    form.SetListPosition(IDC_LANGUAGE, n * 13 % kLanguageCount);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_APPLMODAL + n / 7 % 3);
    for (std::size_t f = 0; f < kFlags.size(); ++f) form.SetChecked(kFlags[f].control, (n >> f) % 3 == 0);
    form.SetText(IDC_PARENT, pick(kOwners, 1));
    const bool textVar = n % 5 == 0, titleVar = n % 4 == 1;
    form.SetChecked(IDC_TEXTVAR, textVar);
    form.SetChecked(IDC_TITLEVAR, titleVar);
    form.SetText(IDC_TEXT, textVar ? pick(kVariables, 2) : pick(kLiterals, 3));
    form.SetText(IDC_TITLE, titleVar ? pick(kVariables, 4) : pick(kLiterals, 5));
    prompt.options = pick(kParams, 6);
    return form;
}

TEST(RestateStatement, EveryWrittenStatementComesBackAsItWasInItsOwnOptions) {
    for (int n = 0; n < 108 * 3; ++n) {
        for (int o = 0; o < 9; ++o) {
            const CodeOptions options{static_cast<CharacterSet>(o % 3), static_cast<AnswerHandling>(o / 3)};
            FakeParamsPrompt prompt;
            const PlainForm form = FormOf(n, prompt);
            const std::string written = GenerateStatement(form, prompt, options);
            EXPECT_EQ(RestateStatement(written, options), written) << n << "/" << o;
            // As a file or the code box holds it, with CR LF line ends.
            EXPECT_EQ(RestateStatement(ExpandLineFeeds(written), options), written) << n << "/" << o;
        }
    }
}

TEST(RestateStatement, TypedAndConvertedStatementsComeOutAsTheWriterWritesThem) {
    const struct {
        std::string in;
        CodeOptions options;
        std::string out;
    } cases[] = {
        {"MessageBox( NULL ,\"Hi\",  \"T\" , MB_YESNO|MB_ICONQUESTION ) ;  // ask\r\n",
         {CharacterSet::Wide, AnswerHandling::Switch},
         "switch (MessageBoxW(NULL, L\"Hi\", L\"T\", MB_YESNO | MB_ICONQUESTION))\n{\ncase IDYES:\n    break;\n"
         "case IDNO:\n    break;\n}"},
        {"switch (MessageBoxW(NULL, L\"Hi\", L\"T\", MB_YESNO))\n{\ncase IDYES:\n    Save();\n    break;\n}",
         {},
         "MessageBox(NULL, \"Hi\", \"T\", MB_YESNO);"},
        {"if (MessageBox(hWnd, _T(\"caf\xc3\xa9\"), \"T\", MB_OKCANCEL) == IDCANCEL) { return; }",
         {CharacterSet::Text, AnswerHandling::If},
         "if (MessageBox(hWnd, TEXT(\"caf\\u00E9\"), TEXT(\"T\"), MB_OKCANCEL) == IDOK)\n{\n}"},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));",
         {CharacterSet::Wide},
         "MessageBoxExW(NULL, L\"a\", L\"b\", MB_OK, 0x0000);"},
        // A set-up as people write it; a style the form cannot see keeps the icon and help options.
        {"MSGBOXPARAMS mbp = { sizeof(mbp), 0, 0, 0, 0, 0, MAKEINTRESOURCE(IDI_APP) };\nmbp.hwndOwner = g_hwnd;\n"
         "mbp.hInstance = g_hInstance;\nmbp.lpszText = text;\nmbp.dwStyle = uType;\nreturn MessageBoxIndirect(&mbp);",
         {CharacterSet::Wide},
         "MSGBOXPARAMSW mbp;\nmbp.cbSize= sizeof(MSGBOXPARAMSW);\nmbp.hwndOwner= g_hwnd;\nmbp.hInstance= g_hInstance;\n"
         "mbp.lpszText= text;\nmbp.lpszCaption= NULL;\nmbp.dwStyle= MB_OK | uType;\nmbp.lpszIcon= MAKEINTRESOURCEW(IDI_APP);\n"
         "mbp.dwLanguageId= 0x0000;\nMessageBoxIndirectW(&mbp);"},
        // The MSGBOXPARAMS options as typed, white space aside.
        {"MSGBOXPARAMS p;\np.cbSize = sizeof(MSGBOXPARAMS);\np.hwndOwner = NULL;\np.hInstance = "
         "GetModuleHandle(NULL);\np.lpszText = \"t\";\np.lpszCaption = \"c\";\np.dwStyle = MB_OK | MB_USERICON | "
         "MB_HELP;\np.lpszIcon = MAKEINTRESOURCEA( IDI_APP );\np.dwContextHelpId = 12;\np.lpfnMsgBoxCallback = "
         "OnHelp;\np.dwLanguageId = 0x0409;\nMessageBoxIndirect(&p);",
         {CharacterSet::Wide},
         "MSGBOXPARAMSW p;\np.cbSize= sizeof(MSGBOXPARAMSW);\np.hwndOwner= NULL;\np.hInstance= "
         "GetModuleHandle(NULL);\np.lpszText= L\"t\";\np.lpszCaption= L\"c\";\np.dwStyle= MB_OK | MB_USERICON | "
         "MB_HELP;\np.lpszIcon= MAKEINTRESOURCEW(IDI_APP);\np.dwContextHelpId= 12;\np.lpfnMsgBoxCallback= "
         "OnHelp;\np.dwLanguageId= 0x0409;\nMessageBoxIndirectW(&p);"},
    };
    for (const auto& c : cases) EXPECT_EQ(RestateStatement(c.in, c.options), c.out) << c.in;
}

// The writer names no structure when the options dialog gives no name; such
// a statement still comes back as it was.
TEST(RestateStatement, AStructureWithoutANameIsStillRestated) {
    const std::string unnamed =
        "MSGBOXPARAMS ;\n.cbSize= sizeof(MSGBOXPARAMS);\n.hwndOwner= GetActiveWindow();\n.lpszText= "
        "\"\";\n.lpszCaption= \"\";\n.dwStyle= MB_OK;\n.dwLanguageId= 0x0400;\nMessageBoxIndirect(&);";
    EXPECT_EQ(RestateStatement(unnamed, {}).value_or("<none>"), unnamed);
}

TEST(RestateStatement, TextThatIsNoStatementGivesNothing) {
    for (const char* text : {"", "  \r\n", "hello", "MessageBeep(0);", "int MessageBox = 0;",
                             "/* MessageBox(NULL, \"a\", \"b\", MB_OK); */"})
        EXPECT_EQ(RestateStatement(text, {}), std::nullopt) << text;
}

// Task dialogs: read and written as task dialogs, in any answer option, also
// as a QuickBox slot holds them (line breaks dropped); the character set does
// not apply, since they are always wide.
TEST(RestateStatement, TaskDialogsComeBackAsTheyWereAndTakeTheAnswerOption) {
    test::TaskDialogMaker maker(20261208);
    for (int n = 0; n < 200; ++n) {
        const TaskDialogConfig config = maker.Config();
        for (int a = 0; a < 3; ++a) {
            const auto answer = static_cast<AnswerHandling>(a);
            const std::string written = WriteTaskDialog(config, answer);
            const CodeOptions options{static_cast<CharacterSet>(n % 3), answer};
            EXPECT_EQ(RestateStatement(written, options), written) << n << "/" << a;
            std::string slot = written;
            std::erase(slot, '\n');
            EXPECT_EQ(RestateStatement(slot, options), written) << n << "/" << a;
            const auto other = static_cast<AnswerHandling>((a + 1) % 3);
            EXPECT_EQ(RestateStatement(written, {CharacterSet::Ansi, other}), WriteTaskDialog(config, other));
        }
    }
}

TEST(RestateStatement, ATaskDialogTheWriterRefusesGivesItsProblem) {
    // Two custom buttons with one identifier, as typed by hand.
    const std::string typed =
        "TASKDIALOG_BUTTON buttons[] = { { 1001, L\"A\" }, { 1001, L\"B\" } };\n"
        "TASKDIALOGCONFIG config;\nZeroMemory(&config, sizeof(config));\nconfig.cbSize = sizeof(config);\n"
        "config.cButtons = ARRAYSIZE(buttons);\nconfig.pButtons = buttons;\n"
        "TaskDialogIndirect(&config, NULL, NULL, NULL);";
    std::string problem;
    EXPECT_EQ(RestateStatement(typed, {}, Windows1252(), &problem), std::nullopt);
    EXPECT_NE(problem.find("1001"), std::string::npos) << problem;

    problem.clear();
    EXPECT_EQ(RestateStatement("TaskDialog(NULL, NULL, L\"a\", L\"b\", L\"c\", 0,", {}, Windows1252(), &problem),
              std::nullopt);
    EXPECT_EQ(problem, "Unrecognised code: TaskDialog( has no closing parenthesis");  // what and where
}

// A message box whose texts its string mode cannot hold is not written either.
TEST(RestateStatement, AMessageBoxTheCheckRefusesGivesItsProblem) {
    std::string problem;
    EXPECT_EQ(RestateStatement("MessageBox(NULL, TEXT(\"\\u2713 ok\"), \"T\", MB_OK);", {}, Windows1252(), &problem),
              std::nullopt);
    EXPECT_EQ(problem, std::string(kAnsiStringsMessage).replace(kAnsiStringsMessage.find("%s"), 2, "\xe2\x9c\x93"));
    EXPECT_EQ(RestateStatement("MessageBox(NULL, \"\xed\xa0\xbd\", \"T\", MB_OK);", {CharacterSet::Wide}, Windows1252(),
                               &problem),
              std::nullopt);
    EXPECT_NE(problem.find("U+D83D"), std::string::npos) << problem;
}

}  // namespace
}  // namespace pw
