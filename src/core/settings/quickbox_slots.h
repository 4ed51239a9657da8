// QuickBox slots as the settings file and the menu know them: the menu
// command of each slot's Load and Set item, and the form a statement is
// stored in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

// Slot n (1-based, in file order) is loaded by QuickBoxLoadCommand(n) and set
// by QuickBoxSetCommand(n). The first 99 slots keep the identifiers of the
// menu template's placeholders plus n; later slots use two wider ranges above
// every other identifier of the program, so no slot's command can fall into
// the other operation's range. Slots beyond kMaxMenuSlots are not in the menu
// (QuickInsert still lists every slot).
inline constexpr int kMaxMenuSlots = 24999;
int QuickBoxLoadCommand(int slot);
int QuickBoxSetCommand(int slot);

enum class QuickBoxOperation { Load, Set };
struct QuickBoxCommand {
    QuickBoxOperation operation;
    int slot;  // 1-based
};
// What a menu command does, when it is a slot's Load or Set item.
std::optional<QuickBoxCommand> QuickBoxCommandOf(int command);

// The value read when the key is missing; a stored value equal to it
// therefore loads as a missing slot.
inline constexpr char kMissingSlotValue[] = "NOT FOUND";

// The slot value as written to the settings file: line breaks dropped (a CR or
// LF would end the line in the file) and the rest wrapped in double quotes, so
// that the profile functions, which trim surrounding spaces and strip one pair
// of surrounding quotes when reading, give back exactly the statement.
std::string StoredSlotValue(std::string_view statement);

// The longest slot value the settings file gives back whole, measured under
// Wine: the profile functions are given at most 65,535 bytes for one value
// (Wine reads the size as 16 bits). A value cut at that size comes back as
// 65,534 characters, or 65,533 when it was quoted, so only a shorter one is
// surely whole.
inline constexpr std::size_t kLongestSlotValue = 65532;

// The longest slot line (name, '=' and the quoted value) the program writes:
// Wine's WritePrivateProfileStringA crashes on a value of 32,767 characters.
inline constexpr std::size_t kLongestSlotLine = 32766;

// Whether `statement` can be stored in the slot and read back whole.
bool FitsInSlot(std::string_view slot, std::string_view statement);

}  // namespace pw
