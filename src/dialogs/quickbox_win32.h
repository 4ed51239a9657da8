// QuickBox slots: named statements in the settings file, offered by the main
// form's QuickBox menu.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pw {

// Menu commands of the slots. Slot n (1-based, in file order) is loaded by
// LoadCommand(n) and set by SetCommand(n). The first 99 slots keep the
// identifiers 4100 + n and 4200 + n; later slots use two wider ranges above
// every other identifier of the program, so no slot's command can fall into
// the other operation's range. Slots beyond kMaxMenuSlots are not in the menu
// (QuickInsert still lists every slot).
inline constexpr int kMaxMenuSlots = 24999;
int QuickBoxLoadCommand(int slot);
int QuickBoxSetCommand(int slot);

// Adds one Load and one Set item per slot to the form's menu, in file order,
// in place of the two placeholder items.
void BuildQuickBoxMenu(HWND form);
bool IsQuickBoxLoadCommand(int command);
bool IsQuickBoxSetCommand(int command);
// The slot name a Load or Set item carries (its whole menu text).
std::string QuickBoxSlotName(HWND form, int command);

// Clears the form, then loads the slot's statement; a missing slot (or one
// whose value is "NOT FOUND") leaves the form cleared, silently.
void LoadQuickBox(HWND form, const std::string& slot, const std::string& settingsPath);
// Writes the statement for the form into the slot, on one line.
void StoreQuickBox(HWND form, const std::string& slot, const std::string& settingsPath);

// The slot value as written to the settings file: line breaks dropped (a CR or
// LF would end the line in the file) and the rest wrapped in double quotes, so
// that the profile functions, which trim surrounding spaces and strip one pair
// of surrounding quotes when reading, give back exactly the statement.
std::string StoredSlotValue(std::string_view statement);

// Reads a slot's whole value; `fallback` when the slot does not exist.
std::string ReadQuickBoxSlot(const std::string& settingsPath, const std::string& slot,
                             const std::string& fallback);

}  // namespace pw
