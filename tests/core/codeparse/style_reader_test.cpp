#include "core/codeparse/style_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/model/plain_form.h"

namespace pw {
namespace {

// Button positions: 0 Abort/Retry/Ignore, 1 OK, 2 OK/Cancel, 3 Retry/Cancel,
// 4 Yes/No, 5 Yes/No/Cancel. Icons: 0 none, 1 warning, 2 information,
// 3 question, 4 stop, 5 usericon.
struct Shape {
    std::string style;
    int buttons = 1, defButton = 0, icon = 0, modality = IDC_APPLMODAL;
    std::vector<int> checked{};
    std::string other{};
};

const Shape kShapes[] = {
    {"MB_OK", 1},
    {"MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_TOPMOST", 4, 1, 3, IDC_APPLMODAL, {IDC_TOPMOST}},
    // Every alias by value; several names of one field add up as the compiler adds them.
    {"MB_ICONHAND", 1, 0, 4}, {"MB_ICONERROR", 1, 0, 4}, {"MB_ICONEXCLAMATION", 1, 0, 1},
    {"MB_ICONASTERISK", 1, 0, 2}, {"MB_USERICON|MB_ABORTRETRYIGNORE", 0, 0, 5},
    {"MB_ICONSTOP|MB_ICONQUESTION", 1, 0, 1}, {"MB_YESNOCANCEL|MB_OK|MB_DEFBUTTON1|MB_APPLMODAL", 5},
    {"MB_TASKMODAL | MB_DEFBUTTON4", 1, 3, 0, IDC_TASKMODAL},
    {"MB_HELP|MB_RIGHT|MB_RTLREADING|MB_SETFOREGROUND|MB_DEFAULT_DESKTOP_ONLY|MB_SERVICE_NOTIFICATION", 1, 0, 0,
     IDC_APPLMODAL,
     {IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND, IDC_DEFAULTDESKTOP, IDC_SERVICE}},
    // NT3X has MB_TOPMOST's value: the name decides, a number means topmost.
    {"MB_SERVICE_NOTIFICATION_NT3X", 1, 0, 0, IDC_APPLMODAL, {IDC_SERVICE_NT3X}},
    {"MB_TOPMOST | MB_SERVICE_NOTIFICATION_NT3X", 1, 0, 0, IDC_APPLMODAL, {IDC_TOPMOST, IDC_SERVICE_NT3X}},
    {"0x40000", 1, 0, 0, IDC_APPLMODAL, {IDC_TOPMOST}},
    // Numbers in every base, with suffixes and separators.
    {"1", 2}, {"0x30", 1, 0, 1}, {"0x40L", 1, 0, 2}, {"48u", 1, 0, 1}, {"060", 1, 0, 1}, {"0b100", 4},
    {"0X1'024ul", 4, 0, 3, IDC_SYSTEMMODAL}, {"0x8031", 2, 0, 1, IDC_APPLMODAL, {}, "0x8000"},
    {"MB_OK | 0x8000L", 1, 0, 0, IDC_APPLMODAL, {}, "0x8000L"},
    // + joins, casts, parentheses.
    {"MB_ICONERROR + MB_YESNO + MB_DEFBUTTON2", 4, 1, 4},
    {"(UINT)MB_OKCANCEL | (DWORD)(MB_ICONINFORMATION)", 2, 0, 2},
    {"static_cast<UINT>(MB_YESNO | MB_ICONSTOP) | ((MB_TOPMOST))", 4, 0, 4, IDC_APPLMODAL, {IDC_TOPMOST}},
    {"UINT(MB_RETRYCANCEL) + (MB_DEFBUTTON3)", 3, 2},
    // What the form cannot show is kept as written.
    {"uType", 1, 0, 0, IDC_APPLMODAL, {}, "uType"},
    // A whole style that chooses is kept whole.
    {"warning ? MB_ICONWARNING : MB_ICONINFORMATION", 1, 0, 0, IDC_APPLMODAL, {}, "warning ? MB_ICONWARNING : MB_ICONINFORMATION"},
    {"fatal || !many ? MB_OK : MB_YESNO", 1, 0, 0, IDC_APPLMODAL, {}, "fatal || !many ? MB_OK : MB_YESNO"},
    {"MB_SYSTEMMODAL | anBtns", 1, 0, 0, IDC_SYSTEMMODAL, {}, "anBtns"},
    {"ICON_HAND|MB_OK|etypes[i] | eicons [ i ]", 1, 0, 0, IDC_APPLMODAL, {}, "ICON_HAND | etypes[i] | eicons [ i ]"},
    {"MB_YESNO | flags & 3 | GetStyle(a, b)", 4, 0, 0, IDC_APPLMODAL, {}, "flags & 3 | GetStyle(a, b)"},
    {"MB_NOFOCUS | MB_CANCELTRYCONTINUE | MB_ICONMASK", 1, 0, 0, IDC_APPLMODAL, {},
     "MB_NOFOCUS | MB_CANCELTRYCONTINUE | MB_ICONMASK"},
    {"(UINT)uType | (x ? MB_OK : MB_YESNO)", 1, 0, 0, IDC_APPLMODAL, {}, "(UINT)uType | (x ? MB_OK : MB_YESNO)"},
    {"(MB_ICONSTOP | dwExtra) | MB_OKCANCEL", 2, 0, 4, IDC_APPLMODAL, {}, "dwExtra"},
    // A field holding no list value keeps its terms rather than guessing.
    {"MB_ICONSTOP | MB_ICONINFORMATION | MB_YESNO", 4, 0, 0, IDC_APPLMODAL, {},
     "MB_ICONSTOP | MB_ICONINFORMATION"},
    {"0x50", 1, 0, 0, IDC_APPLMODAL, {}, "0x50"}, {"0x3004", 4, 0, 0, IDC_APPLMODAL, {}, "0x3000"},
    // Sums that | cannot say stay whole: a repeated constant, a sum with other text.
    {"MB_ICONERROR + MB_ICONERROR", 1, 0, 0, IDC_APPLMODAL, {}, "MB_ICONERROR + MB_ICONERROR"},
    {"MB_YESNO + uType | MB_HELP", 1, 0, 0, IDC_APPLMODAL, {IDC_HELPBUTTON}, "MB_YESNO + uType"},
    {"a - b + MB_OK", 1, 0, 0, IDC_APPLMODAL, {}, "a - b + MB_OK"},
    {"x << 2 + MB_OKCANCEL", 1, 0, 0, IDC_APPLMODAL, {}, "x << 2 + MB_OKCANCEL"},
    {"MB_OK | +1 | a == b", 1, 0, 0, IDC_APPLMODAL, {}, "+1 | a == b"},
    {"MB_OK /* why */ |\n  uType", 1, 0, 0, IDC_APPLMODAL, {}, "uType"},
};

TEST(StyleReader, ReadsEachShapeIntoTheForm) {
    for (const Shape& shape : kShapes) {
        const std::vector<Token> tokens = Tokenize(shape.style);
        StyleReading reading;
        std::string problem;
        ASSERT_TRUE(ReadStyle(tokens, reading, problem)) << shape.style << ": " << problem;
        std::vector<int> checked = reading.checked, expected = shape.checked;
        std::sort(checked.begin(), checked.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(reading.buttons, shape.buttons) << shape.style;
        EXPECT_EQ(reading.defButton, shape.defButton) << shape.style;
        EXPECT_EQ(reading.icon, shape.icon) << shape.style;
        EXPECT_EQ(reading.modality, shape.modality) << shape.style;
        EXPECT_EQ(checked, expected) << shape.style;
        EXPECT_EQ(reading.other, shape.other) << shape.style;
    }
}

TEST(StyleReader, RefusesWhatItCannotHoldExactly) {
    const struct {
        std::string style, problem;
    } refusals[] = {
        {"", "the style is empty"},
        {"(MB_OK | MB_ICONSTOP", "the style has an unbalanced parenthesis"},
        {"MB_OK)", "the style has an unbalanced parenthesis"},
        {"etypes[i)", "the style has an unbalanced parenthesis"},
        {"MB_OK |", "the style has an empty term"},
        {"| MB_OK", "the style has an empty term"},
        {"MB_OK | | MB_HELP", "the style has an empty term"},
        {"MB_OK +", "the style has an empty term"},
        {"style = MB_OK", "the style uses =, which binds more loosely than |"},
        {"style |= MB_HELP", "the style uses |=, which binds more loosely than |"},
        {"a, MB_OK", "the style uses ,, which binds more loosely than |"},
        {"MB_OK\n#ifdef X\n| MB_HELP\n#endif\n", "the style holds a preprocessor line"},
        {"MB_OK | 'x\n| MB_HELP", "the style has an unterminated literal"},
    };
    for (const auto& refusal : refusals) {
        StyleReading reading;
        std::string problem;
        EXPECT_FALSE(ReadStyle(Tokenize(refusal.style), reading, problem)) << refusal.style;
        EXPECT_EQ(problem, refusal.problem) << refusal.style;
    }
}

int RowOf(std::string_view id) {
    for (int row = 0; row < kLanguageCount; ++row)
        if (kLanguages[static_cast<std::size_t>(row)].id == id) return row;
    return -2;
}

TEST(StyleReader, ReadsLanguagesByValueAndRefusesTheRestByName) {
    const struct {
        std::string language;
        std::string_view id;   // the row's identifier, or empty for a refusal
        std::string problem;
    } cases[] = {
        {"0x0409", "0x0409", ""}, {"0x409", "0x0409", ""}, {"1033", "0x0409", ""}, {"0X0C0AL", "0x0c0a", ""},
        {"MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)", "0x0409", ""},
        {"MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)", "0x0000", ""},
        {"LANG_SYSTEM_DEFAULT", "0x0800", ""},
        {"(WORD)MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)", "0x0407", ""},
        {"LANG_NEUTRAL", "0x0000", ""}, {"LANG_USER_DEFAULT", "0x0400", ""},
        {"MAKELANGID(LANG_FOO, SUBLANG_BAR)", "", "the language MAKELANGID(LANG_FOO, SUBLANG_BAR) is not in the language list"},
        {"0x1234", "", "the language 0x1234 is not in the language list"},
        {"wLang", "", "the language wLang is an expression; the form holds a language of its list"},
        {"GetUserDefaultLangID()", "", "the language GetUserDefaultLangID() is an expression; the form holds a language of its list"},
        {"MAKELANGID(LANG_ENGLISH", "", "the language has an unbalanced parenthesis"},
    };
    for (const auto& c : cases) {
        std::string problem;
        const int row = ReadLanguage(Tokenize(c.language), problem);
        EXPECT_EQ(row, c.id.empty() ? -1 : RowOf(c.id)) << c.language;
        EXPECT_EQ(problem, c.problem) << c.language;
    }
}

TEST(StyleReader, AppliesTheWholeStyleAndOtherStyleOnlyWhereTheLayoutHasIt) {
    for (Layout layout : {Layout::Simple, Layout::Advanced}) {
        PlainForm form(layout);
        form.SetChecked(IDC_RIGHT, true);
        const int previews = form.iconPreviewUpdates;
        ASSERT_TRUE(ReadStyleExpression("MB_YESNO | MB_ICONSTOP | MB_TOPMOST | uType", form));
        EXPECT_FALSE(form.IsChecked(IDC_RIGHT));
        EXPECT_TRUE(form.IsChecked(IDC_TOPMOST));
        EXPECT_EQ(form.ListPosition(IDC_ICON), 4);
        EXPECT_EQ(form.Text(IDC_OTHERSTYLE), layout == Layout::Advanced ? "uType" : "");
        EXPECT_EQ(form.iconPreviewUpdates, previews + 1);
        EXPECT_FALSE(ReadStyleExpression("MB_YESNO |", form));
        EXPECT_EQ(form.ListPosition(IDC_BUTTONS), 4);
    }
}

}  // namespace
}  // namespace pw
