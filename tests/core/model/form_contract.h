// What every Form must do, whatever holds the controls: run over PlainForm
// natively and over DialogForm on a real main form under Wine, so that the
// core's tests on PlainForm speak for the dialog too.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/clear_form.h"
#include "core/model/form.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw::test {

// `form` shows the main form of `layout` with `parents` in its Parent list.
inline void ExpectFormContract(Form& form, Layout layout, const std::vector<std::string>& parents) {
    const bool advanced = layout == Layout::Advanced;
    ClearForm(form);
    EXPECT_EQ(form.ListPosition(IDC_BUTTONS), kClearButtons);
    EXPECT_EQ(form.ListPosition(IDC_DEFBUTTON), kClearDefButton);
    EXPECT_EQ(form.ListPosition(IDC_ICON), kClearIcon);
    EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), advanced ? kClearLanguage : 0);
    EXPECT_EQ(form.Text(IDC_PARENT), parents.empty() ? "" : parents[0]);
    EXPECT_EQ(form.Text(IDC_TITLE), "");
    EXPECT_EQ(form.IsChecked(IDC_APPLMODAL), advanced);
    EXPECT_TRUE(form.IsChecked(IDC_TYPE_BOX));

    // Texts come back whole, of any length.
    const std::string longText(20000, 'x');
    for (int id : {IDC_TITLE, IDC_TEXT, IDC_PARENT})
        for (const std::string& text : {std::string("a \"quoted\" \\ text"), longText, std::string()}) {
            form.SetText(id, text);
            EXPECT_EQ(form.Text(id), text) << id;
        }
    form.SetText(IDC_TEXT, "line 1\r\nline 2");
    EXPECT_EQ(form.Text(IDC_TEXT), "line 1\r\nline 2");

    // Every position a list has reads back; any other leaves no selection.
    struct List {
        int id, size;
    };
    for (List list : {List{IDC_BUTTONS, 6}, List{IDC_DEFBUTTON, 4}, List{IDC_ICON, 6},
                      List{IDC_PARENT, static_cast<int>(parents.size())}}) {
        for (int position = 0; position < list.size; ++position) {
            form.SetListPosition(list.id, position);
            EXPECT_EQ(form.ListPosition(list.id), position) << list.id;
        }
        for (int outside : {list.size, list.size + 7, -1}) {
            form.SetListPosition(list.id, outside);
            EXPECT_EQ(form.ListPosition(list.id), -1) << list.id << " at " << outside;
        }
    }
    // Choosing a parent puts its text in the edit field.
    if (parents.size() > 1) {
        form.SetListPosition(IDC_PARENT, 1);
        EXPECT_EQ(form.Text(IDC_PARENT), parents[1]);
    }

    for (const CheckEntry& flag : kFlags) {
        const bool present = advanced || (flag.control != IDC_SERVICE && flag.control != IDC_SERVICE_NT3X);
        form.SetChecked(flag.control, true);
        EXPECT_EQ(form.IsChecked(flag.control), present) << flag.constant;
        form.SetChecked(flag.control, false);
        EXPECT_FALSE(form.IsChecked(flag.control)) << flag.constant;
    }

    // One radio button of a group at a time; one the layout lacks changes nothing.
    for (int id : {IDC_TYPE_INDIRECT, IDC_TYPE_BOXEX, IDC_TYPE_BOX}) {
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, id);
        for (int other : {IDC_TYPE_BOX, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT})
            EXPECT_EQ(form.IsChecked(other),
                      other == id ? (advanced || id == IDC_TYPE_BOX) : (!advanced && other == IDC_TYPE_BOX))
                << id << ' ' << other;
    }
    for (const CheckEntry& modality : kModalities) {
        form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, modality.control);
        for (const CheckEntry& other : kModalities)
            EXPECT_EQ(form.IsChecked(other.control), advanced && other.control == modality.control);
    }

    // Controls the layout lacks read as empty, position 0 and unchecked, and ignore sets.
    if (!advanced) {
        form.SetText(IDC_CODE, "MessageBox(NULL, \"\", \"\", MB_OK);");
        form.SetListPosition(IDC_LANGUAGE, 5);
        EXPECT_EQ(form.Text(IDC_CODE), "");
        EXPECT_EQ(form.ListPosition(IDC_LANGUAGE), 0);
    }
}

}  // namespace pw::test
