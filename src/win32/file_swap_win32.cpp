#include "win32/file_swap_win32.h"

#include "win32/raii_win32.h"

namespace pw {
namespace {

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Opens a path only to learn which file it names: no access that another
// handle's sharing could refuse.
UniqueHandle OpenToIdentify(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

std::wstring SwapFilePath(const std::wstring& target) { return target + L".~promptwright"; }

std::wstring FinalPathOf(HANDLE file) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD got = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(got + 1);  // `got` is the size needed, its terminator included
    }
    return {};
}

bool HasOtherHardLinks(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1;
}

bool CopyBasicInfo(HANDLE target, HANDLE replacement) {
    FILE_BASIC_INFO from{};
    if (!GetFileInformationByHandleEx(target, FileBasicInfo, &from, sizeof from)) return false;
    FILE_BASIC_INFO info{};  // zero times stay as they are
    info.CreationTime = from.CreationTime;
    info.FileAttributes = from.FileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(replacement, FileBasicInfo, &info, sizeof info) != FALSE;
}

SwapResult SwapIn(const std::wstring& target, HANDLE targetFile, const std::wstring& replacement) {
    // Merge errors (streams, security) are not ignored: a swap that would lose
    // them leaves the target untouched, and the caller writes in place.
    if (ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr)) return SwapResult::Swapped;

    BY_HANDLE_FILE_INFORMATION old;
    if (!GetFileInformationByHandle(targetFile, &old)) return SwapResult::Failed;
    const UniqueHandle now = OpenToIdentify(target);
    if (now.Valid()) {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(now.Get(), &info)) return SwapResult::Failed;
        if (SameFile(info, old)) return SwapResult::TargetUntouched;
        // Another file under the name: ours, when the replacement's name is gone.
        return GetFileAttributesW(replacement.c_str()) == INVALID_FILE_ATTRIBUTES ? SwapResult::Swapped
                                                                                  : SwapResult::Failed;
    }
    // The old file was moved away but the new one not moved in: finish.
    if (GetLastError() == ERROR_FILE_NOT_FOUND &&
        MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return SwapResult::Swapped;
    }
    return SwapResult::Failed;
}

}  // namespace pw
