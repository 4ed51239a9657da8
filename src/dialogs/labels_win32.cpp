#include "dialogs/labels_win32.h"

#include <shellapi.h>

#include <climits>
#include <string>
#include <utility>

#include "win32/dialog_form_win32.h"
#include "dialogs/labels_testing_win32.h"

namespace pw {
namespace {

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kVisitedPurple = RGB(128, 0, 128);
constexpr COLORREF kWarningRed = RGB(250, 0, 0);

// Each control's procedure before the warning subclass. Kept per control, as
// the labels may be of different classes or subclassed by others before us.
constexpr char kWarningPreviousProc[] = "Promptwright.WarningLabel.PreviousProc";

// One per link label, owned by the control (GWLP_USERDATA), freed at
// WM_NCDESTROY.
struct LinkLabelData {
    std::string url;  // empty: open the control's own text
    WNDPROC previousProc = nullptr;
    COLORREF color = kLinkBlue;
    COLORREF visitedColor = kVisitedPurple;
    // Per control, so that a press on one link and a release on another
    // opens nothing.
    bool pressed = false;
};

// Shared by every label of a kind; made on first use, deleted together by
// FreeLabelResources.
struct SharedResources {
    HFONT linkFont = nullptr;
    HFONT warningFont = nullptr;
    HCURSOR handCursor = nullptr;
};
SharedResources shared;
LabelResourceCounts counts;

ShellOpenHook& ShellOpenOverride() {
    static ShellOpenHook hook;
    return hook;
}

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

// The dialog font's LOGFONT with the given changes.
template <typename Change>
HFONT MakeFont(Change change) {
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    change(font);
    HFONT made = CreateFontIndirectA(&font);
    if (made != nullptr) ++counts.fontsMade;
    return made;
}

HFONT LinkFont() {
    if (shared.linkFont == nullptr) shared.linkFont = MakeFont([](LOGFONTA& font) { font.lfUnderline = 1; });
    return shared.linkFont;
}

HFONT WarningFont() {
    if (shared.warningFont == nullptr) {
        shared.warningFont = MakeFont([](LOGFONTA& font) {
            font.lfHeight = 15;
            font.lfWidth = 6;
            font.lfWeight = 900;
        });
    }
    return shared.warningFont;
}

// A hand with the index finger up, hot spot at the fingertip. Rows are 32
// pixels (4 bytes, most significant bit leftmost); AND 1 / XOR 0 is
// transparent, AND 0 / XOR 0 black, AND 0 / XOR 1 white.
HCURSOR HandCursor() {
    if (shared.handCursor != nullptr) return shared.handCursor;
    struct Row {
        int first, last;
        BYTE andPlane[4], xorPlane[4];
    };
    static const Row kHand[] = {
        {1, 1, {0xF9, 0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
        {2, 5, {0xF0, 0xFF, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},
        {6, 6, {0xF0, 0x24, 0xFF, 0xFF}, {0x06, 0x00, 0x00, 0x00}},
        {7, 7, {0xF0, 0x00, 0x7F, 0xFF}, {0x06, 0xDB, 0x00, 0x00}},
        {8, 8, {0xC0, 0x00, 0x7F, 0xFF}, {0x06, 0xDB, 0x00, 0x00}},
        {9, 10, {0x80, 0x00, 0x7F, 0xFF}, {0x36, 0xDB, 0x00, 0x00}},
        {11, 11, {0x80, 0x00, 0x7F, 0xFF}, {0x37, 0xFF, 0x00, 0x00}},
        {12, 13, {0x80, 0x00, 0x7F, 0xFF}, {0x3F, 0xFF, 0x00, 0x00}},
        {14, 14, {0xC0, 0x00, 0x7F, 0xFF}, {0x1F, 0xFF, 0x00, 0x00}},
        {15, 15, {0xE0, 0x00, 0x7F, 0xFF}, {0x0F, 0xFF, 0x00, 0x00}},
        {16, 16, {0xF0, 0x00, 0xFF, 0xFF}, {0x07, 0xFE, 0x00, 0x00}},
        {17, 18, {0xF0, 0x00, 0xFF, 0xFF}, {0x00, 0x00, 0x00, 0x00}},
    };
    BYTE andPlane[32 * 4];
    BYTE xorPlane[32 * 4] = {};
    for (BYTE& bits : andPlane) bits = 0xFF;
    for (const Row& row : kHand) {
        for (int y = row.first; y <= row.last; ++y) {
            for (int i = 0; i < 4; ++i) {
                andPlane[y * 4 + i] = row.andPlane[i];
                xorPlane[y * 4 + i] = row.xorPlane[i];
            }
        }
    }
    shared.handCursor = CreateCursor(GetModuleHandleA(nullptr), 5, 2, 32, 32, andPlane, xorPlane);
    if (shared.handCursor != nullptr) ++counts.cursorsMade;
    return shared.handCursor;
}

// Single line, aligned as the static control's own style says.
UINT TextFormat(HWND control) {
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    UINT format = DT_SINGLELINE;
    // SS_CENTER and SS_RIGHT are values of the type field, not bits.
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    default: break;
    }
    if (style & SS_CENTERIMAGE) format |= DT_VCENTER;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return format;
}

// Fills the whole control first, so a shorter new text leaves nothing of the
// old one behind.
void PaintLabel(HWND control, COLORREF color, HFONT font) {
    PaintSession paint(control);
    HDC dc = paint.dc();
    RECT client{};
    GetClientRect(control, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(dc, color);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    ScopedSelect selected(dc, font);
    const std::string text = WindowText(control);
    const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
    DrawTextA(dc, text.data(), length, &client, TextFormat(control));
}

// The standard static control draws itself directly, in its own font, when
// its text or enabled state changes; paint over that at once.
LRESULT PassOnAndRepaint(WNDPROC previous, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(previous, control, message, wParam, lParam);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return result;
}

void AddNotifyStyle(HWND control) {
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
}

void ShellOpen(const std::string& target) {
    if (ShellOpenOverride()) {
        ShellOpenOverride()(target);
        return;
    }
    // A failure to open shows nothing; the link has turned purple all the same.
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LinkLabelData* LinkData(HWND control) {
    return reinterpret_cast<LinkLabelData*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void OnLinkClicked(HWND control, LinkLabelData& data) {
    data.color = data.visitedColor;
    // Show the new colour before the shell, which may take a while, starts.
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
    ShellOpen(data.url.empty() ? WindowText(control) : data.url);
}

}  // namespace

bool InstallLinkLabel(HWND dialog, int id, const char* target, COLORREF color) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return false;
    const bool installed = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC)) == LinkLabelProc;
    // A second installation would make the label its own previous procedure.
    LinkLabelData* data = installed ? LinkData(control) : new LinkLabelData;
    data->url = target != nullptr ? target : "";
    data->color = color != 0 ? color : kLinkBlue;
    if (installed) {
        InvalidateRect(control, nullptr, FALSE);
        return true;
    }
    ++counts.recordsMade;
    AddNotifyStyle(control);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    data->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkLabelProc)));
    return true;
}

LRESULT CALLBACK LinkLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    LinkLabelData* data = LinkData(control);
    if (data == nullptr) return DefWindowProcA(control, message, wParam, lParam);
    // Kept apart: the record may be gone once the shell has run.
    const WNDPROC previous = data->previousProc;
    switch (message) {
    case WM_PAINT: PaintLabel(control, data->color, LinkFont()); return 0;
    case WM_SETTEXT:
    case WM_ENABLE: return PassOnAndRepaint(previous, control, message, wParam, lParam);
    case WM_SETCURSOR: SetCursor(HandCursor()); return TRUE;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_LBUTTONDOWN: data->pressed = true; break;
    case WM_LBUTTONUP:
        if (data->pressed) {
            data->pressed = false;
            OnLinkClicked(control, *data);
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
        delete data;
        ++counts.recordsFreed;
        break;
    default: break;
    }
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

bool InstallWarningLabel(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return false;
    if (GetPropA(control, kWarningPreviousProc) != nullptr) return true;  // already one
    AddNotifyStyle(control);
    const LONG_PTR previous = GetWindowLongPtrA(control, GWLP_WNDPROC);
    // Stored before the switch, since the next message already needs it.
    SetPropA(control, kWarningPreviousProc, reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WarningLabelProc));
    InvalidateRect(control, nullptr, FALSE);
    return true;
}

LRESULT CALLBACK WarningLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(control, kWarningPreviousProc));
    if (previous == nullptr) return DefWindowProcA(control, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintLabel(control, kWarningRed, WarningFont()); return 0;
    case WM_SETTEXT:
    case WM_ENABLE: return PassOnAndRepaint(previous, control, message, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(control, kWarningPreviousProc);
        break;
    default: break;
    }
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

void FreeLabelResources() {
    for (HFONT* font : {&shared.linkFont, &shared.warningFont}) {
        if (*font == nullptr) continue;
        DeleteObject(std::exchange(*font, nullptr));
        ++counts.fontsDeleted;
    }
    if (shared.handCursor != nullptr) {
        // Not while it is the cursor on screen.
        if (GetCursor() == shared.handCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        DestroyCursor(std::exchange(shared.handCursor, nullptr));
        ++counts.cursorsDestroyed;
    }
}

void SetShellOpenHookForTesting(ShellOpenHook hook) { ShellOpenOverride() = std::move(hook); }
LabelResourceCounts LabelResourceCountsForTesting() { return counts; }
HFONT LinkFontForTesting() { return shared.linkFont; }
HFONT WarningFontForTesting() { return shared.warningFont; }
HCURSOR HandCursorForTesting() { return shared.handCursor; }

}  // namespace pw
