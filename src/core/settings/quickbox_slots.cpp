#include "core/settings/quickbox_slots.h"

#include "res/resource.h"

namespace pw {
namespace {

constexpr int kFirstRangeSlots = 99;
// Slots 100..kMaxMenuSlots: Load 10100..34999, Set 35100..59999. Both ranges
// lie above every control and menu identifier and below 65536, the limit of a
// WM_COMMAND identifier.
constexpr int kWideLoadBase = 10000;
constexpr int kWideSetBase = 35000;

// The slot `command` stands for in the range of one operation, or 0.
int SlotIn(int command, int firstBase, int wideBase) {
    if (command > firstBase && command <= firstBase + kFirstRangeSlots) return command - firstBase;
    if (command > wideBase + kFirstRangeSlots && command <= wideBase + kMaxMenuSlots) return command - wideBase;
    return 0;
}

}  // namespace

int QuickBoxLoadCommand(int slot) { return slot <= kFirstRangeSlots ? IDM_QUICKBOX_LOAD + slot : kWideLoadBase + slot; }

int QuickBoxSetCommand(int slot) { return slot <= kFirstRangeSlots ? IDM_QUICKBOX_SET + slot : kWideSetBase + slot; }

std::optional<QuickBoxCommand> QuickBoxCommandOf(int command) {
    if (int slot = SlotIn(command, IDM_QUICKBOX_LOAD, kWideLoadBase))
        return QuickBoxCommand{QuickBoxOperation::Load, slot};
    if (int slot = SlotIn(command, IDM_QUICKBOX_SET, kWideSetBase))
        return QuickBoxCommand{QuickBoxOperation::Set, slot};
    return std::nullopt;
}

std::string StoredSlotValue(std::string_view statement) {
    std::string value = "\"";
    value.reserve(statement.size() + 2);
    for (char c : statement)
        if (c != '\n' && c != '\r') value += c;
    value += '"';
    return value;
}

bool FitsInSlot(std::string_view slot, std::string_view statement) {
    return slot.size() + 1 + StoredSlotValue(statement).size() <= kLongestSlotLine;
}

}  // namespace pw
