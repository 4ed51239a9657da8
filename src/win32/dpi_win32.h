// Sizes for the DPI of a window: the program is per-monitor DPI aware, so
// what it draws or sizes itself (fonts, icons, the cursor, margins) is made
// for the DPI of the window it appears in, and made again when that changes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/raii_win32.h"

namespace pw {

inline constexpr UINT kDefaultDpi = 96;  // 100%: the DPI that sizes at 96 are given for

// The DPI functions of Windows 10 (1607 and later). The program targets
// Windows 7, which lacks them, so they are looked up at run time; a null
// member means "not on this system" and every helper below falls back.
struct DpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    UINT(WINAPI* getDpiForSystem)() = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
    // comctl32 6 (Vista and later): icons scaled down from a larger image.
    HRESULT(WINAPI* loadIconWithScaleDown)(HINSTANCE, const wchar_t*, int, int, HICON*) = nullptr;

    // What this system has. Cheap (user32 and comctl32 are loaded already).
    static DpiFunctions OfSystem();
};

// `valueAt96` pixels at `dpi`.
inline int ScaleForDpi(int valueAt96, UINT dpi) { return MulDiv(valueAt96, static_cast<int>(dpi), kDefaultDpi); }

// A length given in hundredths of a point, in pixels at `dpi`.
inline int PointsToPixels(int hundredthsOfPoint, UINT dpi) {
    return MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
}

// The DPI the system started with (what unaware windows and the stock
// objects are made for).
UINT SystemDpi(const DpiFunctions& functions = DpiFunctions::OfSystem());

// The DPI of the monitor a window is on; the system DPI where Windows cannot
// tell (before Windows 10), 96 where even that fails.
UINT WindowDpi(HWND window, const DpiFunctions& functions = DpiFunctions::OfSystem());

// A GetSystemMetrics value (SM_CXICON, ...) as the system gives it at `dpi`.
int SystemMetricForDpi(int index, UINT dpi, const DpiFunctions& functions = DpiFunctions::OfSystem());

// The system's message font (the text of message boxes) at `dpi`.
LOGFONTW MessageFontForDpi(UINT dpi, const DpiFunctions& functions = DpiFunctions::OfSystem());

// The DPI that a WM_DPICHANGED message announces.
inline UINT DpiOfDpiChanged(WPARAM wParam) { return HIWORD(wParam); }

// An icon at one size: made for that size (destroyed with this object), or,
// where nothing could be made, the system's shared icon (never destroyed).
class SizedIcon {
public:
    SizedIcon() = default;
    explicit SizedIcon(UniqueIcon made) : made_(std::move(made)) {}
    static SizedIcon Shared(HICON icon) {
        SizedIcon shared;
        shared.shared_ = icon;
        return shared;
    }

    HICON Get() const { return made_ ? made_.Get() : shared_; }
    bool Made() const { return static_cast<bool>(made_); }

private:
    UniqueIcon made_;
    HICON shared_ = nullptr;
};

// The icon `name` of `module` (null: a system icon, IDI_...) at the size the
// system gives `sizeMetric` (SM_CXICON or SM_CXSMICON) at `dpi`, scaled down
// from the best image the icon has. `name` is a resource number
// (MAKEINTRESOURCEW) or a name.
SizedIcon LoadIconForDpi(HINSTANCE module, const wchar_t* name, int sizeMetric, UINT dpi,
                         const DpiFunctions& functions = DpiFunctions::OfSystem());

// The width and height of an icon in pixels ({0, 0} for none).
SIZE IconSize(HICON icon);

// One icon of a module as window icons (small and big) at each DPI asked for:
// made the first time a DPI is asked for and kept until this object goes,
// since windows show the icons they are given without owning them.
class WindowIconsForDpi {
public:
    // `name`: a resource number (MAKEINTRESOURCEW) or a name.
    WindowIconsForDpi(HINSTANCE module, const wchar_t* name);

    HICON Small(UINT dpi) { return ForDpi(dpi).small.Get(); }
    HICON Big(UINT dpi) { return ForDpi(dpi).big.Get(); }

private:
    struct Icons {
        UINT dpi;
        SizedIcon small, big;
    };
    Icons& ForDpi(UINT dpi);

    const wchar_t* Name() const { return name_.empty() ? MAKEINTRESOURCEW(number_) : name_.c_str(); }

    HINSTANCE module_;
    WORD number_ = 0;          // the resource number, when the icon has no name
    std::wstring name_;        // the name, when it has one
    std::vector<Icons> made_;  // one per monitor scale met: a handful at most
};

}  // namespace pw
