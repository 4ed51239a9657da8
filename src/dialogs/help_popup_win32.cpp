#include "dialogs/help_popup_win32.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "win32/dpi_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// Sizes at 96 DPI.
constexpr int kMaxTextWidth = 320;
constexpr int kMargin = 6;
constexpr int kGap = 4;  // between the control and the note

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

// The note open over a top-level window, a property of that window.
constexpr wchar_t kOpenNote[] = L"Promptwright.HelpNote";

// Owned by the note (GWLP_USERDATA) and freed with it.
struct HelpNote {
    HWND owner = nullptr;
    std::wstring text;
    UniqueFont font;
    int margin = 0;
    bool closing = false;  // destroying it makes it lose the activation and the capture
};

HelpNote* Note(HWND note) { return reinterpret_cast<HelpNote*>(GetWindowLongPtrW(note, GWLP_USERDATA)); }

int Length(const std::wstring& text) { return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size()); }

void CloseNote(HWND note) {
    HelpNote* data = Note(note);
    if (data == nullptr || data->closing) return;
    data->closing = true;
    DestroyWindow(note);
}

constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

void PaintNote(HWND note, const HelpNote& data) {
    PaintSession paint(note);
    RECT text{};
    GetClientRect(note, &text);
    InflateRect(&text, -data.margin, -data.margin);
    ScopedSelect font(paint.dc(), data.font.Get());
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), GetSysColor(COLOR_INFOTEXT));
    DrawTextW(paint.dc(), data.text.data(), Length(data.text), &text, kTextFormat);
}

LRESULT CALLBACK HelpNoteProc(HWND note, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Taken over here, past the last point where creating can fail, so
        // that a failed creation leaves it to the caller.
        SetWindowLongPtrW(note, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_PAINT:
        if (const HelpNote* data = Note(note)) {
            PaintNote(note, *data);
            return 0;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: CloseNote(note); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) CloseNote(note);
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != note) CloseNote(note);
        break;
    case WM_NCDESTROY: {
        const std::unique_ptr<HelpNote> data(Note(note));
        SetWindowLongPtrW(note, GWLP_USERDATA, 0);
        if (data != nullptr && GetPropW(data->owner, kOpenNote) == note) RemovePropW(data->owner, kOpenNote);
        break;
    }
    default: break;
    }
    return DefWindowProcW(note, message, wParam, lParam);
}

void RegisterNoteClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kHelpPopupClass, &windowClass)) return;
    windowClass.style = CS_DROPSHADOW | CS_SAVEBITS;
    windowClass.lpfnWndProc = HelpNoteProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW, whatever UNICODE says
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    windowClass.lpszClassName = kHelpPopupClass;
    RegisterClassExW(&windowClass);
}

// The note's window size for its text, wrapped at the widest line it may have.
SIZE NoteSize(HWND note, const HelpNote& data, UINT dpi) {
    RECT text{0, 0, ScaleForDpi(kMaxTextWidth, dpi), 0};
    {
        const WindowDC dc(note);
        ScopedSelect font(dc.Get(), data.font.Get());
        DrawTextW(dc.Get(), data.text.data(), Length(data.text), &text, kTextFormat | DT_CALCRECT);
    }
    RECT window{0, 0, text.right + 2 * data.margin, text.bottom + 2 * data.margin};
    AdjustWindowRectEx(&window, kStyle, FALSE, kExStyle);
    return {window.right - window.left, window.bottom - window.top};
}

// Below the control, or above it where the work area ends below; inside the
// work area of the control's monitor.
POINT NotePlace(HWND control, SIZE size, UINT dpi) {
    RECT beside{};
    GetWindowRect(control, &beside);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&beside, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int gap = ScaleForDpi(kGap, dpi);
    POINT place{beside.left, beside.bottom + gap};
    if (place.y + size.cy > work.bottom) place.y = beside.top - gap - size.cy;
    place.y = std::max(place.y, work.top);
    place.x = std::max(work.left, std::min(place.x, work.right - size.cx));
    return place;
}

}  // namespace

HWND ShowHelpPopup(HWND control, const std::string& text) {
    if (control == nullptr) return nullptr;
    HWND owner = GetAncestor(control, GA_ROOT);
    if (HWND open = static_cast<HWND>(GetPropW(owner, kOpenNote))) CloseNote(open);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterNoteClass(instance);
    const UINT dpi = WindowDpi(control);
    auto data = std::make_unique<HelpNote>();
    data->owner = owner;
    data->text = Utf16(text);
    const LOGFONTW font = MessageFontForDpi(dpi);
    data->font.Reset(CreateFontIndirectW(&font));
    data->margin = ScaleForDpi(kMargin, dpi);
    HWND note = CreateWindowExW(kExStyle, kHelpPopupClass, data->text.c_str(), kStyle, 0, 0, 0, 0, owner, nullptr,
                                instance, data.get());
    if (note == nullptr) return nullptr;
    const HelpNote& made = *data.release();  // the note owns it from WM_CREATE on
    SetPropW(owner, kOpenNote, note);

    const SIZE size = NoteSize(note, made, dpi);
    const POINT place = NotePlace(control, size, dpi);
    SetWindowPos(note, HWND_TOP, place.x, place.y, size.cx, size.cy, SWP_SHOWWINDOW);
    SetActiveWindow(note);
    SetFocus(note);
    // Clicks anywhere in the program come here, and close the note.
    SetCapture(note);
    return note;
}

}  // namespace pw
