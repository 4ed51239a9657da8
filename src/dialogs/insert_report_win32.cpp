#include "dialogs/insert_report_win32.h"

#include "dialogs/warning_win32.h"
#include "win32/insert_source_win32.h"

namespace pw {

bool ReportInsertOutcome(HWND owner, InsertOutcome outcome, std::string_view code, ClipboardMode mode,
                         const std::optional<std::string>& fileText, const std::string& path) {
    bool copied = true;
    if (mode == ClipboardMode::CopyFile && fileText) copied = CopyOrWarn(owner, *fileText);
    switch (outcome) {
    case InsertOutcome::Inserted: break;
    case InsertOutcome::InsertedInPlace: ShowWarning(owner, path + ": " + std::string(kInPlaceNote)); break;
    case InsertOutcome::OpenFailed: ShowWarning(owner, "Error while opening file"); break;
    case InsertOutcome::ReadFailed: ShowWarning(owner, "Error while reading file"); break;
    case InsertOutcome::WriteFailed: ShowWarning(owner, "Error while writing file"); break;
    case InsertOutcome::WriteFailedDamaged:
        ShowWarning(owner, path + ": Error while writing file; the file may be damaged");
        break;
    case InsertOutcome::Unencodable:
        ShowWarning(owner, "Error while writing file: " + UnencodableReason(code) + "; the file is unchanged");
        break;
    case InsertOutcome::NoMarker:
        if (mode == ClipboardMode::Ask) {
            if (MessageBoxW(owner, L"There is no MessageBox insertion code found\nCopy the code to the clipboard?",
                            L"Copy to clipboard?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
                copied = CopyOrWarn(owner, code);
            }
        } else if (mode == ClipboardMode::CopyCode) {
            copied = CopyOrWarn(owner, code);
        }
        break;
    }
    return copied;
}

bool InsertAndReport(HWND owner, std::string_view code, const std::string& path, ClipboardMode mode,
                     std::span<const std::string> markers, AsciiFileEncoding asciiFiles) {
    std::optional<std::string> fileText;
    const InsertOutcome outcome =
        InsertInSource(code, path, markers, asciiFiles, mode == ClipboardMode::CopyFile ? &fileText : nullptr);
    return ReportInsertOutcome(owner, outcome, code, mode, fileText, path);
}

}  // namespace pw
