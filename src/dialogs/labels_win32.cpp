#include "dialogs/labels_win32.h"

#include <shellapi.h>

#include <climits>
#include <string>
#include <utility>

#include "dialogs/labels_testing_win32.h"
#include "win32/accessibility_win32.h"
#include "win32/dialog_form_win32.h"
#include "win32/dpi_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kVisitedPurple = RGB(128, 0, 128);
constexpr COLORREF kWarningRed = RGB(250, 0, 0);

// Each control's procedure before the warning subclass. Kept per control, as
// the labels may be of different classes or subclassed by others before us.
constexpr wchar_t kWarningPreviousProc[] = L"Promptwright.WarningLabel.PreviousProc";

// The fonts that the labels of one top-level window share,
// each made for the window's DPI when first needed. Attached to the window
// (kResourcesProp) by its first label and deleted with its last.
class LabelResources {
public:
    LabelResources(HWND root, UINT dpi) : root_(root), dpi_(dpi) {}
    ~LabelResources() { Free(); }
    LabelResources(const LabelResources&) = delete;
    LabelResources& operator=(const LabelResources&) = delete;

    HWND root() const { return root_; }
    UINT dpi() const { return dpi_; }
    HFONT linkFont() const { return linkFont_.Get(); }
    HFONT warningFont() const { return warningFont_.Get(); }

    HFONT LinkFont();
    HFONT WarningFont();
    void Free();
    void SetDpi(UINT dpi) {
        if (dpi == dpi_) return;
        Free();
        dpi_ = dpi;
    }

    int labels = 0;  // installed labels that use these

private:
    HWND root_;
    UINT dpi_;
    UniqueFont linkFont_;
    UniqueFont warningFont_;
};

constexpr wchar_t kResourcesProp[] = L"Promptwright.Labels";
constexpr wchar_t kSeamsProp[] = L"Promptwright.LabelSeams";

HWND Root(HWND window) { return GetAncestor(window, GA_ROOT); }

LabelSeams* Seams(HWND root) { return static_cast<LabelSeams*>(GetPropW(root, kSeamsProp)); }

template <typename Field>
void Count(HWND root, Field field) {
    if (LabelSeams* seams = Seams(root)) ++(seams->counts.*field);
}

LabelResources* FindResources(HWND window) {
    return static_cast<LabelResources*>(GetPropW(Root(window), kResourcesProp));
}

// The resources of the control's top-level window, made when it is the first
// label there; the control holds them until LeaveResources.
LabelResources* JoinResources(HWND control) {
    HWND root = Root(control);
    auto* resources = static_cast<LabelResources*>(GetPropW(root, kResourcesProp));
    if (resources == nullptr) {
        resources = new LabelResources(root, WindowDpi(root));
        SetPropW(root, kResourcesProp, resources);
    }
    ++resources->labels;
    return resources;
}

void LeaveResources(LabelResources* resources) {
    if (resources == nullptr || --resources->labels > 0) return;
    RemovePropW(resources->root(), kResourcesProp);
    delete resources;
}

// The DEFAULT_GUI_FONT's face with the given changes; sizes are set in points
// by the caller, since the stock font's own height is for the system DPI.
template <typename Change>
UniqueFont MakeFont(HWND root, Change change) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    change(font);
    UniqueFont made(CreateFontIndirectW(&font));
    if (made) Count(root, &LabelResourceCounts::fontsMade);
    return made;
}

constexpr int kGuiFontSize = 800;         // hundredths of a point: the 8-point DEFAULT_GUI_FONT
constexpr int kWarningCellHeight = 1125;  // 15 pixels at 96 DPI
constexpr int kWarningCharWidth = 450;    // 6 pixels at 96 DPI

HFONT LabelResources::LinkFont() {
    if (!linkFont_) {
        linkFont_ = MakeFont(root_, [&](LOGFONTW& font) {
            font.lfHeight = -PointsToPixels(kGuiFontSize, dpi_);
            font.lfWidth = 0;
            font.lfUnderline = 1;
        });
    }
    return linkFont_.Get();
}

HFONT LabelResources::WarningFont() {
    if (!warningFont_) {
        warningFont_ = MakeFont(root_, [&](LOGFONTW& font) {
            font.lfHeight = PointsToPixels(kWarningCellHeight, dpi_);
            font.lfWidth = PointsToPixels(kWarningCharWidth, dpi_);
            font.lfWeight = 900;
        });
    }
    return warningFont_.Get();
}

void LabelResources::Free() {
    for (UniqueFont* font : {&linkFont_, &warningFont_}) {
        if (!*font) continue;
        font->Reset();
        Count(root_, &LabelResourceCounts::fontsDeleted);
    }
}

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
    LabelResources* resources = nullptr;
};

// A warning label's shared resources, a property of the control beside its
// previous procedure.
constexpr wchar_t kWarningResources[] = L"Promptwright.WarningLabel.Resources";

// Single line, aligned as the static control's own style says.
UINT TextFormat(HWND control) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
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

// The system's own, shared: it follows the user's pointer scheme and size, and
// is never destroyed.
HCURSOR SystemHandCursor() { return LoadCursorW(nullptr, IDC_HAND); }

bool HighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The theme's own colours under high contrast: ours read poorly on its
// backgrounds. Asked at each paint, so a change of theme shows at once.
COLORREF LinkColor(COLORREF own) { return HighContrast() ? GetSysColor(COLOR_HOTLIGHT) : own; }
COLORREF WarningColor() { return HighContrast() ? GetSysColor(COLOR_WINDOWTEXT) : kWarningRed; }

// Fills the whole control first, so a shorter new text leaves nothing of the
// old one behind. A focused control (a link reached with Tab) shows the focus
// rectangle around its text.
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
    const std::wstring text = Utf16(WindowText(control));
    const int length = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
    DrawTextW(dc, text.data(), length, &client, TextFormat(control));
    if (GetFocus() == control) {
        RECT around = client;
        DrawTextW(dc, text.data(), length, &around, TextFormat(control) | DT_CALCRECT);
        // DT_CALCRECT keeps the left edge: move the measured box to where the
        // alignment put the text.
        const int width = around.right - around.left;
        if (TextFormat(control) & DT_CENTER) around.left = client.left + (client.right - client.left - width) / 2;
        if (TextFormat(control) & DT_RIGHT) around.left = client.right - width;
        around.right = around.left + width;
        IntersectRect(&around, &around, &client);
        DrawFocusRect(dc, &around);
    }
}

// The standard static control draws itself directly, in its own font, when
// its text or enabled state changes; paint over that at once.
LRESULT PassOnAndRepaint(WNDPROC previous, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(previous, control, message, wParam, lParam);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return result;
}

void AddNotifyStyle(HWND control) {
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
}

void ShellOpen(HWND control, const std::string& target) {
    if (LabelSeams* seams = Seams(Root(control)); seams != nullptr && seams->shellOpen) {
        seams->shellOpen(target);
        return;
    }
    // A failure to open shows nothing; the link has turned purple all the same.
    ShellExecuteW(nullptr, L"open", Utf16(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LinkLabelData* LinkData(HWND control) {
    return reinterpret_cast<LinkLabelData*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

void OnLinkClicked(HWND control, LinkLabelData& data) {
    data.color = data.visitedColor;
    // Show the new colour before the shell, which may take a while, starts.
    InvalidateRect(control, nullptr, FALSE);
    UpdateWindow(control);
    ShellOpen(control, data.url.empty() ? WindowText(control) : data.url);
}

}  // namespace

bool InstallLinkLabel(HWND dialog, int id, const char* target, COLORREF color) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return false;
    const bool installed = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)) == LinkLabelProc;
    // A second installation would make the label its own previous procedure.
    LinkLabelData* data = installed ? LinkData(control) : new LinkLabelData;
    data->url = target != nullptr ? target : "";
    data->color = color != 0 ? color : kLinkBlue;
    if (installed) {
        InvalidateRect(control, nullptr, FALSE);
        return true;
    }
    NameForScreenReaders(control, WindowText(control), AccessibleRole::Link);
    Count(Root(control), &LabelResourceCounts::recordsMade);
    data->resources = JoinResources(control);
    AddNotifyStyle(control);
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    data->previousProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkLabelProc)));
    return true;
}

LRESULT CALLBACK LinkLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    LinkLabelData* data = LinkData(control);
    if (data == nullptr) return DefWindowProcW(control, message, wParam, lParam);
    // Kept apart: the record may be gone once the shell has run.
    const WNDPROC previous = data->previousProc;
    switch (message) {
    case WM_PAINT: PaintLabel(control, LinkColor(data->color), data->resources->LinkFont()); return 0;
    case WM_GETDLGCODE: {
        // Enter opens the link rather than pressing the default button.
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = CallWindowProcW(previous, control, message, wParam, lParam);
        return msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE
                                                                                        : code;
    }
    case WM_KEYDOWN:
        if (wParam != VK_RETURN && wParam != VK_SPACE) break;
        if ((lParam & (1 << 30)) == 0) OnLinkClicked(control, *data);  // not again while the key repeats
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(control, nullptr, FALSE); break;
    case WM_SETTEXT:
    case WM_ENABLE: return PassOnAndRepaint(previous, control, message, wParam, lParam);
    case WM_SETCURSOR: SetCursor(SystemHandCursor()); return TRUE;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_LBUTTONDOWN: data->pressed = true; break;
    case WM_LBUTTONUP:
        if (data->pressed) {
            data->pressed = false;
            OnLinkClicked(control, *data);
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        Count(data->resources->root(), &LabelResourceCounts::recordsFreed);
        LeaveResources(data->resources);
        delete data;
        break;
    default: break;
    }
    return CallWindowProcW(previous, control, message, wParam, lParam);
}

bool InstallWarningLabel(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) return false;
    if (GetPropW(control, kWarningPreviousProc) != nullptr) return true;  // already one
    AddNotifyStyle(control);
    SetPropW(control, kWarningResources, JoinResources(control));
    const LONG_PTR previous = GetWindowLongPtrW(control, GWLP_WNDPROC);
    // Stored before the switch, since the next message already needs it.
    SetPropW(control, kWarningPreviousProc, reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WarningLabelProc));
    InvalidateRect(control, nullptr, FALSE);
    return true;
}

LRESULT CALLBACK WarningLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(control, kWarningPreviousProc));
    if (previous == nullptr) return DefWindowProcW(control, message, wParam, lParam);
    auto* resources = static_cast<LabelResources*>(GetPropW(control, kWarningResources));
    switch (message) {
    case WM_PAINT: PaintLabel(control, WarningColor(), resources->WarningFont()); return 0;
    case WM_SETTEXT:
    case WM_ENABLE: return PassOnAndRepaint(previous, control, message, wParam, lParam);
    case WM_NCDESTROY:
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(control, kWarningPreviousProc);
        RemovePropW(control, kWarningResources);
        LeaveResources(resources);
        break;
    default: break;
    }
    return CallWindowProcW(previous, control, message, wParam, lParam);
}

void FreeLabelResources(HWND window) {
    if (LabelResources* resources = FindResources(window)) resources->Free();
}

void SetLabelDpi(HWND window, UINT dpi) {
    LabelResources* resources = FindResources(window);
    if (resources == nullptr || resources->dpi() == dpi) return;
    resources->SetDpi(dpi);
    RedrawWindow(resources->root(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void RepaintLabels(HWND window) {
    if (LabelResources* resources = FindResources(window))
        RedrawWindow(resources->root(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void AttachLabelSeamsForTesting(HWND window, LabelSeams* seams) {
    if (seams != nullptr)
        SetPropW(Root(window), kSeamsProp, seams);
    else
        RemovePropW(Root(window), kSeamsProp);
}

HFONT LinkFontForTesting(HWND window) {
    const LabelResources* resources = FindResources(window);
    return resources != nullptr ? resources->linkFont() : nullptr;
}

HFONT WarningFontForTesting(HWND window) {
    const LabelResources* resources = FindResources(window);
    return resources != nullptr ? resources->warningFont() : nullptr;
}

UINT LabelDpiForTesting(HWND window) {
    const LabelResources* resources = FindResources(window);
    return resources != nullptr ? resources->dpi() : 0;
}

}  // namespace pw
