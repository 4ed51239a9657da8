#include "dialogs/insert_targets_win32.h"

#include "core/output/insertion.h"
#include "win32/insert_source_win32.h"

namespace pw {

void InsertIntoTargets(HWND owner, const AppSettings& settings, std::string_view code) {
    ForEachTargetFile(settings.targetFiles, settings.insertCopy, [&](const std::string& path, ClipboardMode mode) {
        InsertInSource(owner, code, path, static_cast<int>(mode), settings.markers);
    });
}

}  // namespace pw
