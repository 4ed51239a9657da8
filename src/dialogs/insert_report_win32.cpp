#include "dialogs/insert_report_win32.h"

#include "dialogs/warning_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/insert_source_win32.h"

namespace pw {

void ReportInsertOutcome(HWND owner, InsertOutcome outcome, std::string_view code, ClipboardMode mode,
                         const std::optional<std::string>& fileText) {
    // Like every clipboard failure, a text too large to copy is passed over.
    if (mode == ClipboardMode::CopyFile && fileText) CopyToClipboard(owner, *fileText);
    switch (outcome) {
    case InsertOutcome::Inserted: break;
    case InsertOutcome::OpenFailed: ShowWarning(owner, "Error while opening file"); break;
    case InsertOutcome::ReadFailed: ShowWarning(owner, "Error while reading file"); break;
    case InsertOutcome::WriteFailed: ShowWarning(owner, "Error while writing file"); break;
    case InsertOutcome::Unencodable:
        ShowWarning(owner, "Error while writing file: " + UnencodableReason(code) + "; the file is unchanged");
        break;
    case InsertOutcome::NoMarker:
        if (mode == ClipboardMode::Ask) {
            if (MessageBoxW(owner, L"There is no MessageBox insertion code found\nCopy the code to the clipboard?",
                            L"Copy to clipboard?", MB_YESNO | MB_ICONQUESTION) == IDYES) {
                CopyToClipboard(owner, code);
            }
        } else if (mode == ClipboardMode::CopyCode) {
            CopyToClipboard(owner, code);
        }
        break;
    }
}

void InsertAndReport(HWND owner, std::string_view code, const std::string& path, ClipboardMode mode,
                     std::span<const std::string> markers, AsciiFileEncoding asciiFiles) {
    std::optional<std::string> fileText;
    const InsertOutcome outcome =
        InsertInSource(code, path, markers, asciiFiles, mode == ClipboardMode::CopyFile ? &fileText : nullptr);
    ReportInsertOutcome(owner, outcome, code, mode, fileText);
}

}  // namespace pw
