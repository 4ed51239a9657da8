// Insert in source for one target file, told to the user: the message boxes
// and clipboard actions that go with each outcome of InsertInSource.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/output/insertion.h"
#include "core/output/source_encoding.h"

namespace pw {

// Shows what `outcome` calls for, every box owned by `owner`: a warning for a
// failure (naming the characters a code-page file cannot hold); with no
// marker, the clipboard question (Ask) or a copy of the code (CopyCode). In
// CopyFile, `fileText` (when set) goes to the clipboard first, whatever the
// outcome. `path` names a file the write may have damaged. Returns false when
// a copy failed (the user has been told): the windows then stay open, so that
// the code is not lost.
bool ReportInsertOutcome(HWND owner, InsertOutcome outcome, std::string_view code, ClipboardMode mode,
                         const std::optional<std::string>& fileText, const std::string& path);

// InsertInSource on one file, then ReportInsertOutcome; its result.
bool InsertAndReport(HWND owner, std::string_view code, const std::string& path, ClipboardMode mode,
                     std::span<const std::string> markers, AsciiFileEncoding asciiFiles);

}  // namespace pw
