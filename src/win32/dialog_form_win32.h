// The form interface over the controls of a live main form dialog.
#pragma once

#include <windows.h>

#include "core/model/form.h"

namespace pw {

class DialogForm : public Form {
public:
    explicit DialogForm(HWND dialog) : dialog_(dialog) {}
    HWND window() const { return dialog_; }

    std::string Text(int id) const override;
    void SetText(int id, std::string_view text) override;
    int ListPosition(int id) const override;
    void SetListPosition(int id, int position) override;
    bool IsChecked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void CheckRadio(int first, int last, int id) override;
    void UpdateIconPreview() override;
    bool HasControl(int id) const override { return GetDlgItem(dialog_, id) != nullptr; }

private:
    HWND dialog_;
};

// Shows the system icon for the form's icon list position (none for 0), at
// the size the system gives icons at the form's DPI. The icon belongs to the
// preview control and goes with it.
void UpdateIconPreview(HWND form);

// The preview is shown for `dpi` from now on (WM_DPICHANGED), and at once.
void SetIconPreviewDpi(HWND form, UINT dpi);

// The whole text of a window, however long.
std::string WindowText(HWND window);

}  // namespace pw
