#include "win32/dialog_form_win32.h"

#include <string>

#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {

std::string WindowText(HWND window) {
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::string DialogForm::Text(int id) const { return WindowText(GetDlgItem(dialog_, id)); }

void DialogForm::SetText(int id, std::string_view text) {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return;
    const std::string terminated(text);
    SetWindowTextA(control, terminated.c_str());
}

int DialogForm::ListPosition(int id) const {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return 0;
    return static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
}

void DialogForm::SetListPosition(int id, int position) {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return;
    // Windows clears the selection for any position the list lacks; Wine only
    // for -1, keeping the old one otherwise. Say -1 then, so both agree.
    const LRESULT count = SendMessageA(control, CB_GETCOUNT, 0, 0);
    if (position < 0 || position >= count) position = -1;
    SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

bool DialogForm::IsChecked(int id) const {
    return GetDlgItem(dialog_, id) != nullptr && IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void DialogForm::SetChecked(int id, bool checked) {
    if (GetDlgItem(dialog_, id) != nullptr)
        CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogForm::CheckRadio(int first, int last, int id) {
    if (GetDlgItem(dialog_, id) != nullptr) CheckRadioButton(dialog_, first, last, id);
}

void DialogForm::UpdateIconPreview() { pw::UpdateIconPreview(dialog_); }

void UpdateIconPreview(HWND form) {
    const LRESULT position = SendDlgItemMessageA(form, IDC_ICON, CB_GETCURSEL, 0, 0);
    HICON icon = nullptr;
    if (position > 0 && position < static_cast<LRESULT>(kIconPreviewIds.size()))
        icon = LoadIconA(nullptr, MAKEINTRESOURCEA(kIconPreviewIds[static_cast<std::size_t>(position)]));
    // System icons are shared: nothing to free when the preview changes.
    SendDlgItemMessageA(form, IDC_ICONPREVIEW, STM_SETICON, 0, 0);
    SendDlgItemMessageA(form, IDC_ICONPREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

}  // namespace pw
