// the numeric style of the preview, table-driven over both layouts.
#include "core/codegen/style_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/codegen/codegen_fixtures.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw {
namespace {

using test::Apply;
using test::StyleSettings;

struct ValueCase {
    const char* name;
    StyleSettings settings;
    std::uint32_t advanced;
    std::uint32_t simple;  // the simple layout lacks the modality radios and the service boxes
};

const ValueCase kCases[] = {
    {"AfterClear", {}, 0x0, 0x0},
    {"YesNoCancelButton3QuestionTopmost", {5, 2, 3, IDC_APPLMODAL, {IDC_TOPMOST}}, 0x40223, 0x40223},
    {"SystemModalHelpRightRtlForeground",
     {1, 0, 0, IDC_SYSTEMMODAL, {IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND}},
     0x195000,
     0x194000},
    {"DefaultDesktopAndServiceNeverEnter",
     {1, 0, 0, IDC_APPLMODAL, {IDC_DEFAULTDESKTOP, IDC_SERVICE, IDC_SERVICE_NT3X}},
     0x0,
     0x0},
    {"DefaultDesktopAndServiceDoNotChangeOtherSettings",
     {5, 2, 3, IDC_APPLMODAL, {IDC_TOPMOST, IDC_DEFAULTDESKTOP, IDC_SERVICE, IDC_SERVICE_NT3X}},
     0x40223,
     0x40223},
    {"TaskModal", {0, 1, 1, IDC_TASKMODAL, {}}, 0x2132, 0x0132},
    {"AbortRetryIgnore", {0, 0, 0, IDC_APPLMODAL, {}}, 0x2, 0x2},
    {"RetryCancelButton4Stop", {3, 3, 4, IDC_APPLMODAL, {}}, 0x315, 0x315},
    {"OkCancelInformation", {2, 0, 2, IDC_APPLMODAL, {}}, 0x41, 0x41},
    {"YesNoUserIcon", {4, 0, 5, IDC_APPLMODAL, {}}, 0x84, 0x84},
};

class StyleValueTest : public ::testing::TestWithParam<std::tuple<ValueCase, Layout>> {};

TEST_P(StyleValueTest, SumsTheValuesOfTheSettings) {
    const auto& [c, layout] = GetParam();
    PlainForm form(layout);
    Apply(c.settings, form);
    EXPECT_EQ(ComputeStyleValue(form), layout == Layout::Advanced ? c.advanced : c.simple);
}

INSTANTIATE_TEST_SUITE_P(Cases, StyleValueTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(Layout::Advanced, Layout::Simple)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    test::LayoutName(std::get<1>(info.param));
                         });

TEST(StyleValue, EachOfTheThreeFlagsAloneAddsNothing) {
    for (int id : {IDC_DEFAULTDESKTOP, IDC_SERVICE, IDC_SERVICE_NT3X}) {
        PlainForm form(Layout::Advanced);
        form.SetChecked(id, true);
        ASSERT_TRUE(form.IsChecked(id));
        EXPECT_EQ(ComputeStyleValue(form), 0u) << id;
    }
}

TEST(StyleValue, EveryListPositionAddsItsTableValue) {
    const std::uint32_t buttons[] = {0x2, 0x0, 0x1, 0x5, 0x4, 0x3};
    const std::uint32_t defButtons[] = {0x0, 0x100, 0x200, 0x300};
    const std::uint32_t icons[] = {0x0, 0x30, 0x40, 0x20, 0x10, 0x80};
    for (Layout layout : {Layout::Advanced, Layout::Simple})
        for (int b = 0; b < 6; ++b)
            for (int d = 0; d < 4; ++d)
                for (int i = 0; i < 6; ++i) {
                    PlainForm form(layout);
                    Apply({b, d, i, IDC_APPLMODAL, {}}, form);
                    EXPECT_EQ(ComputeStyleValue(form), buttons[b] + defButtons[d] + icons[i]);
                }
}

TEST(StyleValue, EachFlagAddsItsHeaderValue) {
    const std::pair<int, std::uint32_t> flags[] = {
        {IDC_HELPBUTTON, 0x4000},     {IDC_RIGHT, 0x80000},   {IDC_RTLREADING, 0x100000},
        {IDC_SETFOREGROUND, 0x10000}, {IDC_TOPMOST, 0x40000},
    };
    for (Layout layout : {Layout::Advanced, Layout::Simple})
        for (auto [id, value] : flags) {
            PlainForm form(layout);
            form.SetChecked(id, true);
            EXPECT_EQ(ComputeStyleValue(form), value) << id;
        }
    PlainForm form(Layout::Advanced);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_SYSTEMMODAL);
    EXPECT_EQ(ComputeStyleValue(form), 0x1000u);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_TASKMODAL);
    EXPECT_EQ(ComputeStyleValue(form), 0x2000u);
}

TEST(StyleValue, ListsWithoutSelectionOrUnknownPositionsAddNothing) {
    test::RawForm form;
    EXPECT_EQ(ComputeStyleValue(form), 0u);
    for (int position : {-1, -7, 6, 4096, 1 << 30, -(1 << 30)}) {
        form.SetListPosition(IDC_BUTTONS, position);
        form.SetListPosition(IDC_DEFBUTTON, position);
        form.SetListPosition(IDC_ICON, position);
        EXPECT_EQ(ComputeStyleValue(form), 0u) << position;
    }
    form.SetListPosition(IDC_BUTTONS, 3);
    form.SetListPosition(IDC_DEFBUTTON, 4);  // the Default button list has only 0..3
    form.SetListPosition(IDC_ICON, 4);
    EXPECT_EQ(ComputeStyleValue(form), 0x15u);
}

}  // namespace
}  // namespace pw

namespace pw {
namespace {

TEST(StyleValue, TakesTheNumbersAndConstantsOfOtherStyleAndPassesOverTheRest) {
    const struct {
        std::string other;
        std::uint32_t value;
    } cases[] = {
        {"", 0x4u},
        {"0x8000", 0x8004u},
        {"MB_NOFOCUS | uType | (MB_ICONSTOP) + 0x40L", 0x8054u},
        {"flags & 3 | etypes[i] | GetStyle(a | b) | MB_SERVICE_NOTIFICATION", 0x4u},
        {"MB_CANCELTRYCONTINUE | 060", 0x36u},
    };
    for (const auto& c : cases) {
        PlainForm form(Layout::Advanced);
        form.SetListPosition(IDC_BUTTONS, 4);  // MB_YESNO
        form.SetText(IDC_OTHERSTYLE, c.other);
        EXPECT_EQ(ComputeStyleValue(form), c.value) << c.other;
    }
}

}  // namespace
}  // namespace pw
