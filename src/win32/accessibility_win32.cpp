#include "win32/accessibility_win32.h"

// The annotation GUIDs are defined here, the only unit that uses them.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include <string>

#include "win32/text_win32.h"

namespace pw {
namespace {

// ole32 is loaded here, not imported: a run without a window must not load it,
// and most windows never annotate.
using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

template <typename Fn>
Fn Function(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                             : nullptr;
}

IAccPropServices* Services(void* services) { return static_cast<IAccPropServices*>(services); }

}  // namespace

Annotator::Annotator() {
    ole32_ = LoadLibraryW(L"ole32.dll");
    const auto initialize = Function<CoInitializeExFn>(ole32_, "CoInitializeEx");
    const auto create = Function<CoCreateInstanceFn>(ole32_, "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return;
    // S_FALSE: already initialized here, and still to be balanced. A thread in
    // the other apartment model (RPC_E_CHANGED_MODE) can still create the object.
    const HRESULT initialized = initialize(nullptr, COINIT_APARTMENTTHREADED);
    uninitialize_ = SUCCEEDED(initialized);
    void* services = nullptr;
    if (SUCCEEDED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services)))
        services_ = services;
}

Annotator::~Annotator() {
    if (services_ != nullptr) Services(services_)->Release();
    if (uninitialize_) {
        if (const auto uninitialize = Function<CoUninitializeFn>(ole32_, "CoUninitialize")) uninitialize();
    }
    if (ole32_ != nullptr) FreeLibrary(ole32_);
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
