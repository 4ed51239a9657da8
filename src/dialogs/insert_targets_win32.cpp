#include "dialogs/insert_targets_win32.h"

#include "core/output/insertion.h"
#include "dialogs/insert_report_win32.h"

namespace pw {

bool InsertIntoTargets(HWND owner, const AppSettings& settings, std::string_view code) {
    bool copied = true;
    ForEachTargetFile(settings.targetFiles, settings.insertCopy, [&](const std::string& path, ClipboardMode mode) {
        if (!InsertAndReport(owner, code, path, mode, settings.markers, settings.asciiFiles)) copied = false;
    });
    return copied;
}

}  // namespace pw
