// Inserts code into a source file in place of its insertion markers.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

namespace pw {

// Clipboard modes of InsertInSource (ClipboardMode's numbers); any other
// value acts as kClipboardNone.
inline constexpr int kClipboardNone = 0;
inline constexpr int kClipboardAsk = 1;       // no marker in the file: ask, Yes copies the code
inline constexpr int kClipboardCopyCode = 2;  // no marker in the file: copy the code
inline constexpr int kClipboardCopyFile = 3;  // copy the file's new text (or its text, when no marker)

// Replaces every marker occurrence in the file at `path` by `code` and writes
// the file back, holding it open without sharing meanwhile. The file ends
// either wholly rewritten or wholly as it was. What goes wrong is told to the
// user in message boxes owned by `owner`; when the file holds no marker it is
// left untouched and the clipboard mode decides what happens instead.
void InsertInSource(HWND owner, std::string_view code, const std::string& path, int clipboardMode,
                    std::span<const std::string> markers);

}  // namespace pw
