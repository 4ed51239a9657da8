#include "core/codeparse/style_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/codeparse/form_snapshot.h"
#include "core/model/plain_form.h"

namespace pw {
namespace {

using test::FormSnapshot;
using test::Snapshot;

struct StyleCase {
    std::string expression;
    std::function<void(FormSnapshot&)> expect;  // changes from the Clear state
};

std::string Repeat(std::string_view name, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) (out += name) += " | ";
    return out;
}

const std::vector<StyleCase>& StyleCases() {
    static const std::vector<StyleCase> cases{
        {"MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_TOPMOST",
         [](auto& s) { s.buttons = 4, s.defButton = 1, s.icon = 3, s.flags = {IDC_TOPMOST}; }},
        {"MB_ICONHAND", [](auto& s) { s.icon = 4; }},
        {"MB_ICONERROR", [](auto& s) { s.icon = 4; }},
        {"MB_ICONSTOP", [](auto& s) { s.icon = 4; }},
        {"MB_ICONASTERISK", [](auto& s) { s.icon = 2; }},
        {"MB_ICONEXCLAMATION", [](auto& s) { s.icon = 1; }},
        {"MB_ICONWARNING", [](auto& s) { s.icon = 1; }},
        {"MB_USERICON|MB_ABORTRETRYIGNORE", [](auto& s) { s.icon = 5, s.buttons = 0; }},
        // A flag never moves a list; of several names for one list the last wins.
        {"MB_OK|MB_HELP", [](auto& s) { s.flags = {IDC_HELPBUTTON}; }},
        {"MB_OK|MB_YESNO", [](auto& s) { s.buttons = 4; }},
        {"MB_YESNOCANCEL|MB_OK", [](auto& s) { s.buttons = 1; }},
        {"MB_DEFBUTTON4|MB_DEFBUTTON1", [](auto&) {}},
        {"MB_ICONSTOP|MB_ICONQUESTION", [](auto& s) { s.icon = 3; }},
        {"MB_TASKMODAL", [](auto& s) { s.modality = IDC_TASKMODAL; }},
        {"MB_SYSTEMMODAL|MB_TASKMODAL|MB_APPLMODAL", [](auto&) {}},
        {"MB_HELP|MB_RIGHT|MB_RTLREADING|MB_SETFOREGROUND|MB_DEFAULT_DESKTOP_ONLY|MB_TOPMOST|"
         "MB_SERVICE_NOTIFICATION|MB_SERVICE_NOTIFICATION_NT3X",
         [](auto& s) {
             for (const CheckEntry& flag : kFlags) s.flags.insert(flag.control);
         }},
        // Separators in a row, at the ends, and spaces alone.
        {"  | MB_RETRYCANCEL||  MB_ICONSTOP |", [](auto& s) { s.buttons = 3, s.icon = 4; }},
        {"MB_OKCANCEL MB_DEFBUTTON3", [](auto& s) { s.buttons = 2, s.defButton = 2; }},
        // Numbers, own macros and wrong case are passed over.
        {"0x40|mb_yesno|MB_YESNOX|MY_STYLE|MB_|1", [](auto&) {}},
        {"", [](auto&) {}},
        // No limit on the count or length of names.
        {Repeat("MB_YESNO", 300) + "MB_RETRYCANCEL", [](auto& s) { s.buttons = 3; }},
        {std::string(5000, 'X') + "|MB_ICONSTOP|MB_" + std::string(200, 'A'), [](auto& s) { s.icon = 4; }},
    };
    return cases;
}

class StyleReaderTest : public testing::TestWithParam<Layout> {};

TEST_P(StyleReaderTest, SetsWhatTheNamesAskFor) {
    for (const StyleCase& c : StyleCases()) {
        PlainForm form(GetParam());
        FormSnapshot expected = Snapshot(form);
        c.expect(expected);
        if (GetParam() == Layout::Simple) {
            // That layout has no modality group and no service boxes.
            expected.modality = 0;
            expected.flags.erase(IDC_SERVICE);
            expected.flags.erase(IDC_SERVICE_NT3X);
        }
        const int previews = form.iconPreviewUpdates;
        ReadStyleExpression(c.expression, form);
        EXPECT_EQ(Snapshot(form), expected) << c.expression.substr(0, 80);
        EXPECT_EQ(form.iconPreviewUpdates, previews + 1) << c.expression.substr(0, 80);
    }
}

TEST_P(StyleReaderTest, NeverUnchecksOrResets) {
    PlainForm form(GetParam());
    form.SetChecked(IDC_RIGHT, true);
    form.SetListPosition(IDC_ICON, 2);
    ReadStyleExpression("MB_YESNO | MB_TOPMOST", form);
    EXPECT_TRUE(form.IsChecked(IDC_RIGHT));
    EXPECT_TRUE(form.IsChecked(IDC_TOPMOST));
    EXPECT_EQ(form.ListPosition(IDC_ICON), 2);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, StyleReaderTest, testing::Values(Layout::Simple, Layout::Advanced),
                         [](const auto& info) { return info.param == Layout::Simple ? "Simple" : "Advanced"; });

}  // namespace
}  // namespace pw
