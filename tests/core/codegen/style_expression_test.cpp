// the style expression, table-driven over both layouts.
#include "core/codegen/style_expression.h"

#include <gtest/gtest.h>

#include <string>

#include "core/codegen/codegen_fixtures.h"
#include "core/codegen/statement_writer.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw {
namespace {

using test::Apply;
using test::StyleSettings;

struct ExpressionCase {
    const char* name;
    StyleSettings settings;
    const char* advanced;  // expected in the advanced layout
    const char* simple;    // expected in the simple layout (no modality radios, no service boxes)
};

// clang-format off
const ExpressionCase kCases[] = {
    {"AfterClear", {}, "MB_OK", "MB_OK"},
    {"YesNoCancelButton3QuestionTopmost",
     {5, 2, 3, IDC_APPLMODAL, {IDC_TOPMOST}},
     "MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONQUESTION | MB_TOPMOST",
     "MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONQUESTION | MB_TOPMOST"},
    {"AbortRetryIgnoreAlone", {0, 0, 0, IDC_APPLMODAL, {}}, "MB_ABORTRETRYIGNORE", "MB_ABORTRETRYIGNORE"},
    {"HelpRightRtlInTableOrderWhateverTheCheckingOrder",
     {1, 0, 0, IDC_APPLMODAL, {IDC_RTLREADING, IDC_HELPBUTTON, IDC_RIGHT}},
     "MB_OK | MB_HELP | MB_RIGHT | MB_RTLREADING",
     "MB_OK | MB_HELP | MB_RIGHT | MB_RTLREADING"},
    {"BothServiceBoxesPlainFirst",
     {1, 0, 0, IDC_APPLMODAL, {IDC_SERVICE_NT3X, IDC_SERVICE}},
     "MB_OK | MB_SERVICE_NOTIFICATION | MB_SERVICE_NOTIFICATION_NT3X",
     "MB_OK"},
    {"TaskModalAfterIconBeforeHelp",
     {2, 1, 1, IDC_TASKMODAL, {IDC_HELPBUTTON}},
     "MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL | MB_HELP",
     "MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_HELP"},
    {"SystemModal", {4, 0, 4, IDC_SYSTEMMODAL, {}}, "MB_YESNO | MB_ICONSTOP | MB_SYSTEMMODAL", "MB_YESNO | MB_ICONSTOP"},
    {"ApplicationModalHasNoEntry", {3, 0, 0, IDC_APPLMODAL, {}}, "MB_RETRYCANCEL", "MB_RETRYCANCEL"},
    {"DefaultButton1IsNeverWritten", {1, 0, 2, IDC_APPLMODAL, {}}, "MB_OK | MB_ICONINFORMATION", "MB_OK | MB_ICONINFORMATION"},
    {"DefaultButton4UserIcon", {5, 3, 5, IDC_APPLMODAL, {}}, "MB_YESNOCANCEL | MB_DEFBUTTON4 | MB_USERICON",
     "MB_YESNOCANCEL | MB_DEFBUTTON4 | MB_USERICON"},
    {"SetForegroundDefaultDesktop",
     {1, 0, 0, IDC_APPLMODAL, {IDC_DEFAULTDESKTOP, IDC_SETFOREGROUND}},
     "MB_OK | MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY",
     "MB_OK | MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY"},
    {"TopmostAndNt3xBothWritten",
     {1, 0, 0, IDC_APPLMODAL, {IDC_SERVICE_NT3X, IDC_TOPMOST}},
     "MB_OK | MB_TOPMOST | MB_SERVICE_NOTIFICATION_NT3X",
     "MB_OK | MB_TOPMOST"},
    // Every entry present: the longest expression, 240 characters.
    {"EverythingSystemModal",
     {5, 3, 1, IDC_SYSTEMMODAL,
      {IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND, IDC_DEFAULTDESKTOP, IDC_TOPMOST,
       IDC_SERVICE, IDC_SERVICE_NT3X}},
     "MB_YESNOCANCEL | MB_DEFBUTTON4 | MB_ICONWARNING | MB_SYSTEMMODAL | MB_HELP | MB_RIGHT | "
     "MB_RTLREADING | MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY | MB_TOPMOST | MB_SERVICE_NOTIFICATION | "
     "MB_SERVICE_NOTIFICATION_NT3X",
     "MB_YESNOCANCEL | MB_DEFBUTTON4 | MB_ICONWARNING | MB_HELP | MB_RIGHT | MB_RTLREADING | "
     "MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY | MB_TOPMOST"},
    {"EverythingTaskModal",
     {1, 1, 5, IDC_TASKMODAL,
      {IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND, IDC_DEFAULTDESKTOP, IDC_TOPMOST,
       IDC_SERVICE, IDC_SERVICE_NT3X}},
     "MB_OK | MB_DEFBUTTON2 | MB_USERICON | MB_TASKMODAL | MB_HELP | MB_RIGHT | MB_RTLREADING | "
     "MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY | MB_TOPMOST | MB_SERVICE_NOTIFICATION | "
     "MB_SERVICE_NOTIFICATION_NT3X",
     "MB_OK | MB_DEFBUTTON2 | MB_USERICON | MB_HELP | MB_RIGHT | MB_RTLREADING | MB_SETFOREGROUND | "
     "MB_DEFAULT_DESKTOP_ONLY | MB_TOPMOST"},
};
// clang-format on

class StyleExpressionTest : public ::testing::TestWithParam<std::tuple<ExpressionCase, Layout>> {};

TEST_P(StyleExpressionTest, WritesTheNamesOfTheSettingsInOrder) {
    const auto& [c, layout] = GetParam();
    PlainForm form(layout);
    Apply(c.settings, form);
    EXPECT_EQ(BuildStyleExpression(form), layout == Layout::Advanced ? c.advanced : c.simple);
}

INSTANTIATE_TEST_SUITE_P(Cases, StyleExpressionTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Layout::Advanced, Layout::Simple)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    test::LayoutName(std::get<1>(info.param));
                         });

TEST(StyleExpression, LongestExpressionIs240Characters) {
    // The longest names of each list and all ten check entries. The 240
    // counts both modality entries, which a radio group never gives together;
    // a form that reports both checked still gets them, in table order.
    test::RawForm form;
    form.SetListPosition(IDC_BUTTONS, 0);
    form.SetListPosition(IDC_DEFBUTTON, 3);
    form.SetListPosition(IDC_ICON, 2);
    for (int id : {IDC_SYSTEMMODAL, IDC_TASKMODAL, IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND,
                   IDC_DEFAULTDESKTOP, IDC_TOPMOST, IDC_SERVICE, IDC_SERVICE_NT3X})
        form.SetChecked(id, true);
    const std::string expression = BuildStyleExpression(form);
    EXPECT_EQ(expression,
              "MB_ABORTRETRYIGNORE | MB_DEFBUTTON4 | MB_ICONINFORMATION | MB_SYSTEMMODAL | MB_TASKMODAL | MB_HELP | "
              "MB_RIGHT | MB_RTLREADING | MB_SETFOREGROUND | MB_DEFAULT_DESKTOP_ONLY | MB_TOPMOST | "
              "MB_SERVICE_NOTIFICATION | MB_SERVICE_NOTIFICATION_NT3X");
    EXPECT_EQ(expression.size(), 240u);
}

// Written out by hand, by list position, so that a wrong row in the option
// tables shows here.
TEST(StyleExpression, EveryButtonSetDefaultButtonAndIcon) {
    const char* const kButtons[] = {"MB_ABORTRETRYIGNORE", "MB_OK",    "MB_OKCANCEL",
                                    "MB_RETRYCANCEL",      "MB_YESNO", "MB_YESNOCANCEL"};
    const char* const kDefaults[] = {"", " | MB_DEFBUTTON2", " | MB_DEFBUTTON3", " | MB_DEFBUTTON4"};
    const char* const kIconNames[] = {
        "", " | MB_ICONWARNING", " | MB_ICONINFORMATION", " | MB_ICONQUESTION", " | MB_ICONSTOP", " | MB_USERICON"};
    for (Layout layout : {Layout::Advanced, Layout::Simple}) {
        for (int b = 0; b < 6; ++b)
            for (int d = 0; d < 4; ++d)
                for (int i = 0; i < 6; ++i) {
                    PlainForm form(layout);
                    Apply({b, d, i, IDC_APPLMODAL, {}}, form);
                    const std::string expected = std::string(kButtons[b]) + kDefaults[d] + kIconNames[i];
                    EXPECT_EQ(BuildStyleExpression(form), expected) << b << ' ' << d << ' ' << i;
                }
    }
    PlainForm form(Layout::Simple);
    Apply({5, 2, 3, IDC_APPLMODAL, {}}, form);
    struct NoPrompt : ParamsPrompt {
        ParamsOptions Run() override { return {}; }
    } prompt;
    EXPECT_EQ(GenerateStatement(form, prompt),
              "MessageBox(GetActiveWindow(), \"\", \"\", MB_YESNOCANCEL | MB_DEFBUTTON3 | MB_ICONQUESTION);");
}

TEST(StyleExpression, IsRebuiltFromTheFormAtEveryCall) {
    PlainForm form(Layout::Advanced);
    form.SetChecked(IDC_TOPMOST, true);
    EXPECT_EQ(BuildStyleExpression(form), "MB_OK | MB_TOPMOST");
    form.SetChecked(IDC_TOPMOST, false);
    EXPECT_EQ(BuildStyleExpression(form), "MB_OK");
}

TEST(StyleExpression, WritesOtherStyleLastAsTyped) {
    PlainForm form(Layout::Advanced);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_SYSTEMMODAL);
    form.SetText(IDC_OTHERSTYLE, "anBtns | flags & 3");
    EXPECT_EQ(BuildStyleExpression(form), "MB_OK | MB_SYSTEMMODAL | anBtns | flags & 3");
    // A choice stands alone after nothing but MB_OK, else in parentheses.
    form.SetText(IDC_OTHERSTYLE, "warn ? MB_ICONWARNING : MB_OK");
    EXPECT_EQ(BuildStyleExpression(form), "MB_OK | MB_SYSTEMMODAL | (warn ? MB_ICONWARNING : MB_OK)");
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_APPLMODAL);
    EXPECT_EQ(BuildStyleExpression(form), "warn ? MB_ICONWARNING : MB_OK");
    PlainForm simple(Layout::Simple);
    simple.SetText(IDC_OTHERSTYLE, "anBtns");
    EXPECT_EQ(BuildStyleExpression(simple), "MB_OK");
}

TEST(StyleExpression, ListsWithoutSelectionOrUnknownPositionsAddNothing) {
    test::RawForm form;  // reports no selection for every list
    EXPECT_EQ(BuildStyleExpression(form), "MB_OK");
    for (int position : {-1, -2, 6, 7, 100, 1 << 30, -(1 << 30)}) {
        form.SetListPosition(IDC_BUTTONS, position);
        form.SetListPosition(IDC_DEFBUTTON, position);
        form.SetListPosition(IDC_ICON, position);
        EXPECT_EQ(BuildStyleExpression(form), "MB_OK") << position;
    }
    // Positions 4 and 5 exist in the Buttons and Icon lists but not in the Default button list.
    form.SetListPosition(IDC_BUTTONS, 4);
    form.SetListPosition(IDC_DEFBUTTON, 4);
    form.SetListPosition(IDC_ICON, 5);
    EXPECT_EQ(BuildStyleExpression(form), "MB_YESNO | MB_USERICON");
}

}  // namespace
}  // namespace pw
