// QuickBox slots in the main form: its QuickBox menu, and slots loaded into
// and set from the form.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

struct AppContext;

// Adds one Load and one Set item per slot of the settings file to the form's
// menu, in file order, in place of the two placeholder items.
void BuildQuickBoxMenu(HWND form, const std::string& settingsPath);

// The slot name a Load or Set item carries (its whole menu text).
std::string QuickBoxSlotName(HWND form, int command);

// Clears the form, then loads the slot's statement; a missing slot (or one
// whose value is "NOT FOUND") leaves the form cleared, silently. A slot too
// long to be read whole is not loaded: the user is told, the form kept.
void LoadQuickBox(HWND form, const std::string& slot, AppContext& context);
// Writes the statement for the form into the slot, on one line; a text the
// string mode cannot hold, or a statement that could not be read back whole,
// is refused, saying why.
void StoreQuickBox(HWND form, const std::string& slot, AppContext& context);

// Writes `statement` (lines ended by '\n') into the slot, on one line; one
// that could not be read back whole is refused, saying why in a box owned by
// `owner`.
void StoreStatementInSlot(HWND owner, const std::string& slot, const std::string& statement, const AppContext& context);

// Tells the user, in a box owned by `owner`, that a slot was too long to be
// read whole and was not used.
void ReportTooLongSlot(HWND owner, const std::string& slot);

}  // namespace pw
