// QuickBox slots as the settings file and the menu know them: the menu
// command of each slot's Load and Set item, and the form a statement is
// stored in.
#pragma once

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

}  // namespace pw
