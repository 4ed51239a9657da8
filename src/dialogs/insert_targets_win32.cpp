#include "dialogs/insert_targets_win32.h"

#include "core/output/insertion.h"
#include "dialogs/insert_report_win32.h"

namespace pw {

void InsertIntoTargets(HWND owner, const AppSettings& settings, std::string_view code) {
    ForEachTargetFile(settings.targetFiles, settings.insertCopy, [&](const std::string& path, ClipboardMode mode) {
        InsertAndReport(owner, code, path, mode, settings.markers, settings.asciiFiles);
    });
}

}  // namespace pw
