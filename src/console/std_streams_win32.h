// The standard handles of a run without a window. The program is a GUI one:
// it has standard handles only when its caller gave it some (a pipe or a file,
// the way editors and scripts start it). When it has none and its parent has
// a console, it writes to that console instead; otherwise it writes nothing.
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

    // Writes all of `text`. Writing to an absent handle does nothing and
    // succeeds: there is no one to tell.
    bool Write(std::string_view text) const;
    // Everything up to the end of the input (a pipe closed by the writer, the
    // end of a file, Ctrl+Z on a console), at any size; empty when absent;
    // nothing when a read fails.
    std::optional<std::string> ReadAll() const;

private:
    HANDLE handle_ = nullptr;
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
