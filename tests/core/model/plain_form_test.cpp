#include "core/model/plain_form.h"

#include <gtest/gtest.h>

#include "core/model/form_contract.h"
#include "res/resource.h"

namespace pw {
namespace {

TEST(PlainForm, StartsInTheClearState) {
    PlainForm form(Layout::Advanced);
    EXPECT_EQ(form.ListPosition(IDC_BUTTONS), 1);
    EXPECT_EQ(form.ListPosition(IDC_DEFBUTTON), 0);
    EXPECT_EQ(form.ListPosition(IDC_ICON), 0);
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), 1);
    EXPECT_EQ(form.Text(IDC_PARENT), "GetActiveWindow()");
    EXPECT_TRUE(form.IsChecked(IDC_APPLMODAL));
    EXPECT_TRUE(form.IsChecked(IDC_TYPE_BOX));
    EXPECT_FALSE(form.IsChecked(IDC_TOPMOST));
    EXPECT_EQ(form.iconPreviewUpdates, 1);
}

TEST(PlainForm, ControlsMissingFromTheLayoutReadAsEmptyAndIgnoreSets) {
    PlainForm form(Layout::Simple);
    form.SetText(IDC_CODE, "MessageBox(NULL, \"\", \"\", MB_OK);");
    form.SetChecked(IDC_SERVICE, true);
    form.SetListPosition(IDC_LANGUAGE, 5);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX);
    EXPECT_EQ(form.Text(IDC_CODE), "");
    EXPECT_FALSE(form.IsChecked(IDC_SERVICE));
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), 0);
    EXPECT_FALSE(form.IsChecked(IDC_APPLMODAL));
    // A radio the layout lacks leaves the group as it was.
    EXPECT_TRUE(form.IsChecked(IDC_TYPE_BOX));
}

TEST(PlainForm, PositionsAListDoesNotHaveLeaveNoSelection) {
    PlainForm form(Layout::Advanced, {"NULL"});
    form.SetListPosition(IDC_ICON, 6);
    EXPECT_EQ(form.ListPosition(IDC_ICON), -1);
    form.SetListPosition(IDC_PARENT, 1);
    EXPECT_EQ(form.ListPosition(IDC_PARENT), -1);
    form.SetListPosition(IDC_LANGUAGE, 105);
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), 105);
}

TEST(PlainForm, KeepsTheFormContractInBothLayouts) {
    for (Layout layout : {Layout::Simple, Layout::Advanced}) {
        SCOPED_TRACE(layout == Layout::Simple ? "simple" : "advanced");
        PlainForm form(layout, {"GetActiveWindow()", "NULL", "hWnd"});
        test::ExpectFormContract(form, layout, {"GetActiveWindow()", "NULL", "hWnd"});
    }
}

}  // namespace
}  // namespace pw
