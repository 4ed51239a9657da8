// What Insert in source decides before any file is touched: which clipboard
// action goes with which target file.
#pragma once

#include <span>
#include <string>

namespace pw {

// What Insert in source does with the clipboard (the "InsertCopy" setting).
enum class ClipboardMode {
    None = 0,
    Ask = 1,       // no marker in the file: ask, Yes copies the code
    CopyCode = 2,  // no marker in the file: copy the code
    CopyFile = 3,  // copy the file's new text (or its text, when no marker)
};

// The setting's number as a mode; any other number acts as None.
ClipboardMode ClipboardModeFromSetting(int value);

// Hands each target file, in command-line order, to `insert` with the
// clipboard mode it acts on: the setting's for the first file, None for the
// rest, so that the user is asked (or the clipboard filled) once per insertion.
template <typename Insert>
void ForEachTargetFile(std::span<const std::string> files, ClipboardMode mode, Insert&& insert) {
    for (const std::string& path : files) {
        insert(path, mode);
        mode = ClipboardMode::None;
    }
}

}  // namespace pw
