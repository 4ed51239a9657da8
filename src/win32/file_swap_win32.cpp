#include "win32/file_swap_win32.h"

#include <aclapi.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace pw {
namespace {

// A second is far longer than a scanner holds a file, and short enough that
// a file held for good is reported while the user still waits for it.
constexpr DWORD kHoldPatience = 1000;
constexpr DWORD kHoldPause = 20;
constexpr int kLeastAttempts = 5;

// FILE_RENAME_INFO with its Flags member and FileRenameInfoEx, which the
// headers give only when building for Windows 10 and later; same layout.
struct RenameInfoEx {
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;  // in bytes, the terminator not counted
    WCHAR fileName[1];
};
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;

enum class Rename { Done, Refused, Unsupported };

// Renames the file open as `file` (with DELETE access) to `target`,
// replacing the file there even while others hold it open with
// FILE_SHARE_DELETE. Windows before 10 1607 does not know the information
// class (ERROR_INVALID_PARAMETER); FAT volumes and some network shares lack
// POSIX semantics (ERROR_NOT_SUPPORTED, ERROR_INVALID_FUNCTION). Wine 8 does
// not know the class either, so under Wine the classic rename always runs.
Rename RenameByHandle(HANDLE file, const std::wstring& target) {
    const std::size_t nameBytes = target.size() * sizeof(WCHAR);
    const std::size_t size = offsetof(RenameInfoEx, fileName) + nameBytes + sizeof(WCHAR);
    std::vector<std::max_align_t> buffer((size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    auto* info = reinterpret_cast<RenameInfoEx*>(buffer.data());
    info->flags = kRenameReplaceIfExists | kRenamePosixSemantics;
    info->rootDirectory = nullptr;
    info->fileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->fileName, target.c_str(), nameBytes + sizeof(WCHAR));
    if (SetFileInformationByHandle(file, kFileRenameInfoEx, info, static_cast<DWORD>(size))) return Rename::Done;
    switch (GetLastError()) {
    case ERROR_INVALID_PARAMETER:
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_CALL_NOT_IMPLEMENTED: return Rename::Unsupported;
    default: return Rename::Refused;
    }
}

class LocalMemory {
public:
    LocalMemory() = default;
    ~LocalMemory() { LocalFree(memory_); }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    PSECURITY_DESCRIPTOR* Out() { return &memory_; }
    PSECURITY_DESCRIPTOR Get() const { return memory_; }

private:
    PSECURITY_DESCRIPTOR memory_ = nullptr;
};

bool Protected(PSECURITY_DESCRIPTOR descriptor) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    return GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED) != 0;
}

bool SameAcl(const ACL* a, const ACL* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return a->AclSize == b->AclSize && std::memcmp(a, b, a->AclSize) == 0;
}

// The DACL is what decides who may open the file; the owner stays the user
// who writes it (setting another needs a privilege), and the audit list
// needs one to be read at all.
bool CopyPermissions(HANDLE target, HANDLE replacement) {
    PACL targetAcl = nullptr;
    LocalMemory targetDescriptor;
    if (GetSecurityInfo(target, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &targetAcl, nullptr,
                        targetDescriptor.Out()) != ERROR_SUCCESS)
        return true;  // a volume without permissions (FAT) has none to keep
    PACL newAcl = nullptr;
    LocalMemory newDescriptor;
    if (GetSecurityInfo(replacement, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &newAcl, nullptr,
                        newDescriptor.Out()) == ERROR_SUCCESS &&
        Protected(targetDescriptor.Get()) == Protected(newDescriptor.Get()) && SameAcl(targetAcl, newAcl))
        return true;
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION | (Protected(targetDescriptor.Get()) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetSecurityInfo(replacement, SE_FILE_OBJECT, what, nullptr, nullptr, targetAcl, nullptr) == ERROR_SUCCESS;
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

// FileStandardInfo, not GetFileInformationByHandle, which also asks the
// volume for its serial number (0.5 ms of every insertion under Wine).
bool HasOtherHardLinks(HANDLE file) {
    FILE_STANDARD_INFO info{};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info) && info.NumberOfLinks > 1;
}

bool IsPassingHold(DWORD error, bool ownFile) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           (ownFile && error == ERROR_ACCESS_DENIED);
}

bool Patiently(const std::function<bool()>& attempt, bool ownFile) {
    const DWORD start = GetTickCount();
    for (int tries = 1;; ++tries) {
        if (attempt()) return true;
        const DWORD error = GetLastError();
        if (!IsPassingHold(error, ownFile)) return false;
        if (tries >= kLeastAttempts && GetTickCount() - start >= kHoldPatience) return false;
        Sleep(kHoldPause);
        SetLastError(error);
    }
}

UniqueHandle OpenSwapFile(const std::wstring& path) {
    UniqueHandle file;
    Patiently(
        [&] {
            file = UniqueHandle(
                CreateFileW(path.c_str(), kSwapFileAccess, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return file.Valid();
        },
        true);
    return file;
}

bool CopyIdentity(HANDLE target, HANDLE replacement) {
    FILE_BASIC_INFO from{};
    if (GetFileInformationByHandleEx(target, FileBasicInfo, &from, sizeof from)) {
        FILE_BASIC_INFO info{};  // zero times stay as they are
        info.CreationTime = from.CreationTime;
        // Only these can be set; compression, encryption and the like come
        // from the folder.
        constexpr DWORD kSettable =
            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        info.FileAttributes = from.FileAttributes & kSettable;
        if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        // Best effort, as ReplaceFileW's own copy was: the text matters more.
        SetFileInformationByHandle(replacement, FileBasicInfo, &info, sizeof info);
    }
    return CopyPermissions(target, replacement);
}

bool SwapIn(const std::wstring& target, UniqueHandle& targetFile, const std::wstring& replacementPath,
            UniqueHandle& replacement, const std::function<bool()>& hold) {
    const auto held = [&] {
        if (!hold || !hold()) return false;
        SetLastError(ERROR_SHARING_VIOLATION);
        return true;
    };
    bool unsupported = false;
    const bool renamed = Patiently(
        [&] {
            if (held()) return false;
            switch (RenameByHandle(replacement.Get(), target)) {
            case Rename::Done: return true;
            case Rename::Refused: return false;
            case Rename::Unsupported: break;
            }
            unsupported = true;
            SetLastError(ERROR_NOT_SUPPORTED);
            return false;
        },
        true);
    if (renamed || !unsupported) return renamed;
    // The classic rename opens the new file for deletion itself, and refuses
    // to replace a file that any handle holds open, our own included.
    replacement.Reset();
    targetFile.Reset();
    return Patiently(
        [&] {
            return !held() && MoveFileExW(replacementPath.c_str(), target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        true);
}

}  // namespace pw
