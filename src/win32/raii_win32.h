// Owners for the Win32 resources of the shell: each releases what it
// holds on every way out of the scope that made it.
#pragma once

#include <windows.h>

#include <utility>

namespace pw {

// A kernel object handle (a file here); closed once.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    // CreateFile reports failure as INVALID_HANDLE_VALUE, other calls as null.
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

    void Reset() {
        if (Valid()) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// The clipboard, open for this object's lifetime unless closed before.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() { Close(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return open_; }

    // Closes now; returns whether the clipboard took the close.
    bool Close() {
        if (!open_) return false;
        open_ = false;
        return CloseClipboard() != FALSE;
    }

private:
    bool open_;
};

// A global memory block, freed unless handed over with Release().
class UniqueGlobal {
public:
    explicit UniqueGlobal(HGLOBAL block) : block_(block) {}
    ~UniqueGlobal() {
        if (block_ != nullptr) GlobalFree(block_);
    }
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;

    HGLOBAL Get() const { return block_; }
    HGLOBAL Release() { return std::exchange(block_, nullptr); }

private:
    HGLOBAL block_;
};

// A lock on a global memory block, unlocked when the object goes.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

}  // namespace pw
