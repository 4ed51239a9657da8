#include "dialogs/insert_targets_win32.h"

#include "core/output/insertion.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/edit_call_win32.h"
#include "dialogs/insert_report_win32.h"

namespace pw {

bool InsertIntoTargets(HWND owner, const AppContext& context, std::string_view code) {
    if (context.edit) return ReplaceEditedCall(owner, context, code);
    const AppSettings& settings = context.settings;
    bool copied = true;
    ForEachTargetFile(settings.targetFiles, settings.insertCopy, [&](const std::string& path, ClipboardMode mode) {
        if (!InsertAndReport(owner, code, path, mode, settings.markers, settings.asciiFiles)) copied = false;
    });
    return copied;
}

}  // namespace pw
