// the code writer, table-driven over both layouts, with a fake
// options dialog.
#include "core/codegen/statement_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "core/codegen/codegen_fixtures.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw {
namespace {

using test::FakeParamsPrompt;
using test::RawForm;

// ---------------------------------------------------------------- EscapeLiteral

struct EscapeCase {
    const char* name;
    std::string_view input;
    std::string_view escaped;
};

const EscapeCase kEscapeCases[] = {
    {"Empty", "", ""},
    {"Plain", "Hello", "Hello"},
    {"CrLfIsOneLineBreak", "Line one\r\nLine two", "Line one\\nLine two"},
    {"LoneLineFeed", "a\nb", "a\\nb"},
    {"LoneCarriageReturn", "a\rb", "a\\nb"},
    {"LineFeedThenCarriageReturnAreTwo", "a\n\rb", "a\\n\\nb"},
    {"CrCrLfIsTwo", "a\r\r\nb", "a\\n\\nb"},
    {"TrailingCarriageReturn", "a\r", "a\\n"},
    {"LeadingLineFeed", "\nb", "\\nb"},
    {"Tab", "a\tb", "a\\tb"},
    {"DoubleQuotes", "Say \"hi\"", "Say \\\"hi\\\""},
    {"Apostrophe", "It's", "It\\'s"},
    {"BackslashPassesAsTyped", "C:\\temp", "C:\\temp"},
    {"TypedEscapesPassAsTyped", "\\r\\x41\\\\", "\\r\\x41\\\\"},
    {"PercentPassesUnchanged", "50% %d %0 %1 %n %%", "50% %d %0 %1 %n %%"},
    {"TrailingPercent", "100%", "100%"},
    {"OtherControlCharactersPass", "\f\v\x01", "\f\v\x01"},
    {"HighBytesPass", "caf\xc3\xa9 \xff", "caf\xc3\xa9 \xff"},
    {"EmbeddedNulPasses", std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
    {"Everything", "\"'\t\r\n\n\r%\\,;", "\\\"\\'\\t\\n\\n\\n%\\,;"},
};

class EscapeLiteralTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeLiteralTest, WritesTheEscapedForm) { EXPECT_EQ(EscapeLiteral(GetParam().input), GetParam().escaped); }

INSTANTIATE_TEST_SUITE_P(Cases, EscapeLiteralTest, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What a C compiler makes of the escapes the writer produces.
std::string DecodeWriterEscapes(std::string_view literal) {
    std::string out;
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 == literal.size()) {
            out += literal[i];
            continue;
        }
        const char c = literal[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

// The text with every line break (CR LF, lone CR, lone LF) as one LF.
std::string NormaliseLineBreaks(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(EscapeLiteral, ALiteralWithoutBackslashesKeepsItsMeaning) {
    std::mt19937 rng(20240601);
    const std::string alphabet = "ab Z09\"'\t\r\n%,;()*/{}?#";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (int n = length(rng); n > 0; --n) text += alphabet[pick(rng)];
        const std::string escaped = EscapeLiteral(text);
        EXPECT_EQ(escaped.find_first_of("\r\n\t"), std::string::npos) << text;
        // No unescaped double quote: the literal cannot end early.
        for (std::size_t i = 0; i < escaped.size(); ++i)
            if (escaped[i] == '"') {
                EXPECT_TRUE(i > 0 && escaped[i - 1] == '\\') << text;
            }
        EXPECT_EQ(DecodeWriterEscapes(escaped), NormaliseLineBreaks(text));
    }
}

// ---------------------------------------------------------------- GenerateStatement

struct Texts {
    const char* owner = "NULL";
    const char* text = "Hello";
    const char* title = "Greeting";
    bool textVar = false;
    bool titleVar = false;
};

void SetTexts(Form& form, const Texts& t) {
    form.SetText(IDC_PARENT, t.owner);
    form.SetText(IDC_TEXT, t.text);
    form.SetText(IDC_TITLE, t.title);
    form.SetChecked(IDC_TEXTVAR, t.textVar);
    form.SetChecked(IDC_TITLEVAR, t.titleVar);
}

enum class Call { Box, BoxEx, Indirect };

struct StatementCase {
    const char* name;
    Texts texts;
    Call call = Call::Box;
    int icon = 0;
    bool help = false;
    int language = kClearLanguage;
    ParamsOptions options;  // what the fake options dialog holds
    const char* advanced;
    const char* simple;  // the simple layout always writes the MessageBox form
};

const ParamsOptions kFullOptions{"mbp", "IDI_MYICON", "MsgBoxCallback", "1"};

// clang-format off
const StatementCase kStatementCases[] = {
    {"Basic", {}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {"ExExample", {"GetActiveWindow()", "szMessage", "Error", true, false}, Call::BoxEx, 4, false, 1, {},
     "MessageBoxEx(GetActiveWindow(), szMessage, \"Error\", MB_OK | MB_ICONSTOP, 0x0400);",
     "MessageBox(GetActiveWindow(), szMessage, \"Error\", MB_OK | MB_ICONSTOP);"},
    {"EmptyLiterals", {"NULL", "", ""}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"\", \"\", MB_OK);", "MessageBox(NULL, \"\", \"\", MB_OK);"},
    {"EmptyOwner", {"", "Hi", "T"}, Call::Box, 0, false, 1, {},
     "MessageBox(, \"Hi\", \"T\", MB_OK);", "MessageBox(, \"Hi\", \"T\", MB_OK);"},
    {"EmptyVariableText", {"NULL", "", "Title", true, false}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, , \"Title\", MB_OK);", "MessageBox(NULL, , \"Title\", MB_OK);"},
    {"VariableTitle", {"hwnd", "Text", "szTitle", false, true}, Call::Box, 0, false, 1, {},
     "MessageBox(hwnd, \"Text\", szTitle, MB_OK);", "MessageBox(hwnd, \"Text\", szTitle, MB_OK);"},
    {"TwoLineLiteral", {"NULL", "Line one\r\nLine two", "T"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"Line one\\nLine two\", \"T\", MB_OK);",
     "MessageBox(NULL, \"Line one\\nLine two\", \"T\", MB_OK);"},
    {"QuotesAndApostrophe", {"NULL", "Say \"hi\"", "It's"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"Say \\\"hi\\\"\", \"It\\'s\", MB_OK);",
     "MessageBox(NULL, \"Say \\\"hi\\\"\", \"It\\'s\", MB_OK);"},
    {"SingleBackslash", {"NULL", "C:\\temp", "T"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"C:\\temp\", \"T\", MB_OK);", "MessageBox(NULL, \"C:\\temp\", \"T\", MB_OK);"},
    {"LoneLineFeed", {"NULL", "a\nb", "T"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"a\\nb\", \"T\", MB_OK);", "MessageBox(NULL, \"a\\nb\", \"T\", MB_OK);"},
    {"TabInTitle", {"NULL", "x", "a\tb"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"x\", \"a\\tb\", MB_OK);", "MessageBox(NULL, \"x\", \"a\\tb\", MB_OK);"},
    {"PercentAsTyped", {"NULL", "50%", "%d %0 %1 %"}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"50%\", \"%d %0 %1 %\", MB_OK);", "MessageBox(NULL, \"50%\", \"%d %0 %1 %\", MB_OK);"},
    {"MultiLineVariablePassesUnchanged", {"NULL", "Join(a,\r\nb)\n", "szT", true, true}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, Join(a,\r\nb)\n, szT, MB_OK);", "MessageBox(NULL, Join(a,\r\nb)\n, szT, MB_OK);"},
    {"VariablesAreNotEscaped", {"NULL", "\"q\"\t'", "a\\b", true, true}, Call::Box, 0, false, 1, {},
     "MessageBox(NULL, \"q\"\t', a\\b, MB_OK);", "MessageBox(NULL, \"q\"\t', a\\b, MB_OK);"},
    {"ExLanguageNeutral", {}, Call::BoxEx, 0, false, 0, {},
     "MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_OK, 0x0000);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {"ExLastLanguage", {}, Call::BoxEx, 0, false, 105, {},
     "MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_OK, 0x0438);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {"ExFirstSerbian", {}, Call::BoxEx, 0, false, 87, {},
     "MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_OK, 0x0c1a);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {"IndirectTwelveLines", {}, Call::Indirect, 5, true, 0, kFullOptions,
     "MSGBOXPARAMS mbp;\n"
     "mbp.cbSize= sizeof(MSGBOXPARAMS);\n"
     "mbp.hwndOwner= NULL;\n"
     "mbp.hInstance= GetModuleHandle(NULL);\n"
     "mbp.lpszText= \"Hello\";\n"
     "mbp.lpszCaption= \"Greeting\";\n"
     "mbp.dwStyle= MB_OK | MB_USERICON | MB_HELP;\n"
     "mbp.lpszIcon= MAKEINTRESOURCE(IDI_MYICON);\n"
     "mbp.dwContextHelpId= 1;\n"
     "mbp.lpfnMsgBoxCallback= MsgBoxCallback;\n"
     "mbp.dwLanguageId= 0x0000;\n"
     "MessageBoxIndirect(&mbp);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK | MB_USERICON | MB_HELP);"},
    {"IndirectEightLines", {"hwnd", "szText", "Caption", true, false}, Call::Indirect, 2, false, 1,
     {"params", "", "", ""},
     "MSGBOXPARAMS params;\n"
     "params.cbSize= sizeof(MSGBOXPARAMS);\n"
     "params.hwndOwner= hwnd;\n"
     "params.lpszText= szText;\n"
     "params.lpszCaption= \"Caption\";\n"
     "params.dwStyle= MB_OK | MB_ICONINFORMATION;\n"
     "params.dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&params);",
     "MessageBox(hwnd, szText, \"Caption\", MB_OK | MB_ICONINFORMATION);"},
    {"IndirectOwnInstance", {"hwnd", "szText", "Caption", true, false}, Call::Indirect, 5, false, 1,
     {"p", "IDI_APP", "", "", "g_hInstance"},
     "MSGBOXPARAMS p;\n"
     "p.cbSize= sizeof(MSGBOXPARAMS);\n"
     "p.hwndOwner= hwnd;\n"
     "p.hInstance= g_hInstance;\n"
     "p.lpszText= szText;\n"
     "p.lpszCaption= \"Caption\";\n"
     "p.dwStyle= MB_OK | MB_USERICON;\n"
     "p.lpszIcon= MAKEINTRESOURCE(IDI_APP);\n"
     "p.dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&p);",
     "MessageBox(hwnd, szText, \"Caption\", MB_OK | MB_USERICON);"},
    {"IndirectUserIconOnly", {"NULL", "T", "szTitle", false, true}, Call::Indirect, 5, false, 1,
     {"m", "101", "", ""},
     "MSGBOXPARAMS m;\n"
     "m.cbSize= sizeof(MSGBOXPARAMS);\n"
     "m.hwndOwner= NULL;\n"
     "m.hInstance= GetModuleHandle(NULL);\n"
     "m.lpszText= \"T\";\n"
     "m.lpszCaption= szTitle;\n"
     "m.dwStyle= MB_OK | MB_USERICON;\n"
     "m.lpszIcon= MAKEINTRESOURCE(101);\n"
     "m.dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&m);",
     "MessageBox(NULL, \"T\", szTitle, MB_OK | MB_USERICON);"},
    {"IndirectHelpOnly", {"NULL", "a\r\nb", "It's"}, Call::Indirect, 0, true, 32,
     {"m", "", "Cb", "42"},
     "MSGBOXPARAMS m;\n"
     "m.cbSize= sizeof(MSGBOXPARAMS);\n"
     "m.hwndOwner= NULL;\n"
     "m.lpszText= \"a\\nb\";\n"
     "m.lpszCaption= \"It\\'s\";\n"
     "m.dwStyle= MB_OK | MB_HELP;\n"
     "m.dwContextHelpId= 42;\n"
     "m.lpfnMsgBoxCallback= Cb;\n"
     "m.dwLanguageId= 0x0409;\n"
     "MessageBoxIndirect(&m);",
     "MessageBox(NULL, \"a\\nb\", \"It\\'s\", MB_OK | MB_HELP);"},
    {"IndirectClosedWithoutOkAtFirstUse", {}, Call::Indirect, 0, false, 1, {},
     "MSGBOXPARAMS ;\n"
     ".cbSize= sizeof(MSGBOXPARAMS);\n"
     ".hwndOwner= NULL;\n"
     ".lpszText= \"Hello\";\n"
     ".lpszCaption= \"Greeting\";\n"
     ".dwStyle= MB_OK;\n"
     ".dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);"},
    {"IndirectEmptyIconId", {}, Call::Indirect, 5, false, 1, {"mbp", "", "", ""},
     "MSGBOXPARAMS mbp;\n"
     "mbp.cbSize= sizeof(MSGBOXPARAMS);\n"
     "mbp.hwndOwner= NULL;\n"
     "mbp.hInstance= GetModuleHandle(NULL);\n"
     "mbp.lpszText= \"Hello\";\n"
     "mbp.lpszCaption= \"Greeting\";\n"
     "mbp.dwStyle= MB_OK | MB_USERICON;\n"
     "mbp.lpszIcon= MAKEINTRESOURCE();\n"
     "mbp.dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&mbp);",
     "MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK | MB_USERICON);"},
    {"IndirectEmptyOwnerAndHelpOptions", {"", "", "", false, false}, Call::Indirect, 0, true, 1, {"s", "", "", ""},
     "MSGBOXPARAMS s;\n"
     "s.cbSize= sizeof(MSGBOXPARAMS);\n"
     "s.hwndOwner= ;\n"
     "s.lpszText= \"\";\n"
     "s.lpszCaption= \"\";\n"
     "s.dwStyle= MB_OK | MB_HELP;\n"
     "s.dwContextHelpId= ;\n"
     "s.lpfnMsgBoxCallback= ;\n"
     "s.dwLanguageId= 0x0400;\n"
     "MessageBoxIndirect(&s);",
     "MessageBox(, \"\", \"\", MB_OK | MB_HELP);"},
};
// clang-format on

class StatementTest : public ::testing::TestWithParam<std::tuple<StatementCase, Layout>> {};

void ApplyCase(Form& form, const StatementCase& c) {
    SetTexts(form, c.texts);
    form.SetListPosition(IDC_ICON, c.icon);
    form.SetChecked(IDC_HELPBUTTON, c.help);
    form.SetListPosition(IDC_LANGUAGE, c.language);
    const int type = c.call == Call::Box ? IDC_TYPE_BOX : c.call == Call::BoxEx ? IDC_TYPE_BOXEX : IDC_TYPE_INDIRECT;
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
}

TEST_P(StatementTest, WritesTheStatementText) {
    const auto& [c, layout] = GetParam();
    PlainForm form(layout);
    ApplyCase(form, c);
    FakeParamsPrompt prompt(c.options);
    const std::string statement = GenerateStatement(form, prompt);
    const bool advanced = layout == Layout::Advanced;
    EXPECT_EQ(statement, advanced ? c.advanced : c.simple);
    // The options dialog runs once for the Indirect form only.
    EXPECT_EQ(prompt.runs, advanced && c.call == Call::Indirect ? 1 : 0);
    // Lines are separated by single line feeds; the writer writes no carriage return
    // (the only ones in a statement are typed into a variable text).
    if (!c.texts.textVar && !c.texts.titleVar) {
        EXPECT_EQ(statement.find('\r'), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StatementTest,
                         ::testing::Combine(::testing::ValuesIn(kStatementCases),
                                            ::testing::Values(Layout::Advanced, Layout::Simple)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    test::LayoutName(std::get<1>(info.param));
                         });

TEST(GenerateStatement, MessageBoxAndExFormsAreOneLine) {
    for (int type : {IDC_TYPE_BOX, IDC_TYPE_BOXEX}) {
        PlainForm form(Layout::Advanced);
        SetTexts(form, {"NULL", "one\r\ntwo\nthree\rfour", "a\r\nb"});
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
        FakeParamsPrompt prompt;
        const std::string statement = GenerateStatement(form, prompt);
        EXPECT_EQ(statement.find_first_of("\r\n"), std::string::npos) << statement;
        EXPECT_EQ(prompt.runs, 0);
    }
}

TEST(GenerateStatement, ExAfterClearEndsWithTheProcessDefaultLanguage) {
    PlainForm form(Layout::Advanced);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
    FakeParamsPrompt prompt;
    const std::string statement = GenerateStatement(form, prompt);
    EXPECT_EQ(statement, "MessageBoxEx(GetActiveWindow(), \"\", \"\", MB_OK, 0x0400);");
}

TEST(GenerateStatement, EveryLanguagePositionWritesItsRowIdentifier) {
    for (int position = 0; position < kLanguageCount; ++position) {
        PlainForm form(Layout::Advanced);
        SetTexts(form, {});
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
        form.SetListPosition(IDC_LANGUAGE, position);
        FakeParamsPrompt prompt;
        EXPECT_EQ(GenerateStatement(form, prompt),
                  "MessageBoxEx(NULL, \"Hello\", \"Greeting\", MB_OK, " + std::string(kLanguages[position].id) + ");");
    }
}

TEST(GenerateStatement, LanguageWithoutSelectionOrOutOfRangeWritesTheClearIdentifier) {
    // PlainForm: a position the list lacks leaves it without a selection.
    for (int position : {-1, 107, 500}) {
        PlainForm form(Layout::Advanced);
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
        form.SetListPosition(IDC_LANGUAGE, position);
        ASSERT_EQ(form.ListPosition(IDC_LANGUAGE), -1);
        FakeParamsPrompt prompt;
        const std::string statement = GenerateStatement(form, prompt);
        EXPECT_TRUE(statement.ends_with(", 0x0400);")) << statement;
    }
    // A form that reports any position at all.
    for (int position : {-1, -2, 107, 108, 1 << 20, 2147483647, -2147483647 - 1}) {
        for (int type : {IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT}) {
            RawForm form;
            form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
            form.SetListPosition(IDC_LANGUAGE, position);
            FakeParamsPrompt prompt({"m", "", "", ""});
            const std::string statement = GenerateStatement(form, prompt);
            const std::string expected =
                type == IDC_TYPE_BOXEX ? ", MB_OK, 0x0400);" : "\nm.dwLanguageId= 0x0400;\nMessageBoxIndirect(&m);";
            EXPECT_TRUE(statement.ends_with(expected)) << position << '\n' << statement;
        }
    }
}

TEST(GenerateStatement, UnknownListPositionsNeverReadOutOfRange) {
    const std::pair<int, int> positions[] = {
        {-1, -1}, {6, 107}, {99, 4096}, {1 << 30, 1 << 30}, {-(1 << 30), -2147483647 - 1}};
    for (auto [position, language] : positions) {
        RawForm form;
        form.SetText(IDC_PARENT, "NULL");
        form.SetListPosition(IDC_BUTTONS, position);
        form.SetListPosition(IDC_DEFBUTTON, position);
        form.SetListPosition(IDC_ICON, position);
        form.SetListPosition(IDC_LANGUAGE, language);
        form.SetChecked(IDC_HELPBUTTON, true);
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
        FakeParamsPrompt prompt({"m", "I", "C", "7"});
        EXPECT_EQ(GenerateStatement(form, prompt),
                  "MSGBOXPARAMS m;\n"
                  "m.cbSize= sizeof(MSGBOXPARAMS);\n"
                  "m.hwndOwner= NULL;\n"
                  "m.lpszText= \"\";\n"
                  "m.lpszCaption= \"\";\n"
                  "m.dwStyle= MB_OK | MB_HELP;\n"
                  "m.dwContextHelpId= 7;\n"
                  "m.lpfnMsgBoxCallback= C;\n"
                  "m.dwLanguageId= 0x0400;\n"
                  "MessageBoxIndirect(&m);")
            << position;
    }
}

TEST(GenerateStatement, ThePromptRunsAtEveryIndirectGenerationAndItsResultIsUsed) {
    PlainForm form(Layout::Advanced);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    FakeParamsPrompt prompt({"first", "", "", ""});
    EXPECT_TRUE(GenerateStatement(form, prompt).starts_with("MSGBOXPARAMS first;\n"));
    prompt.options.structName = "second";
    EXPECT_TRUE(GenerateStatement(form, prompt).ends_with("\nMessageBoxIndirect(&second);"));
    EXPECT_EQ(prompt.runs, 2);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
    GenerateStatement(form, prompt);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX);
    GenerateStatement(form, prompt);
    EXPECT_EQ(prompt.runs, 2);
}

TEST(GenerateStatement, IndirectLineCounts) {
    for (int icon : {0, 5})
        for (bool help : {false, true}) {
            PlainForm form(Layout::Advanced);
            form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
            form.SetListPosition(IDC_ICON, icon);
            form.SetChecked(IDC_HELPBUTTON, help);
            FakeParamsPrompt prompt(kFullOptions);
            const std::string statement = GenerateStatement(form, prompt);
            const auto lines = std::count(statement.begin(), statement.end(), '\n') + 1;
            EXPECT_EQ(lines, 8 + (icon == 5 ? 2 : 0) + (help ? 2 : 0));
            EXPECT_NE(statement.back(), '\n');
        }
}

// ---------------------------------------------------------------- no length limit

std::string Pattern(std::size_t size, std::string_view unit) {
    std::string s;
    while (s.size() < size) s += unit;
    s.resize(size);
    return s;
}

TEST(GenerateStatement, LongLiteralsAreEscapedAndWrittenWhole) {
    for (std::size_t size : {259u, 260u, 300u, 16u * 1024, 70000u, 256u * 1024}) {
        const std::string text = Pattern(size, "Say \"hi\"\r\n\tit's 100%; ");
        const std::string title = Pattern(size / 2, "x'");
        PlainForm form(Layout::Simple);
        SetTexts(form, {"NULL", "", ""});
        form.SetText(IDC_TEXT, text);
        form.SetText(IDC_TITLE, title);
        FakeParamsPrompt prompt;
        const std::string statement = GenerateStatement(form, prompt);
        EXPECT_EQ(statement,
                  "MessageBox(NULL, \"" + EscapeLiteral(text) + "\", \"" + EscapeLiteral(title) + "\", MB_OK);");
        EXPECT_EQ(DecodeWriterEscapes(EscapeLiteral(text)), NormaliseLineBreaks(text));
    }
}

TEST(GenerateStatement, StatementsLongerThanTheOldCodeBufferAreWrittenWhole) {
    const std::string owner = Pattern(80000, "GetParent(");
    const std::string variable = Pattern(100000, "szVeryLongName_");
    PlainForm form(Layout::Advanced);
    SetTexts(form, {"", "", "", true, true});
    form.SetText(IDC_PARENT, owner);
    form.SetText(IDC_TEXT, variable);
    form.SetText(IDC_TITLE, variable);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
    FakeParamsPrompt prompt;
    const std::string statement = GenerateStatement(form, prompt);
    EXPECT_EQ(statement, "MessageBoxEx(" + owner + ", " + variable + ", " + variable + ", MB_OK, 0x0400);");
    EXPECT_GT(statement.size(), 67600u * 3);
}

TEST(GenerateStatement, OptionsOfAnyLengthAreWrittenWhole) {
    const ParamsOptions options{Pattern(5000, "name"), Pattern(1000, "ID"), Pattern(300, "cb"), Pattern(260, "9")};
    PlainForm form(Layout::Advanced);
    SetTexts(form, {});
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    form.SetListPosition(IDC_ICON, 5);
    form.SetChecked(IDC_HELPBUTTON, true);
    FakeParamsPrompt prompt(options);
    const std::string statement = GenerateStatement(form, prompt);
    const std::string& n = options.structName;
    EXPECT_TRUE(statement.starts_with("MSGBOXPARAMS " + n + ";\n" + n + ".cbSize= "));
    EXPECT_NE(statement.find("\n" + n + ".lpszIcon= MAKEINTRESOURCE(" + options.iconId + ");\n"), std::string::npos);
    EXPECT_NE(statement.find("\n" + n + ".dwContextHelpId= " + options.contextHelpId + ";\n"), std::string::npos);
    EXPECT_NE(statement.find("\n" + n + ".lpfnMsgBoxCallback= " + options.callbackName + ";\n"), std::string::npos);
    EXPECT_TRUE(statement.ends_with("\nMessageBoxIndirect(&" + n + ");"));
}

// ---------------------------------------------------------------- StatementTextProblem

TEST(StatementTextProblem, RefusesWhatTheStringModeCannotHold) {
    const auto message = [](std::string_view format, std::string_view names) {
        return std::string(format).replace(format.find("%s"), 2, names);
    };
    const std::string check = "\xe2\x9c\x93", arrow = "\xe2\x86\x92", half = "\xed\xa0\xbd";
    const struct {
        CharacterSet characterSet;
        std::string text, title;
        bool textVar;
        std::string problem;
    } cases[] = {
        // Each missing character once, in text order, the title after the text.
        {CharacterSet::Ansi, "Done " + check + " " + arrow + " " + check, arrow + " x", false,
         message(kAnsiStringsMessage, check + " " + arrow)},
        {CharacterSet::Ansi,
         "Gr\xc3\xbc\xc3\x9f"
         "e \xe2\x82\xac \xc2\x81",
         "caf\xc3\xa9", false, ""},
        {CharacterSet::Text, check + " \xe6\x97\xa5\xf0\x9f\x98\x80", "", false, ""},
        {CharacterSet::Wide, check, arrow, false, ""},
        // A lone surrogate in any mode, before any missing character.
        {CharacterSet::Ansi, check + half, "", false, message(kNoStringMessage, "U+D83D")},
        {CharacterSet::Text, half, "\xed\xb8\x80" + half, false, message(kNoStringMessage, "U+D83D U+DE00")},
        {CharacterSet::Wide, "a", "b" + half, false, message(kNoStringMessage, "U+D83D")},
        // Variables are written as typed.
        {CharacterSet::Ansi, "sz" + check + half, "T", true, ""},
    };
    for (const auto& c : cases) {
        PlainForm form(Layout::Advanced);
        form.SetText(IDC_TEXT, c.text);
        form.SetText(IDC_TITLE, c.title);
        form.SetChecked(IDC_TEXTVAR, c.textVar);
        EXPECT_EQ(StatementTextProblem(form, {c.characterSet}, Windows1252()), c.problem) << c.text;
        if (!c.textVar) {
            EXPECT_EQ(LiteralTextProblem(c.text + c.title, c.characterSet, Windows1252()), c.problem);
        }
    }
}

}  // namespace
}  // namespace pw
