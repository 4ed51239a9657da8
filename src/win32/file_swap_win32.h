// Replacing a file by a new version of it written beside it, so that a run
// ended at any moment (or a machine losing power) leaves the old file or the
// new one, never a mix.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/raii_win32.h"

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

// Virus scanners, search indexers and sync clients open a file for a few
// milliseconds right after it is written or closed. Whether `error` is what
// such a hold gives: a sharing or lock violation, or (on a file of our own,
// which nothing else has reason to refuse us) a denied access.
bool IsPassingHold(DWORD error, bool ownFile);

// Calls `attempt` until it succeeds or fails for another reason than a
// passing hold, for about a second, and at least a few times however slow
// the machine, so that what a test holds for one attempt never decides the
// outcome by the clock.
bool Patiently(const std::function<bool()>& attempt, bool ownFile);

// The access a new file needs for SwapIn: renamed through its handle, its
// attributes and permissions set through it.
inline constexpr DWORD kSwapFileAccess = GENERIC_WRITE | DELETE | READ_CONTROL | WRITE_DAC;

// Opens the new file at `path` with kSwapFileAccess and no sharing, so that
// nothing can open it from here to the swap; retries a passing hold.
UniqueHandle OpenSwapFile(const std::wstring& path);

// Gives the new file open as `replacement` (kSwapFileAccess) what the file
// open as `target` (with READ_CONTROL) has and a new file does not take from
// its folder: the attributes (read-only aside: a read-only file is never
// written), the creation time, and the permissions where they differ from
// those the folder gave it. Alternate data streams (such as the mark of a
// download) stay behind. False when the permissions could not be given:
// swapping then would open the file to those the target kept out.
bool CopyIdentity(HANDLE target, HANDLE replacement);

// Puts the new file at `replacementPath`, open as `replacement`, in place of
// `target` (a full path) by one rename, which leaves the one file or the
// other under the target's name whenever the run ends or the power fails:
// through the handle with POSIX semantics where Windows has them (10 1607
// and later, NTFS), which replaces the target even while `targetFile` holds
// it; elsewhere by MoveFileExW, which needs both handles closed first. A
// passing hold is retried. `hold`, when given, is asked before each attempt;
// true makes that attempt fail as a held file does (tests pass one).
// On failure the target is as it was, but the handles may have been closed.
bool SwapIn(const std::wstring& target, UniqueHandle& targetFile, const std::wstring& replacementPath,
            UniqueHandle& replacement, const std::function<bool()>& hold = {});

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
