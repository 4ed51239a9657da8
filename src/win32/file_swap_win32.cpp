#include "win32/file_swap_win32.h"

#include <aclapi.h>

#include <cstddef>
#include <cstring>
#include <optional>
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

// The file's DACL and its control bits, as a self-relative descriptor; empty
// where the volume keeps none (FAT) or it cannot be read. Read straight from
// the handle: GetSecurityInfo took three times as long under Wine.
std::vector<std::max_align_t> DaclDescriptor(HANDLE file) {
    std::vector<std::max_align_t> buffer(1024 / sizeof(std::max_align_t));
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD needed = 0;
        const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(std::max_align_t));
        if (GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, buffer.data(), size, &needed)) return buffer;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size) break;
        buffer.resize((needed + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    }
    return {};
}

struct Dacl {
    const ACL* acl = nullptr;  // none: everyone may do anything
    bool isProtected = false;  // not inherited from the folder
};

std::optional<Dacl> DaclOf(std::vector<std::max_align_t>& descriptor) {
    if (descriptor.empty()) return std::nullopt;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted) ||
        !GetSecurityDescriptorControl(descriptor.data(), &control, &revision))
        return std::nullopt;
    return Dacl{present ? acl : nullptr, (control & SE_DACL_PROTECTED) != 0};
}

bool SameAcl(const ACL* a, const ACL* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return a->AclSize == b->AclSize && std::memcmp(a, b, a->AclSize) == 0;
}

// The DACL is what decides who may open the file; the owner stays the user
// who writes it (setting another needs a privilege), and the audit list
// needs one to be read at all.
bool CopyPermissions(HANDLE target, HANDLE replacement) {
    std::vector<std::max_align_t> targetDescriptor = DaclDescriptor(target);
    const std::optional<Dacl> from = DaclOf(targetDescriptor);
    if (!from) return true;  // a volume without permissions (FAT) has none to keep
    std::vector<std::max_align_t> newDescriptor = DaclDescriptor(replacement);
    const std::optional<Dacl> now = DaclOf(newDescriptor);
    if (now && now->isProtected == from->isProtected && SameAcl(now->acl, from->acl)) return true;
    const SECURITY_INFORMATION what =
        DACL_SECURITY_INFORMATION |
        (from->isProtected ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetSecurityInfo(replacement, SE_FILE_OBJECT, what, nullptr, nullptr, const_cast<ACL*>(from->acl), nullptr) ==
           ERROR_SUCCESS;
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
