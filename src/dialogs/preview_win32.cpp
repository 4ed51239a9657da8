#include "dialogs/preview_win32.h"

#include <string>

#include "core/codegen/style_value.h"
#include "core/model/option_tables.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "win32/text_win32.h"

namespace pw {

void PreviewMessageBox(HWND form) {
    const DialogForm dialog(form);
    // Shown as typed, every character, whatever the string mode: a variable's
    // name is the text, escapes stay literal.
    const std::wstring text = Utf16(dialog.Text(IDC_TEXT));
    const std::wstring title = Utf16(dialog.Text(IDC_TITLE));

    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = GetActiveWindow();
    params.lpszText = text.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = ComputeStyleValue(dialog);
    // The user's own icon exists only in the user's program; stand in for it.
    params.lpszIcon =
        dialog.IsChecked(IDC_TYPE_INDIRECT) ? MAKEINTRESOURCEW(kIconPreviewIds[kUserIconPosition]) : nullptr;
    if (MessageBoxIndirectW(&params) == 0)
        MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), ComputeStyleValue(dialog));
}

}  // namespace pw
