#include "dialogs/quickbox_win32.h"

#include <algorithm>
#include <vector>

#include "core/settings/app_settings.h"
#include "win32/dialog_form_win32.h"
#include "dialogs/globals_win32.h"
#include "win32/settings_win32.h"
#include "dialogs/params_dialog_win32.h"
#include "dialogs/load_code_win32.h"
#include "core/model/clear_form.h"
#include "res/resource.h"

namespace pw {
namespace {

// The slot value read when the key is missing; a stored value equal to it
// therefore loads as a missing slot.
constexpr char kNotFound[] = "NOT FOUND";

// Slots 1..99 keep the identifiers of the menu template's placeholders plus n.
constexpr int kFirstRangeSlots = 99;
// Slots 100..kMaxMenuSlots: Load 10100..34999, Set 35100..59999. Both ranges
// lie above every control and menu identifier and below 65536, the limit of a
// WM_COMMAND identifier.
constexpr int kWideLoadBase = 10000;
constexpr int kWideSetBase = 35000;

bool InRange(int command, int base, int firstSlot, int lastSlot) {
    return command >= base + firstSlot && command <= base + lastSlot;
}

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
void ReplacePlaceholder(HMENU menu, UINT placeholder, const std::vector<std::string>& slots,
                        int (*command)(int)) {
    HMENU popup = SubMenuHolding(menu, placeholder);
    if (popup == nullptr) return;
    const int first = PositionOf(popup, placeholder);
    const int count = std::min<int>(static_cast<int>(slots.size()), kMaxMenuSlots);
    for (int n = 1; n <= count; ++n) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.fType = MFT_STRING;
        item.wID = static_cast<UINT>(command(n));
        item.dwTypeData = const_cast<char*>(slots[static_cast<std::size_t>(n - 1)].c_str());
        InsertMenuItemA(popup, static_cast<UINT>(first + n - 1), TRUE, &item);
    }
    DeleteMenu(popup, placeholder, MF_BYCOMMAND);
}

}  // namespace

int QuickBoxLoadCommand(int slot) {
    return slot <= kFirstRangeSlots ? IDM_QUICKBOX_LOAD + slot : kWideLoadBase + slot;
}

int QuickBoxSetCommand(int slot) {
    return slot <= kFirstRangeSlots ? IDM_QUICKBOX_SET + slot : kWideSetBase + slot;
}

bool IsQuickBoxLoadCommand(int command) {
    return InRange(command, IDM_QUICKBOX_LOAD, 1, kFirstRangeSlots) ||
           InRange(command, kWideLoadBase, kFirstRangeSlots + 1, kMaxMenuSlots);
}

bool IsQuickBoxSetCommand(int command) {
    return InRange(command, IDM_QUICKBOX_SET, 1, kFirstRangeSlots) ||
           InRange(command, kWideSetBase, kFirstRangeSlots + 1, kMaxMenuSlots);
}

void BuildQuickBoxMenu(HWND form) {
    HMENU menu = GetMenu(form);
    if (menu == nullptr) return;
    const std::vector<std::string> slots =
        ReadProfileKeys(appSettings.settingsPath, kQuickBoxSection);
    ReplacePlaceholder(menu, IDM_QUICKBOX_LOAD, slots, QuickBoxLoadCommand);
    ReplacePlaceholder(menu, IDM_QUICKBOX_SET, slots, QuickBoxSetCommand);
}

std::string QuickBoxSlotName(HWND form, int command) {
    HMENU menu = GetMenu(form);
    if (menu == nullptr) return {};
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(command), FALSE, &item)) return {};
    std::string name(item.cch + 1, '\0');
    item.dwTypeData = name.data();
    item.cch = static_cast<UINT>(name.size());
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(command), FALSE, &item)) return {};
    name.resize(item.cch);
    return name;
}

std::string StoredSlotValue(std::string_view statement) {
    std::string value = "\"";
    value.reserve(statement.size() + 2);
    for (char c : statement)
        if (c != '\n' && c != '\r') value += c;
    value += '"';
    return value;
}

std::string ReadQuickBoxSlot(const std::string& settingsPath, const std::string& slot,
                             const std::string& fallback) {
    // An empty key name would make the profile functions list the section.
    if (slot.empty()) return fallback;
    return ReadProfileString(settingsPath, kQuickBoxSection, slot, fallback);
}

void LoadQuickBox(HWND form, const std::string& slot, const std::string& settingsPath) {
    DialogForm dialog(form);
    ClearForm(dialog);
    const std::string code = ReadQuickBoxSlot(settingsPath, slot, kNotFound);
    if (code == kNotFound) return;
    LoadCodeIntoForm(form, code);
}

void StoreQuickBox(HWND form, const std::string& slot, const std::string& settingsPath) {
    if (slot.empty()) return;
    WriteProfileString(settingsPath, kQuickBoxSection, slot,
                       StoredSlotValue(GenerateFromDialog(form)));
}

}  // namespace pw
