#include "core/model/clear_form.h"

#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {

void ClearForm(Form& form) {
    form.SetListPosition(IDC_BUTTONS, kClearButtons);
    form.SetListPosition(IDC_DEFBUTTON, kClearDefButton);
    form.SetListPosition(IDC_ICON, kClearIcon);
    form.SetListPosition(IDC_LANGUAGE, kClearLanguage);
    form.SetListPosition(IDC_PARENT, kClearParent);

    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, IDC_APPLMODAL);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX);

    for (int id : {IDC_HELPBUTTON, IDC_RIGHT, IDC_RTLREADING, IDC_SETFOREGROUND, IDC_DEFAULTDESKTOP, IDC_TOPMOST,
                   IDC_SERVICE, IDC_SERVICE_NT3X, IDC_TITLEVAR, IDC_TEXTVAR})
        form.SetChecked(id, false);

    form.SetText(IDC_TITLE, "");
    form.SetText(IDC_TEXT, "");
    form.SetText(IDC_OTHERSTYLE, "");

    form.UpdateIconPreview();
}

}  // namespace pw
