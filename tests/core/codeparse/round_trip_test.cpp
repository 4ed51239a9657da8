// Reading back what the writer wrote gives back every field the statement
// carries and the code options it was written in, for a seeded spread of form
// states in every string mode and every answer mode; and the few inputs that
// cannot come back come back exactly as documented.
//
// What cannot come back:
//  - In literal texts, backslash sequences the writer does not escape: a typed
//    backslash before n, r or t comes back as the control character; before a
//    quote, apostrophe, tab or line break, or at the very end of the text, it
//    breaks the pairing of the writer's own escapes. Other backslashes (paths,
//    \x41, \\) come back as typed.
//  - A lone CR or LF in a literal comes back as CR LF (the edit box's line break).
//  - Owner and variable texts lose their white space outside quotes; a comma (call
//    forms) or semicolon (structure form) ends them; comment markers in them are
//    comments; a variable text that begins with a double quote reads as a literal.
//  - The MSGBOXPARAMS options, which the reader does not read; a plain MessageBox
//    call carries no language.
//  - A variable text written as TEXT("..."), _T("...") or _TEXT("..."), and in the
//    wide mode as L"...", comes back as a literal.
//  - In TEXT() and wide literals, a universal character name (\u00e9), an octal
//    escape \200-\377 or a \x escape of 0x80 and up (\x41 followed by "a" is
//    \x41a) typed into the text comes back as the character it names; a typed
//    backslash right before a character outside ASCII (an unknown escape in
//    ANSI) pairs with the backslash of the character's name.
//  - The answer mode of a statement with the OK button set (nothing to decide:
//    the plain statement is written), and the TEXT() mode of a statement whose
//    text and title are both variables (no literal carries the mark): both read
//    as the first option.
#include <gtest/gtest.h>

#include <optional>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/codeparse/code_reader.h"
#include "core/codeparse/form_snapshot.h"
#include "core/model/plain_form.h"

namespace pw {
namespace {

using test::CountingReport;
using test::FormSnapshot;
using test::Snapshot;

class FixedPrompt : public ParamsPrompt {
public:
    ParamsOptions Run() override { return options; }
    ParamsOptions options;
};

// Whether a literal text survives the writer's escaping and the reader's unescaping.
bool LiteralRoundTrips(std::string_view text, CharacterSet characterSet) {
    // Even an escaped backslash before the closing quote makes it look escaped.
    if (!text.empty() && text.back() == '\\') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') continue;
        if (std::string_view("nrt\"'\r\n\t").find(text[i + 1]) != std::string_view::npos) return false;
        if (characterSet != CharacterSet::Ansi && std::string_view("uU23").find(text[i + 1]) != std::string_view::npos)
            return false;
        if (characterSet != CharacterSet::Ansi && text[i + 1] == 'x') {
            // A C reader takes every hex digit that follows.
            unsigned long value = 0;
            for (std::size_t k = i + 2; k < text.size() && std::isxdigit(static_cast<unsigned char>(text[k])); ++k) {
                const int c = std::tolower(static_cast<unsigned char>(text[k]));
                value =
                    std::min(value * 16 + static_cast<unsigned long>(c <= '9' ? c - '0' : c - 'a' + 10), 0x110000ul);
            }
            if (value >= 0x80) return false;
        }
        ++i;
    }
    return true;
}

class StateMaker {
public:
    explicit StateMaker(unsigned seed) : random_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename T>
    const T& Pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
    }

    std::string Literal(CharacterSet characterSet) {
        // UTF-8 text outside ASCII: the euro sign, C1 controls (U+0081,
        // U+009D) before digits and hex letters, letters, a CJK ideograph, a
        // character above U+FFFF.
        // clang-format off
        static const std::vector<std::string> pieces{
            "a", "Hello", " ", "  ", ",", ", ", "\"", "'", ";", "\t", "\r\n", "//", "/*", "*/", "(", ")", "=", "|",
            "http://example.com/p?q=1&r=2", "%", "%1", "%d", "%%", "100%", "MB_OK", ".", "\\x41", "C:\\dir\\f",
            "\\\\", "\xc3\xa9t\xc3\xa9", "MessageBox(", "\",\"", "\";", "\\\\\"", "\")", "\"),", "TEXT(\"", "L\"",
            "\xe2\x82\xac", "\xc2\x81" "1", "\xc2\x9d" "F", "\xc3\x9f", "\xc3\xbc", "\xc3\xbf", "\\u00e9", "\\201",
            "\\u20AC", "\xe4\xb8\xad", "\xf0\x9f\x98\x80", "\\351", "\\xE9"};
        // clang-format on
        for (;;) {
            std::string text;
            for (int n = Below(8); n > 0; --n) text += Pick(pieces);
            if (LiteralRoundTrips(text, characterSet)) return text;
        }
    }

    std::string Variable(CharacterSet characterSet) {
        static const std::vector<std::string> names{
            "",     "szMessage", "GetText(1)", "tbl[i]", "a+b",   "p->name",         "msg.text", "(LPCSTR)buf",
            "a==b", "x/y",       "s%d",    "C:\\x", "f(\"\xc3\xa9\")", "TEXT",     "LoadText(L\"x\")"};
        (void)characterSet;
        return Pick(names);
    }

    void Fill(PlainForm& form, FixedPrompt& prompt, CharacterSet characterSet) {
        static const std::vector<std::string> owners{"NULL",    "GetActiveWindow()", "hWnd",   "", "GetParent(hDlg)",
                                                     "(HWND)0", "wnd.m_hWnd",        "p->hwnd"};
        static const std::vector<std::string> names{"mbp", "", "params", "p2", "Wnd"};
        static const std::vector<std::string> options{"", "IDI_MYICON", "1", "MsgBoxCallback", "(DWORD)7"};
        form.SetText(IDC_PARENT, Pick(owners));
        for (auto [textId, variableId] : {std::pair{IDC_TEXT, IDC_TEXTVAR}, std::pair{IDC_TITLE, IDC_TITLEVAR}}) {
            const bool variable = Below(3) == 0;
            form.SetChecked(variableId, variable);
            form.SetText(textId, variable ? Variable(characterSet) : Literal(characterSet));
        }
        form.SetListPosition(IDC_BUTTONS, Below(6));
        form.SetListPosition(IDC_DEFBUTTON, Below(4));
        form.SetListPosition(IDC_ICON, Below(6));
        form.SetListPosition(IDC_LANGUAGE, Below(kLanguageCount));
        form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_APPLMODAL + Below(3));
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX + Below(3));
        for (const CheckEntry& flag : kFlags) form.SetChecked(flag.control, Below(2) == 0);
        prompt.options = {Pick(names), Pick(options), Pick(options), Pick(options)};
    }

private:
    std::mt19937 random_;
};

class RoundTripTest : public testing::TestWithParam<Layout> {};

TEST_P(RoundTripTest, GivesBackEveryFieldTheStatementCarriesAndBothOptions) {
    StateMaker maker(20261207);
    for (int run = 0; run < 4500; ++run) {
        // Every string mode with every answer mode, in turn.
        const CodeOptions options{static_cast<CharacterSet>(run % 3), static_cast<AnswerHandling>(run / 3 % 3)};
        PlainForm original(GetParam());
        FixedPrompt prompt;
        maker.Fill(original, prompt, options.characterSet);
        std::string statement = ExpandLineFeeds(GenerateStatement(original, prompt, options));
        const std::string written = statement;

        FormSnapshot expected = Snapshot(original);
        if (expected.type == IDC_TYPE_BOX && GetParam() == Layout::Advanced) expected.language = kClearLanguage;
        CodeOptions expectedOptions = options;
        if (expected.buttons == 1) expectedOptions.answer = AnswerHandling::None;  // the OK set
        if (options.characterSet == CharacterSet::Text && expected.textVar && expected.titleVar)
            expectedOptions.characterSet = CharacterSet::Ansi;

        PlainForm back(GetParam());
        CountingReport report;
        CodeReading read{};
        ASSERT_TRUE(LoadCode(back, statement, report, &read)) << written << report.reason;
        ASSERT_EQ(Snapshot(back), expected) << "run " << run << ": " << written;
        ASSERT_EQ(read.options, expectedOptions) << "run " << run << ": " << written;
    }
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, RoundTripTest, testing::Values(Layout::Simple, Layout::Advanced),
                         [](const auto& info) { return info.param == Layout::Simple ? "Simple" : "Advanced"; });

// Typed text comes back as the statement means it; where a typed backslash
// breaks the literal the writer makes, the reader says so.
TEST(RoundTrip, InputsThatCannotComeBackComeBackAsDocumented) {
    const struct {
        int type;
        int field;  // IDC_TEXT or IDC_PARENT
        bool variable;
        std::string typed;
        std::optional<std::string> back;  // nothing: refused
        CharacterSet characterSet = CharacterSet::Ansi;
    } cases[] = {
        {IDC_TYPE_BOX, IDC_TEXT, false, "a\\nb", "a\r\nb"},
        {IDC_TYPE_INDIRECT, IDC_TEXT, false, "C:\\temp\\rx", "C:\temp\\rx"},
        {IDC_TYPE_BOX, IDC_TEXT, false, "say \\\"x\\'", std::nullopt},
        {IDC_TYPE_BOX, IDC_TEXT, false, "a\\\tb", "a\\\\tb"},
        {IDC_TYPE_BOX, IDC_TEXT, false, "one\rtwo\nthree", "one\r\ntwo\r\nthree"},
        {IDC_TYPE_BOXEX, IDC_TEXT, false, "end\\", std::nullopt},
        {IDC_TYPE_BOX, IDC_TEXT, true, "a + b", "a + b"},
        {IDC_TYPE_BOX, IDC_TEXT, true, "f(a,b)", "f(a,b)"},
        {IDC_TYPE_INDIRECT, IDC_TEXT, true, "f(a;b)", "f(a;b)"},
        {IDC_TYPE_BOX, IDC_TEXT, true, "a//b", std::nullopt},
        {IDC_TYPE_BOX, IDC_TEXT, true, "\"q\"", "q"},
        {IDC_TYPE_BOX, IDC_PARENT, false, "GetParent( hWnd )", "GetParent( hWnd )"},
        {IDC_TYPE_BOXEX, IDC_PARENT, false, "GetDlgItem(hDlg, 1)", "GetDlgItem(hDlg, 1)"},
        {IDC_TYPE_INDIRECT, IDC_PARENT, false, "a/*b*/c", "a c"},
        {IDC_TYPE_BOX, IDC_TEXT, true, "_T(\"Hi\\n\")", "Hi\r\n"},
        {IDC_TYPE_INDIRECT, IDC_TEXT, true, "TEXT(\"a;b\")", "a;b"},
        {IDC_TYPE_BOXEX, IDC_TEXT, true, "L\"a, b\"", "a, b", CharacterSet::Wide},
        {IDC_TYPE_BOX, IDC_TEXT, false, "\\u00e9 \\201", "\xc3\xa9 \xc2\x81", CharacterSet::Text},
        {IDC_TYPE_INDIRECT, IDC_TEXT, false, "\\U000020AC", "\xe2\x82\xac", CharacterSet::Wide},
        {IDC_TYPE_BOX, IDC_TEXT, false, "a\\\xc3\xa9", "a\\\\u00E9", CharacterSet::Text},
        {IDC_TYPE_BOX, IDC_TEXT, false, "\\x41a \\351", "\xd0\x9a \xc3\xa9", CharacterSet::Wide},
    };
    for (const auto& c : cases) {
        PlainForm original(Layout::Advanced);
        original.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, c.type);
        original.SetText(IDC_TITLE, "T");
        original.SetText(c.field, c.typed);
        original.SetChecked(IDC_TEXTVAR, c.variable);
        FixedPrompt prompt;
        prompt.options.structName = "mbp";
        const std::string statement = ExpandLineFeeds(GenerateStatement(original, prompt, {c.characterSet}));

        PlainForm back(Layout::Advanced);
        CountingReport report;
        ASSERT_EQ(LoadCode(back, statement, report), c.back.has_value()) << statement;
        if (c.back) {
            EXPECT_EQ(back.Text(c.field), *c.back) << statement;
        }
    }
}

// Any character, as the form holds it in UTF-8, is named in TEXT() and wide
// literals and read back into the same UTF-8.
TEST(RoundTrip, EveryCharacterComesBackThroughItsName) {
    const std::string text =
        "\xe2\x9c\x93 Saved \xe2\x86\x92 Gr\xc3\xbc\xc3\x9f"
        "e \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xf0\x9f\x98\x80";
    const std::string named = "\\u2713 Saved \\u2192 Gr\\u00FC\\u00DFe \\u65E5\\u672C\\u8A9E \\U0001F600";
    for (const auto& [characterSet, literal] : {std::pair{CharacterSet::Wide, "L\"" + named + "\""},
                                                std::pair{CharacterSet::Text, "TEXT(\"" + named + "\")"}}) {
        PlainForm form(Layout::Advanced);
        form.SetText(IDC_PARENT, "NULL");
        form.SetText(IDC_TEXT, text);
        form.SetText(IDC_TITLE, "T");
        FixedPrompt prompt;
        std::string statement = GenerateStatement(form, prompt, {characterSet});
        EXPECT_NE(statement.find(", " + literal + ", "), std::string::npos) << statement;
        PlainForm back(Layout::Advanced);
        CountingReport report;
        ASSERT_TRUE(LoadCode(back, statement, report)) << statement;
        EXPECT_EQ(back.Text(IDC_TEXT), text);
    }
}

}  // namespace
}  // namespace pw
