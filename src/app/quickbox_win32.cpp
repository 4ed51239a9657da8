#include "app/quickbox_win32.h"

#include "app/dialog_form_win32.h"
#include "model/clear_form.h"

namespace pw {

// Placeholder until the slots are built: no slots.
void BuildQuickBoxMenu(HWND) {}
bool IsQuickBoxLoadCommand(int) { return false; }
bool IsQuickBoxSetCommand(int) { return false; }
std::string QuickBoxSlotName(HWND, int) { return {}; }

void LoadQuickBox(HWND form, const std::string&, const std::string&) {
    DialogForm dialog(form);
    ClearForm(dialog);
}

void StoreQuickBox(HWND, const std::string&, const std::string&) {}

}  // namespace pw
