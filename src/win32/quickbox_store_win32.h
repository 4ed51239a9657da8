// QuickBox slots in the settings file, read and written whole or not at all.
#pragma once

#include <string>
#include <vector>

namespace pw {

enum class SlotState {
    Found,
    Missing,  // no such key (or the value "NOT FOUND")
    TooLong,  // longer than the profile functions give back whole
};

struct SlotValue {
    SlotState state = SlotState::Missing;
    std::string statement;  // when Found
};

SlotValue ReadQuickBoxSlot(const std::string& settingsPath, const std::string& slot);

// The slot names in file order.
std::vector<std::string> QuickBoxSlotNames(const std::string& settingsPath);

enum class SlotWrite { Written, TooLong, Failed };

// Stores the statement on one line; refuses one that could not be read back
// whole, leaving the slot as it was.
SlotWrite WriteQuickBoxSlot(const std::string& settingsPath, const std::string& slot, const std::string& statement);

}  // namespace pw
