#include "win32/accessibility_win32.h"

// The annotation GUIDs are defined here, the only unit that uses them.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/text_win32.h"

namespace pw {
namespace {

constexpr wchar_t kNamesProp[] = L"Promptwright.ScreenReaderNames";
constexpr UINT_PTR kNamesSubclass = 0x5057414e;  // "PWAN"

struct NamedControl {
    HWND control;
    std::wstring name;
    AccessibleRole role;
};

// Kept on the top-level window, whose WM_NCDESTROY frees it.
struct PendingNames {
    std::vector<NamedControl> controls;
    bool given = false;
};

// The service in the calling thread's COM apartment, the program's (made at
// start, before any window); where there is none, as in tests that make a
// window alone, it is not made and nothing is named. Making it loads oleacc
// (about 80 ms under Wine), which is why it waits for a client's request.
class Annotator {
public:
    Annotator() {
        void* services = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                       &services)))
            services_ = static_cast<IAccPropServices*>(services);
    }
    ~Annotator() {
        if (services_ != nullptr) services_->Release();
    }
    Annotator(const Annotator&) = delete;
    Annotator& operator=(const Annotator&) = delete;

    // A failure leaves the control's own name and role: nothing worse than before.
    void Give(const NamedControl& named) {
        if (services_ == nullptr) return;
        services_->SetHwndPropStr(named.control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                  named.name.c_str());
        if (named.role != AccessibleRole::Link) return;
        VARIANT value{};
        value.vt = VT_I4;
        value.lVal = ROLE_SYSTEM_LINK;
        services_->SetHwndProp(named.control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, value);
    }

private:
    IAccPropServices* services_ = nullptr;
};

PendingNames* NamesOf(HWND window) {
    HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    return root != nullptr ? static_cast<PendingNames*>(GetPropW(root, kNamesProp)) : nullptr;
}

void GiveOnce(PendingNames* names) {
    if (names == nullptr || names->given) return;
    names->given = true;
    Annotator annotator;
    for (const NamedControl& named : names->controls) annotator.Give(named);
}

// On each named control: a client may ask it first (a focus event names the
// control). The request is then answered as it would have been. The record
// on the top-level window goes with the last of its named controls, which
// are all destroyed before it.
LRESULT CALLBACK NamesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    switch (message) {
    case WM_GETOBJECT: GiveOnce(NamesOf(window)); break;
    case WM_NCDESTROY: {
        RemoveWindowSubclass(window, NamesProc, id);
        HWND root = GetAncestor(window, GA_ROOT);
        if (auto* names = static_cast<PendingNames*>(GetPropW(root, kNamesProp))) {
            std::erase_if(names->controls, [window](const NamedControl& named) { return named.control == window; });
            if (names->controls.empty()) delete static_cast<PendingNames*>(RemovePropW(root, kNamesProp));
        }
        break;
    }
    default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void AnswerScreenReaders(HWND window, UINT message) {
    if (message == WM_GETOBJECT) GiveOnce(static_cast<PendingNames*>(GetPropW(window, kNamesProp)));
}

void NameForScreenReaders(HWND control, std::string_view name, AccessibleRole role) {
    HWND root = control != nullptr ? GetAncestor(control, GA_ROOT) : nullptr;
    if (root == nullptr || root == control) return;
    // Installed again, the subclass stays where it is.
    if (!SetWindowSubclass(control, NamesProc, kNamesSubclass, 0)) return;
    auto* names = static_cast<PendingNames*>(GetPropW(root, kNamesProp));
    if (names == nullptr) {
        names = new PendingNames;
        if (!SetPropW(root, kNamesProp, names)) {
            delete names;
            RemoveWindowSubclass(control, NamesProc, kNamesSubclass);
            return;
        }
    }
    NamedControl named{control, Utf16(name), role};
    auto it = std::find_if(names->controls.begin(), names->controls.end(),
                           [control](const NamedControl& known) { return known.control == control; });
    if (it != names->controls.end())
        *it = named;
    else
        names->controls.push_back(named);
    // A client that has asked already hears the change at once.
    if (names->given) Annotator().Give(named);
}

void NameControl(HWND dialog, int id, std::string_view name) {
    if (HWND control = GetDlgItem(dialog, id)) NameForScreenReaders(control, name);
}

bool ScreenReaderNamesGiven(HWND window) {
    const PendingNames* names = NamesOf(window);
    return names != nullptr && names->given;
}

}  // namespace pw
