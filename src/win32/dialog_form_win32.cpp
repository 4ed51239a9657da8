#include "win32/dialog_form_win32.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "core/model/option_tables.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/dpi_win32.h"
#include "win32/text_win32.h"

namespace pw {

std::string WindowText(HWND window) {
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    // One unit of room beyond the length tells a whole text from one that grew
    // in between and was cut: then read again with more room.
    std::wstring text;
    for (std::size_t room = static_cast<std::size_t>(length) + 2; room < (1u << 30); room *= 2) {
        text.assign(room, L'\0');
        const int got = GetWindowTextW(window, text.data(), static_cast<int>(room));
        if (got <= 0) return {};
        if (static_cast<std::size_t>(got) + 1 < room) {
            text.resize(static_cast<std::size_t>(got));
            return Utf8(text);
        }
    }
    return {};
}

std::string DialogForm::Text(int id) const { return WindowText(GetDlgItem(dialog_, id)); }

void DialogForm::SetText(int id, std::string_view text) {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return;
    SetWindowTextW(control, Wide(text).c_str());
}

int DialogForm::ListPosition(int id) const {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return 0;
    return static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
}

void DialogForm::SetListPosition(int id, int position) {
    HWND control = GetDlgItem(dialog_, id);
    if (control == nullptr) return;
    // Windows clears the selection for any position the list lacks; Wine only
    // for -1, keeping the old one otherwise. Say -1 then, so both agree.
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    if (position < 0 || position >= count) position = -1;
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

bool DialogForm::IsChecked(int id) const {
    return GetDlgItem(dialog_, id) != nullptr && IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void DialogForm::SetChecked(int id, bool checked) {
    if (GetDlgItem(dialog_, id) != nullptr) CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void DialogForm::CheckRadio(int first, int last, int id) {
    if (GetDlgItem(dialog_, id) != nullptr) CheckRadioButton(dialog_, first, last, id);
}

void DialogForm::UpdateIconPreview() { pw::UpdateIconPreview(dialog_); }

namespace {

// What the preview control shows, made for its DPI; owned by the control
// (a property, and the data of a subclass that frees it with the control).
struct IconPreview {
    UINT dpi = 0;
    LRESULT position = -1;  // of the icon list, when `icon` was made
    SizedIcon icon;
};

constexpr UINT_PTR kIconPreviewSubclass = 1;
constexpr wchar_t kIconPreviewProp[] = L"Promptwright.IconPreview";

LRESULT CALLBACK IconPreviewProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, IconPreviewProc, kIconPreviewSubclass);
        RemovePropW(control, kIconPreviewProp);
        delete reinterpret_cast<IconPreview*>(data);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

IconPreview* PreviewOf(HWND control) {
    if (auto* preview = static_cast<IconPreview*>(GetPropW(control, kIconPreviewProp))) return preview;
    auto* preview = new IconPreview;
    preview->dpi = WindowDpi(control);
    if (!SetWindowSubclass(control, IconPreviewProc, kIconPreviewSubclass, reinterpret_cast<DWORD_PTR>(preview))) {
        delete preview;
        return nullptr;
    }
    SetPropW(control, kIconPreviewProp, preview);
    return preview;
}

void ShowIconPreview(HWND form, bool remake) {
    HWND control = GetDlgItem(form, IDC_ICONPREVIEW);
    IconPreview* preview = control != nullptr ? PreviewOf(control) : nullptr;
    if (preview == nullptr) return;
    const LRESULT position = SendDlgItemMessageW(form, IDC_ICON, CB_GETCURSEL, 0, 0);
    // Called on every activation: the same icon at the same DPI stays.
    if (!remake && position == preview->position) return;
    SizedIcon icon;
    if (position > 0 && position < static_cast<LRESULT>(kIconPreviewIds.size()))
        icon = LoadIconForDpi(nullptr, MAKEINTRESOURCEW(kIconPreviewIds[static_cast<std::size_t>(position)]), SM_CXICON,
                              preview->dpi);
    SendMessageW(control, STM_SETICON, 0, 0);
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    preview->icon = std::move(icon);  // the one shown before is no longer in use
    if (position != preview->position) {
        // An image has no text of its own for a screen reader to give.
        const bool listed = position > 0 && position < static_cast<LRESULT>(kIcons.size());
        const std::string_view shown = listed ? kIcons[static_cast<std::size_t>(position)].text : "none";
        NameForScreenReaders(control, "Icon preview: " + std::string(shown));
    }
    preview->position = position;
}

}  // namespace

void UpdateIconPreview(HWND form) { ShowIconPreview(form, false); }

void SetIconPreviewDpi(HWND form, UINT dpi) {
    HWND control = GetDlgItem(form, IDC_ICONPREVIEW);
    IconPreview* preview = control != nullptr ? PreviewOf(control) : nullptr;
    if (preview == nullptr || preview->dpi == dpi) return;
    preview->dpi = dpi;
    ShowIconPreview(form, true);
}

}  // namespace pw
