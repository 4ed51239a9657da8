#include "win32/dpi_win32.h"

#include <string>


namespace pw {
namespace {

// GetProcAddress gives a generic function pointer; the member's own type is
// the function's. Through void*, which GCC does not take for a bad cast.
template <typename Function>
void Look(HMODULE module, const char* name, Function& function) {
    function =
        module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

DpiFunctions DpiFunctions::OfSystem() {
    DpiFunctions functions;
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    Look(user32, "GetDpiForWindow", functions.getDpiForWindow);
    Look(user32, "GetDpiForSystem", functions.getDpiForSystem);
    Look(user32, "GetSystemMetricsForDpi", functions.getSystemMetricsForDpi);
    Look(user32, "SystemParametersInfoForDpi", functions.systemParametersInfoForDpi);
    Look(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown", functions.loadIconWithScaleDown);
    return functions;
}

UINT SystemDpi(const DpiFunctions& functions) {
    if (functions.getDpiForSystem != nullptr) {
        if (const UINT dpi = functions.getDpiForSystem(); dpi != 0) return dpi;
    }
    const WindowDC screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window, const DpiFunctions& functions) {
    if (functions.getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = functions.getDpiForWindow(window); dpi != 0) return dpi;
    }
    return SystemDpi(functions);
}

int SystemMetricForDpi(int index, UINT dpi, const DpiFunctions& functions) {
    if (functions.getSystemMetricsForDpi != nullptr) return functions.getSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi(functions)));
}

LOGFONTW MessageFontForDpi(UINT dpi, const DpiFunctions& functions) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (functions.systemParametersInfoForDpi != nullptr &&
        functions.systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return metrics.lfMessageFont;
    // Older systems give it for the system DPI only.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMessageFont, &metrics.lfMessageFont);
    }
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi(functions)));
    font.lfWidth = 0;
    return font;
}

SizedIcon LoadIconForDpi(HINSTANCE module, const wchar_t* name, int sizeMetric, UINT dpi,
                         const DpiFunctions& functions) {
    const int size = SystemMetricForDpi(sizeMetric, dpi, functions);
    if (functions.loadIconWithScaleDown != nullptr) {
        HICON icon = nullptr;
        if (SUCCEEDED(functions.loadIconWithScaleDown(module, name, size, size, &icon)) && icon != nullptr)
            return SizedIcon(UniqueIcon(icon));
    }
    // The shared icon, and a copy of it made from its resource at the size.
    HICON shared = LoadIconW(module, name);
    if (shared == nullptr) return {};
    if (HANDLE copy = CopyImage(shared, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE))
        return SizedIcon(UniqueIcon(static_cast<HICON>(copy)));
    return SizedIcon::Shared(shared);
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0};
    const UniqueBitmap mask(info.hbmMask), color(info.hbmColor);  // GetIconInfo made copies
    BITMAP bitmap{};
    GetObjectW(mask.Get(), sizeof bitmap, &bitmap);
    SIZE size{bitmap.bmWidth, bitmap.bmHeight};
    // A monochrome icon's mask holds the AND and the XOR image one above the other.
    if (!color) size.cy /= 2;
    return size;
}

WindowIconsForDpi::WindowIconsForDpi(HINSTANCE module, const wchar_t* name) : module_(module) {
    if (IS_INTRESOURCE(name))
        number_ = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        name_ = name;
}

WindowIconsForDpi::Icons& WindowIconsForDpi::ForDpi(UINT dpi) {
    for (Icons& icons : made_)
        if (icons.dpi == dpi) return icons;
    made_.push_back(
        {dpi, LoadIconForDpi(module_, Name(), SM_CXSMICON, dpi), LoadIconForDpi(module_, Name(), SM_CXICON, dpi)});
    return made_.back();
}

}  // namespace pw
