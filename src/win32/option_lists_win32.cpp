#include "win32/option_lists_win32.h"

#include <algorithm>
#include <string>

#include "core/model/option_tables.h"
#include "res/resource.h"
#include "win32/dpi_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

void Add(HWND form, int id, std::string_view text) {
    SendDlgItemMessageW(form, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

}  // namespace

void FillOptionLists(HWND form, Layout layout, const std::vector<std::string>& parents) {
    // The sorted lists place these; the positions the other code relies on are
    // the sorted ones.
    for (auto text : kButtonSetAddOrder) Add(form, IDC_BUTTONS, text);
    SendDlgItemMessageW(form, IDC_BUTTONS, CB_SETCURSEL, 1, 0);
    for (auto text : kDefaultButtonAddOrder) Add(form, IDC_DEFBUTTON, text);
    SendDlgItemMessageW(form, IDC_DEFBUTTON, CB_SETCURSEL, 0, 0);
    for (const ListEntry& icon : kIcons) Add(form, IDC_ICON, icon.text);
    SendDlgItemMessageW(form, IDC_ICON, CB_SETCURSEL, 0, 0);

    if (layout == Layout::Advanced) {
        // Insertion at a position does not sort, so position i shows row i
        // although the template gives the list the sorted style.
        for (int row = kLanguageCount - 1; row >= 0; --row) {
            const std::wstring name = Wide(kLanguages[static_cast<std::size_t>(row)].name);
            SendDlgItemMessageW(form, IDC_LANGUAGE, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        SendDlgItemMessageW(form, IDC_LANGUAGE, CB_SETCURSEL, kClearLanguage, 0);
        CheckRadioButton(form, IDC_APPLMODAL, IDC_TASKMODAL, IDC_APPLMODAL);
        CheckRadioButton(form, IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX);
    }

    for (const std::string& parent : parents) Add(form, IDC_PARENT, parent);
    SendDlgItemMessageW(form, IDC_PARENT, CB_SETCURSEL, 1, 0);
}

void FitDroppedWidth(HWND combo) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR) return;
    const WindowDC dc(combo);
    if (dc.Get() == nullptr) return;
    const ScopedSelect font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    std::wstring item;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) continue;
        item.assign(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        SIZE size{};
        if (GetTextExtentPoint32W(dc.Get(), item.c_str(), static_cast<int>(length), &size))
            widest = std::max(widest, size.cx);
    }
    // The list's scroll bar and border, and the margin the items are drawn with.
    const UINT dpi = WindowDpi(combo);
    widest += SystemMetricForDpi(SM_CXVSCROLL, dpi) + 2 * SystemMetricForDpi(SM_CXEDGE, dpi) + ScaleForDpi(8, dpi);
    RECT box{};
    GetWindowRect(combo, &box);
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(widest, box.right - box.left)), 0);
}

}  // namespace pw
