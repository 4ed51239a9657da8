// The code writer in each code option: one table of statements per string
// mode, each with the three answer modes. Statements are written out in full.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/codegen/codegen_fixtures.h"
#include "core/codegen/statement_writer.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw {
namespace {

using test::FakeParamsPrompt;

constexpr AnswerHandling kNone = AnswerHandling::None;
constexpr AnswerHandling kIf = AnswerHandling::If;
constexpr AnswerHandling kSwitch = AnswerHandling::Switch;

// List positions: buttons 0 Abort/Retry/Ignore, 1 OK, 2 OK/Cancel, 3 Retry/Cancel,
// 4 Yes/No, 5 Yes/No/Cancel; icons 3 question, 4 stop, 5 user icon.
struct ModeCase {
    const char* name;
    AnswerHandling answer;
    int type = IDC_TYPE_BOX;
    int buttons = 1, defButton = 0, icon = 0;
    bool help = false;
    int language = kClearLanguage;
    const char* owner = "NULL";
    const char* text = "Hello";
    const char* title = "Greeting";
    bool textVar = false, titleVar = false;
    Layout layout = Layout::Advanced;
    ParamsOptions params{"mbp", "IDI_MYICON", "MsgBoxCallback", "1"};
    const char* statement = "";
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

std::string Write(const ModeCase& c, CharacterSet characterSet) {
    PlainForm form(c.layout);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, c.type);
    form.SetListPosition(IDC_BUTTONS, c.buttons);
    form.SetListPosition(IDC_DEFBUTTON, c.defButton);
    form.SetListPosition(IDC_ICON, c.icon);
    form.SetChecked(IDC_HELPBUTTON, c.help);
    form.SetListPosition(IDC_LANGUAGE, c.language);
    form.SetText(IDC_PARENT, c.owner);
    form.SetText(IDC_TEXT, c.text);
    form.SetText(IDC_TITLE, c.title);
    form.SetChecked(IDC_TEXTVAR, c.textVar);
    form.SetChecked(IDC_TITLEVAR, c.titleVar);
    FakeParamsPrompt prompt(c.params);
    return GenerateStatement(form, prompt, {characterSet, c.answer});
}

ModeCase SaveChanges(const char* name, AnswerHandling answer, const char* statement) {
    ModeCase c{name, answer};
    c.buttons = 5, c.icon = 3, c.text = "Save changes?", c.title = "Editor", c.statement = statement;
    return c;
}

// clang-format off
const ModeCase kAnsiCases[] = {
    SaveChanges("IssueIfExample", kIf,
                "if (MessageBox(NULL, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)\n"
                "{\n"
                "}"),
    SaveChanges("IssueSwitchExample", kSwitch,
                "switch (MessageBox(NULL, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION))\n"
                "{\n"
                "case IDYES:\n"
                "    break;\n"
                "case IDNO:\n"
                "    break;\n"
                "case IDCANCEL:\n"
                "    break;\n"
                "}"),
    SaveChanges("PlainAsBefore", kNone,
                "MessageBox(NULL, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION);"),
    {.name = "OkSetHasNothingToDecide", .answer = kIf, .statement = "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {.name = "HelpButtonAddsNoAnswer", .answer = kSwitch, .help = true,
     .statement = "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK | MB_HELP);"},
    {.name = "IfTestsTheFirstAnswerWhateverTheDefault", .answer = kIf, .type = IDC_TYPE_BOXEX, .buttons = 0,
     .defButton = 2,
     .statement = "if (MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, 0x0400) == IDABORT)\n"
                  "{\n"
                  "}"},
    {.name = "SwitchOkCancelWithVariableText", .answer = kSwitch, .buttons = 2, .text = "szText", .textVar = true,
     .statement = "switch (MessageBox(NULL, szText, \"Greeting\", MB_OKCANCEL))\n"
                  "{\n"
                  "case IDOK:\n"
                  "    break;\n"
                  "case IDCANCEL:\n"
                  "    break;\n"
                  "}"},
    {.name = "IndirectWrapsOnlyTheCall", .answer = kSwitch, .type = IDC_TYPE_INDIRECT, .buttons = 3, .icon = 4,
     .help = true, .params = {"mbp", "", "MsgBoxCallback", "1"},
     .statement = "MSGBOXPARAMS mbp;\n"
                  "mbp.cbSize= sizeof(MSGBOXPARAMS);\n"
                  "mbp.hwndOwner= NULL;\n"
                  "mbp.lpszText= \"Hello\";\n"
                  "mbp.lpszCaption= \"Greeting\";\n"
                  "mbp.dwStyle= MB_RETRYCANCEL | MB_ICONSTOP | MB_HELP;\n"
                  "mbp.dwContextHelpId= 1;\n"
                  "mbp.lpfnMsgBoxCallback= MsgBoxCallback;\n"
                  "mbp.dwLanguageId= 0x0400;\n"
                  "switch (MessageBoxIndirect(&mbp))\n"
                  "{\n"
                  "case IDRETRY:\n"
                  "    break;\n"
                  "case IDCANCEL:\n"
                  "    break;\n"
                  "}"},
    {.name = "IndirectIf", .answer = kIf, .type = IDC_TYPE_INDIRECT, .buttons = 4, .params = {"p", "", "", ""},
     .statement = "MSGBOXPARAMS p;\n"
                  "p.cbSize= sizeof(MSGBOXPARAMS);\n"
                  "p.hwndOwner= NULL;\n"
                  "p.lpszText= \"Hello\";\n"
                  "p.lpszCaption= \"Greeting\";\n"
                  "p.dwStyle= MB_YESNO;\n"
                  "p.dwLanguageId= 0x0400;\n"
                  "if (MessageBoxIndirect(&p) == IDYES)\n"
                  "{\n"
                  "}"},
    {.name = "NonAsciiPassesAsItIs", .answer = kNone, .text = "Caf\xc3\xa9 \xe2\x82\xac \xc2\x81",
     .title = "Stra\xc3\x9f" "e",
     .statement = "MessageBox(NULL, \"Caf\xc3\xa9 \xe2\x82\xac \xc2\x81\", \"Stra\xc3\x9f" "e\", MB_OK);"},
    {.name = "SimpleLayoutWrapsTheMessageBoxForm", .answer = kIf, .type = IDC_TYPE_INDIRECT, .buttons = 4,
     .layout = Layout::Simple,
     .statement = "if (MessageBox(NULL, \"Hello\", \"Greeting\", MB_YESNO) == IDYES)\n"
                  "{\n"
                  "}"},
};

const ModeCase kTextCases[] = {
    SaveChanges("Plain", kNone,
                "MessageBox(NULL, TEXT(\"Save changes?\"), TEXT(\"Editor\"), MB_YESNOCANCEL | MB_ICONQUESTION);"),
    SaveChanges("If", kIf,
                "if (MessageBox(NULL, TEXT(\"Save changes?\"), TEXT(\"Editor\"), MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)\n"
                "{\n"
                "}"),
    {.name = "ExSwitchAbortRetryIgnore", .answer = kSwitch, .type = IDC_TYPE_BOXEX, .buttons = 0, .language = 32,
     .owner = "hwnd",
     .statement = "switch (MessageBoxEx(hwnd, TEXT(\"Hello\"), TEXT(\"Greeting\"), MB_ABORTRETRYIGNORE, 0x0409))\n"
                  "{\n"
                  "case IDABORT:\n"
                  "    break;\n"
                  "case IDRETRY:\n"
                  "    break;\n"
                  "case IDIGNORE:\n"
                  "    break;\n"
                  "}"},
    {.name = "IndirectTwelveLines", .answer = kNone, .type = IDC_TYPE_INDIRECT, .icon = 5, .help = true, .language = 0,
     .statement = "MSGBOXPARAMS mbp;\n"
                  "mbp.cbSize= sizeof(MSGBOXPARAMS);\n"
                  "mbp.hwndOwner= NULL;\n"
                  "mbp.hInstance= GetModuleHandle(NULL);\n"
                  "mbp.lpszText= TEXT(\"Hello\");\n"
                  "mbp.lpszCaption= TEXT(\"Greeting\");\n"
                  "mbp.dwStyle= MB_OK | MB_USERICON | MB_HELP;\n"
                  "mbp.lpszIcon= MAKEINTRESOURCE(IDI_MYICON);\n"
                  "mbp.dwContextHelpId= 1;\n"
                  "mbp.lpfnMsgBoxCallback= MsgBoxCallback;\n"
                  "mbp.dwLanguageId= 0x0000;\n"
                  "MessageBoxIndirect(&mbp);"},
    {.name = "NonAsciiAsUniversalCharacterNames", .answer = kNone, .text = "Caf\xc3\xa9 \xe2\x82\xac Stra\xc3\x9f" "e \xc3\xbc",
     .title = "\xc3\x89t\xc3\xa9",
     .statement = "MessageBox(NULL, TEXT(\"Caf\\u00E9 \\u20AC Stra\\u00DFe \\u00FC\"), TEXT(\"\\u00C9t\\u00E9\"), MB_OK);"},
    {.name = "C1ControlsAsThreeOctalDigits", .answer = kNone, .text = "\xc2\x81" "1\xc2\x9d" "F\xc2\x8f",
     .title = "\xc2\x90\xc2\x8d",
     .statement = "MessageBox(NULL, TEXT(\"\\2011\\235F\\217\"), TEXT(\"\\220\\215\"), MB_OK);"},
    {.name = "VariablesAsTyped", .answer = kNone, .text = "szText", .title = "GetTitle(\xc3\xa9)",
     .textVar = true, .titleVar = true, .statement = "MessageBox(NULL, szText, GetTitle(\xc3\xa9), MB_OK);"},
    {.name = "EscapesAndTypedBackslashes", .answer = kNone, .text = "C:\\temp \"q\" it's\r\n\t50%", .title = "",
     .statement = "MessageBox(NULL, TEXT(\"C:\\temp \\\"q\\\" it\\'s\\n\\t50%\"), TEXT(\"\"), MB_OK);"},
};

const ModeCase kWideCases[] = {
    SaveChanges("Plain", kNone,
                "MessageBoxW(NULL, L\"Save changes?\", L\"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION);"),
    SaveChanges("Switch", kSwitch,
                "switch (MessageBoxW(NULL, L\"Save changes?\", L\"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION))\n"
                "{\n"
                "case IDYES:\n"
                "    break;\n"
                "case IDNO:\n"
                "    break;\n"
                "case IDCANCEL:\n"
                "    break;\n"
                "}"),
    {.name = "ExIfOkCancel", .answer = kIf, .type = IDC_TYPE_BOXEX, .buttons = 2, .defButton = 1,
     .statement = "if (MessageBoxExW(NULL, L\"Hello\", L\"Greeting\", MB_OKCANCEL | MB_DEFBUTTON2, 0x0400) == IDOK)\n"
                  "{\n"
                  "}"},
    {.name = "IndirectTwelveLinesIf", .answer = kIf, .type = IDC_TYPE_INDIRECT, .buttons = 4, .icon = 5,
     .help = true, .language = 0,
     .statement = "MSGBOXPARAMSW mbp;\n"
                  "mbp.cbSize= sizeof(MSGBOXPARAMSW);\n"
                  "mbp.hwndOwner= NULL;\n"
                  "mbp.hInstance= GetModuleHandle(NULL);\n"
                  "mbp.lpszText= L\"Hello\";\n"
                  "mbp.lpszCaption= L\"Greeting\";\n"
                  "mbp.dwStyle= MB_YESNO | MB_USERICON | MB_HELP;\n"
                  "mbp.lpszIcon= MAKEINTRESOURCEW(IDI_MYICON);\n"
                  "mbp.dwContextHelpId= 1;\n"
                  "mbp.lpfnMsgBoxCallback= MsgBoxCallback;\n"
                  "mbp.dwLanguageId= 0x0000;\n"
                  "if (MessageBoxIndirectW(&mbp) == IDYES)\n"
                  "{\n"
                  "}"},
    {.name = "IndirectVariablesAsTyped", .answer = kNone, .type = IDC_TYPE_INDIRECT, .owner = "hwnd",
     .text = "szText", .title = "szTitle", .textVar = true, .titleVar = true, .params = {"params", "", "", ""},
     .statement = "MSGBOXPARAMSW params;\n"
                  "params.cbSize= sizeof(MSGBOXPARAMSW);\n"
                  "params.hwndOwner= hwnd;\n"
                  "params.lpszText= szText;\n"
                  "params.lpszCaption= szTitle;\n"
                  "params.dwStyle= MB_OK;\n"
                  "params.dwLanguageId= 0x0400;\n"
                  "MessageBoxIndirectW(&params);"},
    {.name = "NonAscii", .answer = kNone, .text = "Caf\xc3\xa9 \xe2\x82\xac", .title = "\xc2\x81" "1\xc3\x9f",
     .statement = "MessageBoxW(NULL, L\"Caf\\u00E9 \\u20AC\", L\"\\2011\\u00DF\", MB_OK);"},
    {.name = "SimpleLayout", .answer = kSwitch, .buttons = 4, .layout = Layout::Simple,
     .statement = "switch (MessageBoxW(NULL, L\"Hello\", L\"Greeting\", MB_YESNO))\n"
                  "{\n"
                  "case IDYES:\n"
                  "    break;\n"
                  "case IDNO:\n"
                  "    break;\n"
                  "}"},
};
// clang-format on

class AnsiStatements : public testing::TestWithParam<ModeCase> {};
class TextStatements : public testing::TestWithParam<ModeCase> {};
class WideStatements : public testing::TestWithParam<ModeCase> {};

TEST_P(AnsiStatements, AreWrittenInFull) { EXPECT_EQ(Write(GetParam(), CharacterSet::Ansi), GetParam().statement); }
TEST_P(TextStatements, AreWrittenInFull) { EXPECT_EQ(Write(GetParam(), CharacterSet::Text), GetParam().statement); }
TEST_P(WideStatements, AreWrittenInFull) { EXPECT_EQ(Write(GetParam(), CharacterSet::Wide), GetParam().statement); }

const auto kCaseName = [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Table, AnsiStatements, testing::ValuesIn(kAnsiCases), kCaseName);
INSTANTIATE_TEST_SUITE_P(Table, TextStatements, testing::ValuesIn(kTextCases), kCaseName);
INSTANTIATE_TEST_SUITE_P(Table, WideStatements, testing::ValuesIn(kWideCases), kCaseName);

// A character of several bytes is one character: named whole, whatever its
// bytes look like; a byte that makes no character is U+FFFD.
TEST(EscapeLiteral, NamesUtf8CharactersWhole) {
    const struct {
        std::string_view text, named;
    } cases[] = {
        {"\xE3\x81\x82\xE3\x82\xBD\"x\xEF\xBD\xB1", "\\u3042\\u30BD\\\"x\\uFF71"},
        {"\xF0\x9F\x98\x80!", "\\U0001F600!"},
        {"a\xE3", "a\\uFFFD"},                  // cut at the end
        {"\xE3\x41z\x80", "\\uFFFDAz\\uFFFD"},  // a lead byte before ASCII, a stray continuation byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeLiteral(c.text, CharacterSet::Text), c.named);
        EXPECT_EQ(EscapeLiteral(c.text, CharacterSet::Wide), c.named);
    }
    EXPECT_EQ(EscapeLiteral("\xE3\x82\xBD\"", CharacterSet::Ansi), "\xE3\x82\xBD\\\"");

    ModeCase c{.name = "", .answer = kNone, .text = "\xE3\x82\xBD"};
    EXPECT_EQ(Write(c, CharacterSet::Wide), "MessageBoxW(NULL, L\"\\u30BD\", L\"Greeting\", MB_OK);");
}

}  // namespace
}  // namespace pw
