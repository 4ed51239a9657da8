// QuickBox slots: named statements in the settings file, offered by the main
// form's QuickBox menu.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

// Adds one Load and one Set item per slot to the form's menu.
void BuildQuickBoxMenu(HWND form);
// Which slot a menu command names; empty when the command is no slot item.
bool IsQuickBoxLoadCommand(int command);
bool IsQuickBoxSetCommand(int command);
std::string QuickBoxSlotName(HWND form, int command);

void LoadQuickBox(HWND form, const std::string& slot, const std::string& settingsPath);
void StoreQuickBox(HWND form, const std::string& slot, const std::string& settingsPath);

}  // namespace pw
