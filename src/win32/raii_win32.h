// Owners for the Win32 resources of the shell: each releases what it
// holds on every way out of the scope that made it.
#pragma once

#include <windows.h>
#include <objbase.h>

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
    ClipboardSession() = default;
    explicit ClipboardSession(HWND owner) { Open(owner); }
    ~ClipboardSession() { Close(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return open_; }

    // Tries to open it (again); false while another window holds it.
    bool Open(HWND owner) {
        if (!open_) open_ = OpenClipboard(owner) != FALSE;
        return open_;
    }

    // Closes now; returns whether the clipboard took the close.
    bool Close() {
        if (!open_) return false;
        open_ = false;
        return CloseClipboard() != FALSE;
    }

private:
    bool open_ = false;
};

// COM on this thread, apartment-threaded as the shell's functions need it;
// uninitialised at the end unless it could not be initialised.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
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

// A GDI or USER object owned alone: deleted once, when the owner goes or is
// given another. `Free` is the platform's release call for the kind.
template <typename Object, auto Free>
class UniqueObject {
public:
    UniqueObject() = default;
    explicit UniqueObject(Object object) : object_(object) {}
    ~UniqueObject() { Reset(); }
    UniqueObject(UniqueObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    UniqueObject& operator=(UniqueObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    UniqueObject(const UniqueObject&) = delete;
    UniqueObject& operator=(const UniqueObject&) = delete;

    Object Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    void Reset(Object object = nullptr) {
        if (object_ != nullptr) Free(object_);
        object_ = object;
    }

private:
    Object object_ = nullptr;
};

inline void DeleteFontObject(HFONT font) { DeleteObject(font); }
using UniqueFont = UniqueObject<HFONT, DeleteFontObject>;
inline void DestroyIconObject(HICON icon) { DestroyIcon(icon); }
using UniqueIcon = UniqueObject<HICON, DestroyIconObject>;
inline void DestroyCursorObject(HCURSOR cursor) { DestroyCursor(cursor); }
using UniqueCursor = UniqueObject<HCURSOR, DestroyCursorObject>;
inline void DeleteBitmapObject(HBITMAP bitmap) { DeleteObject(bitmap); }
using UniqueBitmap = UniqueObject<HBITMAP, DeleteBitmapObject>;
inline void UnhookObject(HHOOK hook) { UnhookWindowsHookEx(hook); }
using UniqueHook = UniqueObject<HHOOK, UnhookObject>;

// A window's device context, released when the object goes.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC until the scope ends, then the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The painting of one WM_PAINT, ended on every way out.
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace pw
