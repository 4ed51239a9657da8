// The standard handles of a run without a window. The program is a GUI one:
// it has standard handles only when its caller gave it some (a pipe or a file,
// the way editors and scripts start it). When it has none and its parent has
// a console, it writes to that console instead; otherwise it writes nothing.
//
// Texts are UTF-8 here as everywhere in the program. A pipe or a file carries
// them in the ANSI code page, as the programs at its other end expect; a
// console gets them as UTF-16, so that it shows every character.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win32/raii_win32.h"

namespace pw {

// One standard handle: the process's own (not closed here) or a console
// handle opened for it (closed with this object). May be absent.
class StandardHandle {
public:
    StandardHandle() = default;
    static StandardHandle Borrowed(HANDLE handle);
    static StandardHandle Owned(UniqueHandle handle);

    bool Present() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    bool IsConsole() const { return console_; }

    enum class WriteResult { Written, Unencodable, Failed };
    // Writes all of the UTF-8 `text`. Unencodable: the handle is no console
    // and the ANSI code page lacks a character of the text (each such
    // character once in `missing`, when given); nothing was written then.
    // Writing to an absent handle does nothing and succeeds: there is no one
    // to tell.
    WriteResult Write(std::string_view text, std::u32string* missing = nullptr) const;
    // Writes a message, which must reach its reader whatever file or slot it
    // names: a character the code page lacks is written as its code point in
    // angle brackets (<U+65E5>). False when the write failed.
    bool WriteMessage(std::string_view text) const;
    // Everything up to the end of the input (a pipe closed by the writer, the
    // end of a file, Ctrl+Z on a console), at any size, as UTF-8; empty when
    // absent; nothing when a read fails. A console is read in its input code
    // page; a pipe or file as UTF-16 after a UTF-16 byte order mark, as UTF-8
    // after a UTF-8 one or when it is valid UTF-8 with a character beyond
    // ASCII, else in the ANSI code page.
    std::optional<std::string> ReadAll() const;

private:
    bool WriteBytes(std::string_view bytes) const;
    bool WriteConsoleText(std::string_view text) const;

    HANDLE handle_ = nullptr;
    bool console_ = false;  // GetConsoleMode succeeds
    UniqueHandle owned_;
};

struct StandardStreams {
    StandardHandle input, output, error;

    // The process's standard handles; those it lacks are taken from the
    // parent's console (AttachConsole(ATTACH_PARENT_PROCESS)) when there is
    // one. Attaches only when a handle is missing.
    static StandardStreams OfProcess();
};

}  // namespace pw
