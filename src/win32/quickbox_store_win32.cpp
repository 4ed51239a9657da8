#include "win32/quickbox_store_win32.h"

#include "core/settings/app_settings.h"
#include "core/settings/quickbox_slots.h"
#include "win32/settings_win32.h"
#include "win32/text_win32.h"

namespace pw {

SlotValue ReadQuickBoxSlot(const std::string& settingsPath, const std::string& slot) {
    // An empty key name would make the profile functions list the section.
    if (slot.empty()) return {};
    std::string value = ReadProfileString(settingsPath, kQuickBoxSection, slot, kMissingSlotValue);
    if (value == kMissingSlotValue) return {};
    // The profile functions cut at a count of UTF-16 units, not of bytes.
    if (value.size() > kLongestSlotValue && Utf16(value).size() > kLongestSlotValue) return {SlotState::TooLong, {}};
    return {SlotState::Found, std::move(value)};
}

std::vector<std::string> QuickBoxSlotNames(const std::string& settingsPath) {
    return ReadProfileKeys(settingsPath, kQuickBoxSection);
}

SlotWrite WriteQuickBoxSlot(const std::string& settingsPath, const std::string& slot, const std::string& statement) {
    if (!FitsInSlot(slot, statement)) return SlotWrite::TooLong;
    return WriteProfileValue(settingsPath, kQuickBoxSection, slot, StoredSlotValue(statement)) ? SlotWrite::Written
                                                                                               : SlotWrite::Failed;
}

}  // namespace pw
