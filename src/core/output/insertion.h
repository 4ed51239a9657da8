// What Insert in source decides and comes to, apart from any file work or
// window: which clipboard action goes with which target file, and the outcome
// of one file that the shell presents.
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

// How the insertion into one source file went.
enum class InsertOutcome {
    Inserted,     // every marker replaced, the file written back
    // Inserted, but by writing the file in place (a hard link, a folder where
    // no file can be made): a crash meanwhile could have mixed old and new.
    InsertedInPlace,
    NoMarker,     // the file holds no marker and is left as it was
    OpenFailed,   // missing, held open by another program, read-only or no access
    ReadFailed,   // the file stays as it was
    WriteFailed,  // the file stays as it was (a write begun is undone)
    // A write failed and so did its undo: the file may hold a mix of both.
    WriteFailedDamaged,
    Unencodable,  // the file's code page lacks a character of the code: not written
};

}  // namespace pw
