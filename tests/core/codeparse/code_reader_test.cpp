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

        {"MessageBox(NULL, , \"T\", MB_OK);", [](auto& s) { s.parent = "NULL", s.textVar = true, s.title = "T"; }},
        // Owner as written, white space made single spaces; commas inside calls stay.
        {"MessageBox(GetParent (\n  hWnd ), x, y, MB_OK);",
         [](auto& s) {
             s.parent = "GetParent ( hWnd )", s.text = "x", s.textVar = true, s.title = "y", s.titleVar = true;
         }},
        {"MessageBox(GetDlgItem(hDlg, 1), LoadStr(IDS_ERR, buf, 100), \"b\", MB_OK);",
         [](auto& s) {
             s.parent = "GetDlgItem(hDlg, 1)", s.text = "LoadStr(IDS_ERR, buf, 100)", s.textVar = true, s.title = "b";
         }},
        // Literal contents as typed: white space, line breaks as CR LF, %, comment markers, backslashes.
        {"MessageBox(NULL, \" two  spaces\there \", \"Line one\\nLine two\\r\\nthree\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = " two  spaces\there ", s.title = "Line one\r\nLine two\\r\r\nthree"; }},
        {"MessageBox(NULL, \"50% of %1 %d %%\", \"see http://x.org/*a*/ // b\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "50% of %1 %d %%", s.title = "see http://x.org/*a*/ // b"; }},
        {"MessageBox(NULL, \"C:\\x41\\\\dir\", \"T\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "C:\\x41\\\\dir", s.title = "T"; }},
        // _T("...") is a TEXT() literal, L"..." a wide one; an expression is kept as written.
        {"MessageBox(NULL, _T(\"Hi\\n\"), L\"a b\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "Hi\r\n", s.title = "a b"; }, kText},
        {"MessageBox(NULL, f(L\"x\"), TEXT, MB_OK);",
         [](auto& s) {
             s.parent = "NULL", s.text = "f(L\"x\")", s.textVar = true, s.title = "TEXT", s.titleVar = true;
         }},
        // Comments anywhere, also first.
        {"/* box */ MessageBox(/*owner*/NULL, // text:\n \"x\", \"y\", MB_OK /* style */ | MB_ICONSTOP);",
         [](auto& s) { s.parent = "NULL", s.text = "x", s.title = "y", s.icon = 4; }},
        // Language by value, in any case and base.
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK, 0x0c0a);",
         [](auto& s) { s.type = IDC_TYPE_BOXEX, s.parent = "NULL", s.text = "a", s.title = "b", s.language = 45; }},
        {"MessageBox(NULL, \"a\", \"b\", MB_SYSTEMMODAL|MB_YESNO);",
         [](auto& s) { s.parent = "NULL", s.text = "a", s.title = "b", s.modality = IDC_SYSTEMMODAL, s.buttons = 4; }},
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
             s.buttons = 4, s.language = 0;  // a member not set is zero
         }},
        {"MSGBOXPARAMS m; m.lpszText= \"x\\\";\\ty\"; m.dwStyle= MB_TASKMODAL; MessageBoxIndirect(&m);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "x\";\ty", s.title = "NULL",
                       s.titleVar = true, s.modality = IDC_TASKMODAL, s.language = 0; }},
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
         [](auto& s) {
             s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "a;b", s.title = "c", s.buttons = 2, s.language = 0;
         },
         {CharacterSet::Text, AnswerHandling::If}},
        {"MSGBOXPARAMS Wnd; Wnd.lpszText= L\"a;b\"; Wnd.lpszCaption= \"c\"; MessageBoxIndirect(&Wnd);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "a;b", s.title = "c", s.language = 0; },
         kWide},

        // Calls as they stand in a file.
        {"int r = ::MessageBoxA(hWnd, \"a\", \"b\", MB_OK)", [](auto& s) { s.parent = "hWnd", s.text = "a", s.title = "b"; }},
        {"return (int)MessageBox(hWnd, \"a\", NULL, MB_OK); // done",
         [](auto& s) { s.parent = "hWnd", s.text = "a", s.title = "NULL", s.titleVar = true; }},
        {"// first\nif (IDNO == MessageBoxW(0, L\"a\", L\"b\", MB_YESNO)) return;",
         [](auto& s) { s.parent = "0", s.text = "a", s.title = "b", s.buttons = 4; }, kWide},
        {"while (MessageBox(h, msg, TEXT(\"t\"), MB_RETRYCANCEL) == IDRETRY) Retry();",
         [](auto& s) { s.parent = "h", s.text = "msg", s.textVar = true, s.title = "t", s.buttons = 3; }, kText},
        {"if (ok) MessageBox(NULL, \"a\", \"b\", MB_OK);", [](auto& s) { s.parent = "NULL", s.text = "a", s.title = "b"; }},
        // Adjacent literals are one text; escapes that the next literal would extend are closed.
        {"MessageBox(NULL, \"Line one\\n\"\n    \"Line two\", TEXT(\"a\") TEXT(\"b\"), MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "Line one\r\nLine two", s.title = "ab"; }, kText},
        {"MessageBox(NULL, \"\\x41\" \"B\\0\" \"1\", \"\\x41\" \"G\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "\\101B\\0001", s.title = "\\x41G"; }},
        // A text of literals and other tokens is a variable, kept as written.
        {"MessageBox(NULL, \"Alpha \" APP_NAME \" beta\", L\"(\" + err + L\")\", MB_OK);",
         [](auto& s) {
             s.parent = "NULL", s.text = "\"Alpha \" APP_NAME \" beta\"", s.textVar = true,
             s.title = "L\"(\" + err + L\")\"", s.titleVar = true;
         }},
        // Raw strings: every character is itself.
        {"MessageBoxW(NULL, LR\"x(C:\\dir \"q\")x\", L\"\", MB_OK);",
         [](auto& s) { s.parent = "NULL", s.text = "C:\\\\dir \"q\""; }, kWide},
        // The structure as people set it up.
        {"MSGBOXPARAMSW mbp = {0};\nmbp.cbSize = sizeof mbp;\nmbp.hwndOwner = hDlg;\nLog(\"x\");\n"
         "mbp.lpszText = L\"a\";\nmbp.lpszText = L\"b\";\nmbp.dwStyle = MB_YESNO;\nint r = MessageBoxIndirectW(&mbp);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "hDlg", s.text = "b", s.title = "NULL", s.titleVar = true,
                       s.buttons = 4, s.language = 0; },
         kWide},
        {"MSGBOXPARAMS mbp = { sizeof(mbp), hWnd, NULL, \"t\", \"c\", MB_OKCANCEL };\nMessageBoxIndirect(&mbp);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "hWnd", s.text = "t", s.title = "c", s.buttons = 2,
                       s.language = 0; }},
        {"MSGBOXPARAMS mbp = {0};\n#ifdef LOG\nLog(1);\n#endif\nmbp.lpszText = \"t\";\nMessageBoxIndirect(&mbp);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "t", s.title = "NULL", s.titleVar = true,
                       s.language = 0; }},
        {"MSGBOXPARAMS mbp; ZeroMemory(&mbp, sizeof(mbp)); MSGBOXPARAMS* p = &mbp; p->lpszText = \"t\"; MessageBoxIndirect(p);",
         [](auto& s) { s.type = IDC_TYPE_INDIRECT, s.parent = "NULL", s.text = "t", s.title = "NULL", s.titleVar = true,
                       s.language = 0; }},
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
        CountingReport report;
        CodeReading reading{{CharacterSet::Wide, AnswerHandling::Switch}, {}};
        EXPECT_TRUE(LoadCode(form, c.statement, report, &reading)) << c.statement << ": " << report.reason;
        EXPECT_EQ(report.unrecognised, 0);
        EXPECT_EQ(Snapshot(form), expected) << c.statement;
        EXPECT_EQ(reading.options, c.options) << c.statement;
    }
}

// What cannot be held exactly is refused with its reason, and the form keeps what it had.
TEST_P(LoadCodeTest, RefusesWhatItCannotHoldExactlyAndSaysWhy) {
    const struct {
        std::string statement, reason;
    } cases[] = {
        {"", ""},
        {"messagebox(NULL, \"a\", \"b\", MB_OK);", ""},
        {"MSGBOXPARAM", ""},
        {"/* MessageBox(NULL, \"a\", \"b\", MB_OK); */", ""},
        {"MessageBox(NULL, \"a\", \"b\");", "this MessageBox call has 3 arguments; MessageBox takes 4 (MFC's "
                                          "CWnd::MessageBox takes 3: text, caption and type; it is not the Win32 call)"},
        {"MessageBoxEx(NULL, \"a\", \"b\", MB_OK);", "this MessageBoxEx call has 4 arguments; MessageBoxEx takes 5"},
        {"MessageBox(NULL, f(\"a\", \"b\", MB_OK);", "the MessageBox call's parentheses do not pair up"},
        {"MessageBox(NULL, \"a, b", "the MessageBox call's parentheses do not pair up"},
        {"pWnd->MessageBox(\"a\", \"b\", MB_OK);",
         "MessageBox is called here as a member function (MFC's CWnd::MessageBox), not the Win32 call"},
        {"CWnd::MessageBox(\"a\", \"b\", MB_OK);", "CWnd::MessageBox is not the Win32 call"},
        {"AfxMessageBox(\"a\", MB_OK);", "AfxMessageBox is MFC's, not the Win32 call MessageBox"},
        {"MessageBox(NULL, \"a\n, \"b\", MB_OK);", "the text argument has an unterminated string literal"},
        {"MessageBoxIndirect(&mbp);", "MessageBoxIndirect(&mbp) needs the MSGBOXPARAMS set-up of mbp in the text"},
        {"MSGBOXPARAMS m; m.foo = 1; MessageBoxIndirect(&m);", "MSGBOXPARAMS has no member foo"},
        {"MSGBOXPARAMS m; if (x) m.dwStyle = MB_OK; MessageBoxIndirect(&m);",
         "the member dwStyle of m is set inside other code"},
        {"MSGBOXPARAMS m; m.dwStyle |= MB_TOPMOST; MessageBoxIndirect(&m);",
         "the member dwStyle of m is set inside other code"},
        {"MSGBOXPARAMS m; m.lpszIcon = L\"ICON\"; MessageBoxIndirect(&m);",
         "the icon L\"ICON\" is no MAKEINTRESOURCE(...) the options can hold"},
        {"MSGBOXPARAMS m;\n#ifdef X\nm.lpszText = \"a\";\n#endif\nMessageBoxIndirect(&m);",
         "a member of m is set under a preprocessor condition"},
        {"MessageBox(NULL,\n#if 1\n\"a\",\n#endif\n\"b\", MB_OK);", "a preprocessor line stands inside the MessageBox call"},
    };
    for (const auto& c : cases) {
        PlainForm form(GetParam());
        form.SetText(IDC_TEXT, "old");
        form.SetChecked(IDC_TOPMOST, true);
        form.SetListPosition(IDC_BUTTONS, 4);
        const FormSnapshot before = Snapshot(form);
        CountingReport report;
        const CodeOptions options{CharacterSet::Text, AnswerHandling::If};
        CodeReading reading{options, {}};
        EXPECT_FALSE(LoadCode(form, c.statement, report, &reading)) << c.statement;
        EXPECT_EQ(report.unrecognised, 1);
        EXPECT_EQ(report.reason, c.reason) << c.statement;
        EXPECT_EQ(reading.options, options);
        EXPECT_EQ(Snapshot(form), before) << c.statement;
    }
}

TEST_P(LoadCodeTest, ClearsWhatTheStatementDoesNotMention) {
    PlainForm form(GetParam());
    form.SetText(IDC_TITLE, "old");
    form.SetChecked(IDC_TITLEVAR, true);
    form.SetChecked(IDC_HELPBUTTON, true);
    form.SetListPosition(IDC_ICON, 3);
    form.SetListPosition(IDC_LANGUAGE, 7);
    CountingReport report;
    ASSERT_TRUE(LoadCode(form, "MessageBox(NULL, \"a\", \"b\", MB_YESNO);", report));
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
