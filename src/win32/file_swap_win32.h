// Replacing a file by a new version of it written beside it, so that a run
// ended at any moment (or a machine losing power) leaves the old file or the
// new one, never a mix.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

// The new version of `target` is written under this name in the target's
// own folder ("main.c" → "main.c.~promptwright"): a name no build or editor
// takes for a source file, and the one a later run looks for to remove what
// an ended run left.
std::wstring SwapFilePath(const std::wstring& target);

// The full path of the file open as `file`, with symbolic links and
// junctions resolved, so that the file they point to is the one replaced and
// the link stays a link; empty when Windows cannot tell.
std::wstring FinalPathOf(HANDLE file);

// Whether a swap would cut the file open as `file` from another of its names.
bool HasOtherHardLinks(HANDLE file);

// Gives the file open as `replacement` (with FILE_WRITE_ATTRIBUTES) the
// attributes and creation time of the file open as `target`, read-only aside
// (a read-only file is never written), as ReplaceFileW does on Windows but
// Wine does not.
bool CopyBasicInfo(HANDLE target, HANDLE replacement);

enum class SwapResult {
    Swapped,          // `target` now holds the replacement's bytes
    TargetUntouched,  // nothing changed; the replacement is still there
    Failed,           // the target may be gone: its new text stays in the replacement
};

// Replaces the file at `target` (full path), open in this process as
// `targetFile` with FILE_SHARE_READ | FILE_SHARE_DELETE, by the file at
// `replacement` in the same folder. A failed ReplaceFileW can leave the target
// renamed away; this tells the cases apart by the files' identities and
// completes the swap where the target is gone.
SwapResult SwapIn(const std::wstring& target, HANDLE targetFile, const std::wstring& replacement);

// Removes the file at `path` on every way out, unless Keep() was called.
class RemoveOnExit {
public:
    explicit RemoveOnExit(std::wstring path) : path_(std::move(path)) {}
    ~RemoveOnExit() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;
    void Keep() { path_.clear(); }

private:
    std::wstring path_;
};

}  // namespace pw
