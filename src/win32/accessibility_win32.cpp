#include "win32/accessibility_win32.h"

// The annotation GUIDs are defined here, the only unit that uses them.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include <string>

#include "win32/text_win32.h"

namespace pw {
namespace {

IAccPropServices* Services(void* services) { return static_cast<IAccPropServices*>(services); }

}  // namespace

// The thread's apartment is the program's (made at start, before any
// window); where there is none, as in tests that make a window alone, the
// object is not made and nothing is named. Only while a screen reader runs
// (screen readers say so through SPI_SETSCREENREADER): making the service
// loads oleacc and costs about 80 ms of every start under Wine, which no one
// else should wait for.
Annotator::Annotator() {
    BOOL screenReader = FALSE;
    if (!SystemParametersInfoW(SPI_GETSCREENREADER, 0, &screenReader, 0) || !screenReader) return;
    void* services = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services)))
        services_ = services;
}

Annotator::~Annotator() {
    if (services_ != nullptr) Services(services_)->Release();
}

void Annotator::Name(HWND control, std::string_view name) {
    if (services_ == nullptr || control == nullptr) return;
    const std::wstring wide = Utf16(name);
    // A failure leaves the control's own name: nothing worse than before.
    Services(services_)->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                        wide.c_str());
}

void Annotator::Link(HWND control, std::string_view name) {
    Name(control, name);
    if (services_ == nullptr || control == nullptr) return;
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = ROLE_SYSTEM_LINK;
    Services(services_)->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, value);
}

void NameControl(Annotator& annotator, HWND dialog, int id, std::string_view name) {
    annotator.Name(GetDlgItem(dialog, id), name);
}

}  // namespace pw
