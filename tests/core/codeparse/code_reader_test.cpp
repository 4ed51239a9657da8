#include "core/codeparse/code_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/codegen/codegen_fixtures.h"
#include "core/codeparse/form_snapshot.h"
#include "core/model/plain_form.h"

namespace pw {
namespace {

using test::CountingReport;
using test::FormSnapshot;
using test::Snapshot;

const char* LayoutName(const testing::TestParamInfo<Layout>& info) {
    return info.param == Layout::Simple ? "Simple" : "Advanced";
}

TEST(NormaliseStatement, RemovesCommentsAndWhiteSpaceOutsideLiterals) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"MessageBox( NULL ,\t\"a  b\\t\" )\r\n;", "MessageBox(NULL,\"a  b\\t\");"},
        {"x/* c */y", "xy"},
        {"x// c\ny", "xy"},
        {"x// c\r\ny", "xy"},
        {"x// to the end", "x"},
        {"x/* to the end", "x"},
        {"/* first */x", "x"},
        {"// first\nx", "x"},
        {"/*/ still a comment */x", "x"},
        {"/**/x", "x"},
        {"/* a *//* b */x", "x"},
        {"/* \" */x y", "xy"},
        {"a / b", "a/b"},
        {"x/", "x/"},
        // Literals keep their comment markers and white space.
        {"\"http://example.com/a\" // note", "\"http://example.com/a\""},
        {"f( \"a /* b */ c\" )", "f(\"a /* b */ c\")"},
        {"\"say \\\" // on\" x", "\"say \\\" // on\"x"},
        {"\"a\" b \"c d\" e", "\"a\"b\"c d\"e"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseStatement(c.in), c.out) << c.in;
}

TEST(UnescapeText, UndoesTheWritersEscapesAndKeepsOtherBackslashes) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"a\\nb\\rc\\td", "a\nb\rc\td"},
        {"\\\"q\\\" it\\'s", "\"q\" it's"},
        {"C:\\x41\\dir", "C:\\x41\\dir"},
        {"\\\\", "\\\\"},
        {"\\\\n", "\\\\n"},
        {"end\\", "end\\"},
        {"\\", "\\"},
        {"50% %1 %d %%", "50% %1 %d %%"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.in), c.out) << c.in;

    std::string longText;
    for (int i = 0; i < 5000; ++i) longText += "ab\\n";
    const std::string unescaped = UnescapeText(longText);
    EXPECT_EQ(unescaped.size(), 15000u);
    EXPECT_EQ(unescaped.substr(14997), "ab\n");
}

struct LoadCase {
    std::string statement;
    std::function<void(FormSnapshot&)> expect;  // changes from the Clear state
    CodeOptions options{};                      // the options read
};

constexpr CodeOptions kAnsi{CharacterSet::Ansi, AnswerHandling::None};
constexpr CodeOptions kText{CharacterSet::Text, AnswerHandling::None};
constexpr CodeOptions kWide{CharacterSet::Wide, AnswerHandling::None};

const std::vector<LoadCase>& LoadCases() {
    static const std::vector<LoadCase> cases{
        {"MessageBox(NULL, \"Hello\", \"Greeting\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "Hello", s.title = "Greeting"; }},
        {"MessageBoxEx(GetActiveWindow(), szMessage, \"Error\", MB_OK | MB_ICONSTOP, 0x0409);",
         [](auto& s) {
             s.type = IDC_TYPE_BOXEX, s.text = "szMessage", s.textVar = true, s.title = "Error", s.icon = 4,
             s.language = 32;
         }},
        // Commas and escaped quotes inside literals, also right after the opening quote.
        {"MessageBox(hWnd, \"Say \\\"hi\\\", then, go\", \"It\\'s\", MB_YESNO);",
         [](auto& s) { s.parent = "hWnd", s.text = "Say \"hi\", then, go", s.title = "It's", s.buttons = 4; }},
        {"MessageBox(NULL, \",x\", \",\", MB_OK);", [](auto& s) { s.parent = "NULL", s.text = ",x", s.title = ","; }},
        {"MessageBox(NULL, \"\", \"\", MB_OK);", [](auto& s) { s.parent = "NULL"; }},
        {"MessageBox(, \"a\", \"b\", MB_OK);", [](auto& s) { s.parent = "", s.text = "a", s.title = "b"; }},
        {"MessageBox(NULL, , \"T\", MB_OK);", [](auto& s) { s.parent = "NULL", s.textVar = true, s.title = "T"; }},
        // Owner: white space goes, a comma cuts it.
        {"MessageBox(Get Parent ( hWnd ), x, y, MB_OK);",
         [](auto& s) {
             s.parent = "GetParent(hWnd)", s.text = "x", s.textVar = true, s.title = "y", s.titleVar = true;
         }},
        {"MessageBox(GetDlgItem(hDlg, 1), \"a\", \"b\", MB_OK);",
         [](auto& s) { s.parent = "GetDlgItem(hDlg", s.text = "1)", s.textVar = true, s.title = "a"; }},
        // Literal contents as typed: white space, line breaks as CR LF, %, comment markers, backslashes.
        {"MessageBox(NULL, \" two  spaces\there \", \"Line one\\nLine two\\r\\nthree\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = " two  spaces\there ", s.title = "Line one\r\nLine two\r\nthree"; }},
        {"MessageBox(NULL, \"50% of %1 %d %%\", \"see http://x.org/*a*/ // b\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "50% of %1 %d %%", s.title = "see http://x.org/*a*/ // b"; }},
        {"MessageBox(NULL, \"C:\\x41\\\\dir\", \"T\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "C:\\x41\\\\dir", s.title = "T"; }},
        // An expression is kept as written, escapes and all; _T("...") is a
        // TEXT() literal, L"..." outside the W forms an expression.
        {"MessageBox(NULL, _T(\"Hi\\n\"), L\"a b\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "Hi\r\n", s.title = "L\"a b\"", s.titleVar = true; }, kText},
        {"MessageBox(NULL, f(L\"x\"), TEXT, MB_OK);",
         [](auto& s) {
             s.parent = "NULL", s.text = "f(L\"x\")", s.textVar = true, s.title = "TEXT", s.titleVar = true;
         }},
        // Comments anywhere, also first.
        {"/* box */ MessageBox(/*owner*/NULL, // text:\n \"x\", \"y\", MB_OK /* style */ | MB_ICONSTOP);",
         [](auto& s) { s.parent = "NULL", s.text = "x", s.title = "y", s.icon = 4; }},
        // Language: case-sensitive, anywhere in the argument; a plain call keeps the Clear position.
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, 0x0c0a);",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = 45; }},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, LANG_x0x081a);",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = 101; }},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, 0x081a|0x0401);",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = 2; }},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, 0x0C0A);",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = -1; }},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, );",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = -1; }},
        {"MessageBox(NULL, \"a\", \"b\", MB_SYSTEMMODAL|MB_YESNO);",
         [](auto& s) { s.parent = "NULL", s.text = "a", s.title = "b", s.modality = IDC_SYSTEMMODAL, s.buttons = 4; }},
        // Statements that end early set what they hold.
        {"MessageBox", [](auto&) {}},
        {"MessageBox(NULL", [](auto& s) { s.parent = "NULL"; }},
        {"MessageBox(NULL, \"a, b", [](auto& s) { s.parent = "NULL", s.text = "a, b"; }},
        {"MessageBox(NULL, \"a\\", [](auto& s) { s.parent = "NULL", s.text = "a\\"; }},
        {"MessageBoxEx(NULL, \"a\", t, MB_YESNO",
         [](auto& s) {
             s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "t", s.titleVar = true, s.buttons = 4;
         }},
        {"MessageBoxIndirect(&mbp);", [](auto& s) { s.parent = "ndirect(&mbp);"; }},

        // The structure form.
        {"MSGBOXPARAMS mbp;\nmbp.cbSize= sizeof(MSGBOXPARAMS);\nmbp.hwndOwner= NULL;\n"
         "mbp.hInstance= GetModuleHandle(NULL);\nmbp.lpszText= \"Hello\";\nmbp.lpszCaption= \"Greeting\";\n"
         "mbp.dwStyle= MB_OK | MB_USERICON | MB_HELP;\nmbp.lpszIcon= MAKEINTRESOURCE(IDI_MYICON);\n"
         "mbp.dwContextHelpId= 1;\nmbp.lpfnMsgBoxCallback= MsgBoxCallback;\nmbp.dwLanguageId= 0x0000;\n"
         "MessageBoxIndirect(&mbp);",
         [](auto& s) {
             s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "Hello", s.title = "Greeting", s.icon = 5,
             s.flags = {IDC_HELPBUTTON}, s.language = 0;
         }},
        {"MSGBOXPARAMS ;\n.cbSize= sizeof(MSGBOXPARAMS);\n.hwndOwner= ;\n.lpszText= szText;\n"
         ".lpszCaption= \";a=b;\";\n.dwStyle= MB_YESNO;\nMessageBoxIndirect(&);",
         [](auto& s) {
             s.type = IDC_TYPE_INDIRECT, s.parent = "", s.text = "szText", s.textVar = true, s.title = ";a=b;",
             s.buttons = 4;
         }},
        {"MSGBOXPARAMS m; m.lpszText= \"x\\\";\\ty\"; m.foo= \"q\"; m.dwLanguageId= 0xffff;",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.text = "x\";\ty", s.language = -1; }},
        {"MSGBOXPARAMS m; m.lpszCaption= \"abc", [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.title = "abc"; }},
        {"MSGBOXPARAMS m; m.dwStyle= MB_TASKMODAL",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.modality = IDC_TASKMODAL; }},
        {"MSGBOXPARAMS m; m.lpszText=", [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.textVar = true; }},

        // The code options: answer wrappers with the user's code in their braces.
        {"switch (MessageBoxW(hwnd, L\"Save changes?\", L\"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION))\n{\n"
         "case IDYES:\n    Save(L\"a, b\"); /* it's */\n    break;\ncase IDNO:\n    break;\n}",
         [](auto& s) { s.parent = "hwnd", s.text = "Save changes?", s.title = "Editor", s.buttons = 5, s.icon = 3; },
         {CharacterSet::Wide, AnswerHandling::Switch}},
        {"if (MessageBox(NULL, \"a\", \"b\", MB_YESNO) == IDYES)\n{\n    x = 1;\n}",
         [](auto& s) { s.parent = "NULL", s.text = "a", s.title = "b", s.buttons = 4; },
         {CharacterSet::Ansi, AnswerHandling::If}},
        // Whatever answer an if compares, it reads as "if on the first answer".
        {"if(MessageBoxExW(NULL, szText, L\"b\", MB_YESNO, 0x0409) == IDNO) { }",
         [](auto& s) {
             s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "szText", s.textVar = true, s.title = "b",
             s.buttons = 4, s.language = 32;
         },
         {CharacterSet::Wide, AnswerHandling::If}},
        // TEXT() literals under their three names; a W call with variables only is wide.
        {"MessageBoxEx(NULL, _TEXT(\"a, \\\"b\\\")\"), _T(\"c\"), MB_OK, 0x0409);",
         [](auto& s) {
             s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a, \"b\")", s.title = "c", s.language = 32;
         },
         kText},
        {"MessageBox(NULL, szText, TEXT(\"t\"), MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "szText", s.textVar = true, s.title = "t"; }, kText},
        {"MessageBoxW(NULL, szText, szTitle, MB_OK);",
         [](auto& s) {
             s.parent = "NULL", s.text = "szText", s.textVar = true, s.title = "szTitle", s.titleVar = true;
         },
         kWide},
        // Universal character names and the C1 octal escapes in marked literals
        // become UTF-8; an escaped backslash and a plain literal keep them.
        {"MessageBoxW(NULL, L\"Caf\\u00e9 \\u20AC \\2011 \\u4E2D \\\\u00E9 \\200\", L\"\\U000000DF\", MB_OK);",
         [](auto& s) {
             s.parent = "NULL",
             s.text =
                 "Caf\xc3\xa9 \xe2\x82\xac \xc2\x81"
                 "1 \xe4\xb8\xad \\\\u00E9 \xc2\x80",
             s.title = "\xc3\x9f";
         },
         kWide},
        {"MessageBox(NULL, \"\\u00E9\", TEXT(\"\\u00e9\\u0041\\uD800\"), MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "\\u00E9", s.title = "\xc3\xa9\\u0041\\uD800"; }, kText},
        // The structure form: the call decides the mark, the scan stops at a wrapped call.
        {"MSGBOXPARAMSW mbp;\nmbp.cbSize= sizeof(MSGBOXPARAMSW);\nmbp.hwndOwner= NULL;\nmbp.lpszText= L\"x;y\";\n"
         "mbp.lpszCaption= TEXT(\"t\");\nmbp.dwStyle= MB_YESNO;\nmbp.dwLanguageId= 0x0409;\n"
         "switch (MessageBoxIndirectW(&mbp))\n{\ncase IDYES:\n    mbp.lpszText= L\"other\";\n    break;\n}",
         [](auto& s) {
             s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "x;y", s.title = "t", s.buttons = 4,
             s.language = 32;
         },
         {CharacterSet::Wide, AnswerHandling::Switch}},
        {"MSGBOXPARAMS m;\nm.lpszText= TEXT(\"a;b\");\nm.lpszCaption= _T(\"c\");\nm.dwStyle= MB_OKCANCEL;\n"
         "if (MessageBoxIndirect(&m) == IDOK)\n{\n    m.lpszCaption= \"no\";\n}",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.text = "a;b", s.title = "c", s.buttons = 2; },
         {CharacterSet::Text, AnswerHandling::If}},
        // A structure named W... is not MSGBOXPARAMSW: its L"..." stays an expression, cut as always.
        {"MSGBOXPARAMS Wnd; Wnd.lpszText= L\"a;b\"; Wnd.lpszCaption= \"c\"; MessageBoxIndirect(&Wnd);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.text = "L\"a", s.textVar = true, s.title = "c"; }},
        {"MSGBOXPARAMSW m; m.lpszText= L\"x", [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.text = "x"; }, kWide},
    };
    return cases;
}

class LoadCodeTest : public testing::TestWithParam<Layout> {};

TEST_P(LoadCodeTest, SetsTheFieldsTheStatementCarries) {
    for (const LoadCase& c : LoadCases()) {
        PlainForm form(GetParam());
        FormSnapshot expected = Snapshot(form);
        c.expect(expected);
        if (GetParam() == Layout::Simple) {
            // No type choice, language list, modality group or service boxes there.
            expected.type = IDC_TYPE_BOX;
            expected.language = 0;
            expected.modality = 0;
        }
        std::string text = c.statement;
        CountingReport report;
        CodeOptions options{CharacterSet::Wide, AnswerHandling::Switch};
        EXPECT_TRUE(LoadCode(form, text, report, &options)) << c.statement;
        EXPECT_EQ(report.unrecognised, 0);
        EXPECT_EQ(Snapshot(form), expected) << c.statement;
        EXPECT_EQ(options, c.options) << c.statement;
        EXPECT_EQ(text, NormaliseStatement(c.statement));
    }
}

TEST_P(LoadCodeTest, ReportsUnrecognisedTextAndLeavesTheFormClear) {
    for (std::string statement :
         {"", "   ", "messagebox(NULL, \"a\", \"b\", MB_OK);", "int r = MessageBox(NULL, \"a\", \"b\", MB_OK);",
          "MessageBo", "MSGBOXPARAM", "if (ok) MessageBox(NULL, \"a\", \"b\", MB_OK);", "if (MSGBOXPARAMS m;",
          "switch (IDYES == MessageBox(NULL, \"a\", \"b\", MB_YESNO)) {}"}) {
        PlainForm form(GetParam());
        const FormSnapshot clear = Snapshot(form);
        form.SetText(IDC_TEXT, "old");
        form.SetChecked(IDC_TOPMOST, true);
        form.SetListPosition(IDC_BUTTONS, 4);
        CountingReport report;
        std::string text = statement;
        const CodeOptions before{CharacterSet::Text, AnswerHandling::If};
        CodeOptions options = before;
        EXPECT_FALSE(LoadCode(form, text, report, &options)) << statement;
        EXPECT_EQ(options, before);
        EXPECT_EQ(report.unrecognised, 1);
        EXPECT_EQ(Snapshot(form), clear);
        EXPECT_EQ(text, NormaliseStatement(statement));
    }
}

TEST_P(LoadCodeTest, ClearsWhatTheStatementDoesNotMention) {
    PlainForm form(GetParam());
    form.SetText(IDC_TITLE, "old");
    form.SetChecked(IDC_TITLEVAR, true);
    form.SetChecked(IDC_HELPBUTTON, true);
    form.SetListPosition(IDC_ICON, 3);
    form.SetListPosition(IDC_LANGUAGE, 7);
    std::string text = "MessageBox(NULL, \"a\", \"b\", MB_YESNO);";
    CountingReport report;
    ASSERT_TRUE(LoadCode(form, text, report));
    EXPECT_FALSE(form.IsChecked(IDC_TITLEVAR));
    EXPECT_FALSE(form.IsChecked(IDC_HELPBUTTON));
    EXPECT_EQ(form.ListPosition(IDC_ICON), 0);
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), GetParam() == Layout::Simple ? 0 : kClearLanguage);
}

// In marked literals, escapes of characters outside ASCII read as C reads
// them, into UTF-8; escapes of ASCII values, and escapes that name no
// character, stay as typed; a plain literal keeps everything.
TEST(LoadCode, ReadsEscapesOfCharactersOutsideAsciiIntoUtf8) {
    const struct {
        const char* typed;
        const char* read;
    } cases[] = {
        {"\\u30BD\\U0001F600\\u00a0", "\xe3\x82\xbd\xf0\x9f\x98\x80\xc2\xa0"},
        {"\\xE9t \\x20AC \\x0000e9 \\x10FFFF", "\xc3\xa9t \xe2\x82\xac \xc3\xa9 \xf4\x8f\xbf\xbf"},
        {"\\x20ACE", "\xf0\xa0\xab\x8e"},  // every hex digit belongs to the escape
        {"\\351\\2001\\377",
         "\xc3\xa9\xc2\x80"
         "1\xc3\xbf"},
        {"\\x41\\x7f\\101\\177\\u0041\\u009F", "\\x41\\x7f\\101\\177\\u0041\\u009F"},
        {"\\x110000 \\xD800 \\x \\400 \\20 \\uD83D \\U00110000 \\u12",
         "\\x110000 \\xD800 \\x \\400 \\20 \\uD83D \\U00110000 \\u12"},
    };
    for (const auto& c : cases) {
        for (const char* mark : {"L", "TEXT("}) {
            const bool macro = mark[0] == 'T';
            PlainForm form(Layout::Advanced);
            std::string text = std::string("MessageBoxW(NULL, ") + mark + "\"" + c.typed + "\"" + (macro ? ")" : "") +
                               ", \"" + c.typed + "\", MB_OK);";
            CountingReport report;
            ASSERT_TRUE(LoadCode(form, text, report)) << text;
            EXPECT_EQ(form.Text(IDC_TEXT), c.read) << text;
            EXPECT_EQ(form.Text(IDC_TITLE), c.typed) << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, LoadCodeTest, testing::Values(Layout::Simple, Layout::Advanced), LayoutName);

}  // namespace
}  // namespace pw
