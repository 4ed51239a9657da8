#include "dialogs/code_menu_win32.h"

#include <string>

#include "core/settings/app_settings.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/warning_win32.h"
#include "res/resource.h"
#include "win32/settings_win32.h"

namespace pw {

namespace {

// Every item of a group looks like a radio button, checked or not; the
// resource compiler cannot say so.
void MakeRadioItems(HMENU menu, int first, int last) {
    for (int id = first; id <= last; ++id) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &item)) continue;
        item.fType |= MFT_RADIOCHECK;
        SetMenuItemInfoW(menu, static_cast<UINT>(id), FALSE, &item);
    }
}

}  // namespace

void ShowCodeOptions(HWND form, const AppContext& context) {
    HMENU menu = GetMenu(form);
    if (menu == nullptr) return;
    MakeRadioItems(menu, IDM_CHARSET_ANSI, IDM_CHARSET_WIDE);
    MakeRadioItems(menu, IDM_ANSWER_NONE, IDM_ANSWER_SWITCH);
    CheckMenuRadioItem(menu, IDM_CHARSET_ANSI, IDM_CHARSET_WIDE,
                       IDM_CHARSET_ANSI + SettingValue(context.codeOptions.characterSet), MF_BYCOMMAND);
    CheckMenuRadioItem(menu, IDM_ANSWER_NONE, IDM_ANSWER_SWITCH,
                       IDM_ANSWER_NONE + SettingValue(context.codeOptions.answer), MF_BYCOMMAND);
}

void ChooseCodeOptions(HWND form, AppContext& context, CodeOptions options) {
    context.codeOptions = options;
    ShowCodeOptions(form, context);
    const std::string& file = context.settings.settingsPath;
    // The choice stays in force for this run even when it cannot be kept.
    const bool written = WriteProfileValues(
        file, {{kSettingsSection, kCharacterSetKey, std::to_string(SettingValue(options.characterSet))},
               {kSettingsSection, kAnswerHandlingKey, std::to_string(SettingValue(options.answer))}});
    if (!written) ShowWarning(form, "Error while writing file");
}

bool CodeOptionsOfCommand(int command, CodeOptions& options) {
    if (command >= IDM_CHARSET_ANSI && command <= IDM_CHARSET_WIDE) {
        options.characterSet = CharacterSetFromSetting(command - IDM_CHARSET_ANSI);
        return true;
    }
    if (command >= IDM_ANSWER_NONE && command <= IDM_ANSWER_SWITCH) {
        options.answer = AnswerHandlingFromSetting(command - IDM_ANSWER_NONE);
        return true;
    }
    return false;
}

}  // namespace pw
