#include "dialogs/quickbox_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/model/clear_form.h"
#include "core/settings/app_settings.h"
#include "core/settings/quickbox_slots.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/load_code_win32.h"
#include "dialogs/params_dialog_win32.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "dialogs/warning_win32.h"
#include "win32/quickbox_store_win32.h"
#include "win32/settings_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// The popup menu, at any depth under `menu`, that holds the item `command`.
HMENU SubMenuHolding(HMENU menu, UINT command) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == command) return menu;
        if (HMENU sub = GetSubMenu(menu, i))
            if (HMENU found = SubMenuHolding(sub, command)) return found;
    }
    return nullptr;
}

int PositionOf(HMENU menu, UINT command) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(menu, i) == command) return i;
    return count;
}

// Puts one item per slot in front of the placeholder `placeholder`, then
// removes the placeholder.
void ReplacePlaceholder(HMENU menu, UINT placeholder, const std::vector<std::string>& slots, int (*command)(int)) {
    HMENU popup = SubMenuHolding(menu, placeholder);
    if (popup == nullptr) return;
    const int first = PositionOf(popup, placeholder);
    const int count = std::min<int>(static_cast<int>(slots.size()), kMaxMenuSlots);
    for (int n = 1; n <= count; ++n) {
        std::wstring name = Utf16(slots[static_cast<std::size_t>(n - 1)]);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.fType = MFT_STRING;
        item.wID = static_cast<UINT>(command(n));
        item.dwTypeData = name.data();
        InsertMenuItemW(popup, static_cast<UINT>(first + n - 1), TRUE, &item);
    }
    DeleteMenu(popup, placeholder, MF_BYCOMMAND);
}

}  // namespace

void ReportTooLongSlot(HWND owner, const std::string& slot) {
    ShowWarning(owner, "QuickBox slot '" + slot + "' is too long to be read whole (more than " +
                           std::to_string(kLongestSlotValue) + " characters); it was not loaded");
}

void BuildQuickBoxMenu(HWND form, const std::string& settingsPath) {
    HMENU menu = GetMenu(form);
    if (menu == nullptr) return;
    const std::vector<std::string> slots = QuickBoxSlotNames(settingsPath);
    ReplacePlaceholder(menu, IDM_QUICKBOX_LOAD, slots, QuickBoxLoadCommand);
    ReplacePlaceholder(menu, IDM_QUICKBOX_SET, slots, QuickBoxSetCommand);
}

std::string QuickBoxSlotName(HWND form, int command) {
    HMENU menu = GetMenu(form);
    if (menu == nullptr) return {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(command), FALSE, &item)) return {};
    std::wstring name(item.cch + 1, L'\0');
    item.dwTypeData = name.data();
    item.cch = static_cast<UINT>(name.size());
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(command), FALSE, &item)) return {};
    name.resize(item.cch);
    return Utf8(name);
}

void LoadQuickBox(HWND form, const std::string& slot, AppContext& context) {
    SlotValue value = ReadQuickBoxSlot(context.settings.settingsPath, slot);
    if (value.state == SlotState::TooLong) {
        ReportTooLongSlot(form, slot);
        return;
    }
    // A task dialog goes to the designer and leaves the form as it is.
    if (value.state == SlotState::Found && HandsOverToDesigner(value.statement, context)) {
        LoadCodeIntoForm(form, value.statement, context);
        return;
    }
    DialogForm dialog(form);
    ClearForm(dialog);
    if (value.state == SlotState::Found) LoadCodeIntoForm(form, value.statement, context);
}

void StoreQuickBox(HWND form, const std::string& slot, AppContext& context) {
    if (slot.empty()) return;
    if (const std::optional<std::string> statement = GenerateFromDialog(form, context))
        StoreStatementInSlot(form, slot, *statement, context);
}

void StoreStatementInSlot(HWND owner, const std::string& slot, const std::string& statement,
                          const AppContext& context) {
    switch (WriteQuickBoxSlot(context.settings.settingsPath, slot, statement)) {
    case SlotWrite::Written: break;
    case SlotWrite::TooLong:
        ShowWarning(owner, "The statement is too long for a QuickBox slot (a slot holds at most " +
                               std::to_string(kLongestSlotLine - slot.size() - 3) + " characters); '" + slot +
                               "' was not changed");
        break;
    case SlotWrite::Failed: ShowWarning(owner, "Error while writing file"); break;
    }
}

}  // namespace pw
